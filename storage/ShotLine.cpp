#include "storage/ShotLine.h"

#include <charconv>
#include <cmath>
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

// The next run of non-blank characters. A run longer than maxTokenBytes is
// malformed (and consumed, so nothing more of it is held in memory).
Field nextToken(std::streambuf& in, std::string& token) {
  using Traits = std::streambuf::traits_type;
  token.clear();
  int c = in.sgetc();
  while (c != Traits::eof() && isSpace(c)) c = in.snextc();
  if (c == Traits::eof()) return Field::missing;
  bool oversized = false;
  while (c != Traits::eof() && !isSpace(c)) {
    if (token.size() < shotfile::maxTokenBytes) {
      token.push_back(Traits::to_char_type(c));
    } else {
      oversized = true;
    }
    c = in.snextc();
  }
  return oversized ? Field::malformed : Field::read;
}

Field readFloat(std::streambuf& in, std::string& token, float& field) {
  const Field found = nextToken(in, token);
  if (found != Field::read) return found;
  return parseFloat(token, field) ? Field::read : Field::malformed;
}

Field readInt(std::streambuf& in, std::string& token, int32_t& field) {
  const Field found = nextToken(in, token);
  if (found != Field::read) return found;
  return parseInt(token, field) ? Field::read : Field::malformed;
}

// Consumes a byte-order mark at the start of `in`. False for the start of
// one that does not go on as one (no number starts with those bytes).
bool skipByteOrderMark(std::streambuf& in) {
  using Traits = std::streambuf::traits_type;
  const std::string_view mark = shotfile::byteOrderMark;
  for (size_t i = 0; i < mark.size(); ++i) {
    if (in.sgetc() != Traits::to_int_type(mark[i])) return i == 0;
    in.sbumpc();
  }
  return true;
}

LineRead readFields(std::streambuf& in, Shot& shot) {
  if (!skipByteOrderMark(in)) return LineRead::malformed;
  std::string token;
  for (float* field : {&shot.ballLocationZ, &shot.ballLocationX, &shot.ballLocationY,
                       &shot.ballVelocityX, &shot.ballVelocityY, &shot.ballVelocityZ,
                       &shot.carLocationX, &shot.carLocationY, &shot.carLocationZ}) {
    if (readFloat(in, token, *field) != Field::read) return LineRead::malformed;
  }
  if (readInt(in, token, shot.carYaw) != Field::read) return LineRead::malformed;
  // Where an older layout may end: the end of the text is no fault there.
  const auto olderLayoutEnd = [](Field field) {
    return field == Field::missing ? LineRead::olderLayout : LineRead::malformed;
  };
  const Field name = nextToken(in, token);
  if (name != Field::read) return olderLayoutEnd(name);
  shot.name = token;
  for (int32_t* field : {&shot.ballSpeed, &shot.carPitch, &shot.carRoll}) {
    const Field read = readInt(in, token, *field);
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
    return readFields(*buffer, shot);
  } catch (const std::exception&) {
    // A file buffer throws when the system fails a read part-way.
    return LineRead::malformed;
  }
}

}  // namespace shotline
