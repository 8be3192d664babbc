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

// The next run of non-blank characters. False at the end of the text, and for
// a run longer than maxTokenBytes (consumed, so nothing is held in memory).
bool nextToken(std::streambuf& in, std::string& token) {
  using Traits = std::streambuf::traits_type;
  token.clear();
  int c = in.sgetc();
  while (c != Traits::eof() && isSpace(c)) c = in.snextc();
  if (c == Traits::eof()) return false;
  bool oversized = false;
  while (c != Traits::eof() && !isSpace(c)) {
    if (token.size() < shotfile::maxTokenBytes) {
      token.push_back(Traits::to_char_type(c));
    } else {
      oversized = true;
    }
    c = in.snextc();
  }
  return !oversized;
}

bool readFloat(std::streambuf& in, std::string& token, float& field) {
  return nextToken(in, token) && parseFloat(token, field);
}

bool readInt(std::streambuf& in, std::string& token, int32_t& field) {
  return nextToken(in, token) && parseInt(token, field);
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

void readShotLine(std::istream& in, Shot& shot) {
  std::streambuf* buffer = in.rdbuf();
  if (!buffer) return;
  std::string token;
  for (float* field : {&shot.ballLocationZ, &shot.ballLocationX, &shot.ballLocationY,
                       &shot.ballVelocityX, &shot.ballVelocityY, &shot.ballVelocityZ,
                       &shot.carLocationX, &shot.carLocationY, &shot.carLocationZ}) {
    if (!readFloat(*buffer, token, *field)) return;
  }
  if (!readInt(*buffer, token, shot.carYaw)) return;
  if (!nextToken(*buffer, token)) return;
  shot.name = token;
  if (!readInt(*buffer, token, shot.ballSpeed)) return;
  if (!readInt(*buffer, token, shot.carPitch)) return;
  readInt(*buffer, token, shot.carRoll);
}

}  // namespace shotline
