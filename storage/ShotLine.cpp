#include "storage/ShotLine.h"

#include <charconv>
#include <cmath>
#include <iterator>
#include <locale>
#include <sstream>

#include "storage/Shot.h"
#include "storage/ShotFileFormat.h"
#include "storage/ShotName.h"

namespace shotline {
namespace {

bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A stream accepts one leading "+"; from_chars does not.
std::string_view withoutPlus(std::string_view token) {
  if (token.size() > 1 && token[0] == '+' && token[1] != '-' && token[1] != '+') {
    token.remove_prefix(1);
  }
  return token;
}

// The result of reading one token or field: there, missing (the text ended
// before it) or malformed.
enum class Field { read, missing, malformed };

// The tokens of a shot line: runs of non-blank characters, as views into
// the text. A run longer than maxTokenBytes is malformed.
class TextTokens {
 public:
  explicit TextTokens(std::string_view text) : text_(text) {}

  Field next(std::string_view& token) {
    size_t start = 0;
    while (start < text_.size() && isSpace(text_[start])) ++start;
    if (start == text_.size()) return Field::missing;
    size_t end = start;
    while (end < text_.size() && !isSpace(text_[end])) ++end;
    token = text_.substr(start, end - start);
    text_.remove_prefix(end);
    return token.size() > shotfile::maxTokenBytes ? Field::malformed : Field::read;
  }

  // Consumes a byte-order mark at the start. False for the start of one
  // that does not go on as one (no number starts with those bytes).
  bool skipByteOrderMark() {
    const std::string_view mark = shotfile::byteOrderMark;
    for (size_t i = 0; i < mark.size(); ++i) {
      if (i == text_.size() || text_[i] != mark[i]) return i == 0;
    }
    text_.remove_prefix(mark.size());
    return true;
  }

 private:
  std::string_view text_;
};

template <typename Value>
Field readNumber(TextTokens& tokens, Value& field, bool (*parse)(std::string_view, Value&)) {
  std::string_view token;
  const Field found = tokens.next(token);
  if (found != Field::read) return found;
  return parse(token, field) ? Field::read : Field::malformed;
}

LineRead readFields(TextTokens& tokens, Shot& shot) {
  if (!tokens.skipByteOrderMark()) return LineRead::malformed;
  for (float* field : {&shot.ballLocationZ, &shot.ballLocationX, &shot.ballLocationY,
                       &shot.ballVelocityX, &shot.ballVelocityY, &shot.ballVelocityZ,
                       &shot.carLocationX, &shot.carLocationY, &shot.carLocationZ}) {
    if (readNumber(tokens, *field, parseFloat) != Field::read) return LineRead::malformed;
  }
  if (readNumber(tokens, shot.carYaw, parseInt) != Field::read) return LineRead::malformed;
  // Where an older layout may end: the end of the text is no fault there.
  const auto olderLayoutEnd = [](Field field) {
    return field == Field::missing ? LineRead::olderLayout : LineRead::malformed;
  };
  std::string_view token;
  const Field name = tokens.next(token);
  if (name != Field::read) return olderLayoutEnd(name);
  shot.name = token;
  for (int32_t* field : {&shot.ballSpeed, &shot.carPitch, &shot.carRoll}) {
    const Field read = readNumber(tokens, *field, parseInt);
    if (read != Field::read) return olderLayoutEnd(read);
  }
  return LineRead::complete;
}

}  // namespace

std::string formatFloat(float value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << static_cast<double>(value);
  return out.str();
}

bool parseFloat(std::string_view token, float& value) {
  token = withoutPlus(token);
  const char* end = token.data() + token.size();
  float parsed = 0;
  const auto [ptr, error] = std::from_chars(token.data(), end, parsed);
  if (ptr != end) return false;
  if (error == std::errc() && !std::isfinite(parsed)) return false;
  if (error == std::errc::result_out_of_range) {
    // Too small for a float: the nearest float is a zero. Too large is
    // malformed, as for a stream.
    double wide = 0;
    const auto [widePtr, wideError] = std::from_chars(token.data(), end, wide);
    if (wideError != std::errc() || widePtr != end || std::fabs(wide) >= 1) return false;
    parsed = std::signbit(wide) ? -0.0f : 0.0f;
  } else if (error != std::errc()) {
    return false;
  }
  value = parsed;
  return true;
}

bool parseInt(std::string_view token, int32_t& value) {
  token = withoutPlus(token);
  const char* end = token.data() + token.size();
  int32_t parsed = 0;
  const auto [ptr, error] = std::from_chars(token.data(), end, parsed);
  if (error != std::errc() || ptr != end) return false;
  value = parsed;
  return true;
}

std::string formatShotLine(const Shot& shot) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  for (float value : {shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
                      shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ,
                      shot.carLocationX, shot.carLocationY, shot.carLocationZ}) {
    out << static_cast<double>(value) << ' ';
  }
  out << shot.carYaw << ' ' << shotname::nameToken(shot.name) << ' ' << shot.ballSpeed << ' '
      << shot.carPitch << ' ' << shot.carRoll;
  return out.str();
}

LineRead readShotLine(std::istream& in, Shot& shot) {
  std::streambuf* buffer = in.rdbuf();
  if (!buffer) return LineRead::malformed;
  try {
    // A shot file is one short line: reading it whole costs no more than
    // reading it a token at a time.
    const std::string text(std::istreambuf_iterator<char>(buffer), {});
    return readShotLine(std::string_view(text), shot);
  } catch (const std::exception&) {
    // A file buffer throws when the system fails a read part-way.
    return LineRead::malformed;
  }
}

LineRead readShotLine(std::string_view text, Shot& shot) {
  TextTokens tokens(text);
  return readFields(tokens, shot);
}

}  // namespace shotline
