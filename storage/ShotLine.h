#pragma once
// The text of a shot file: one line of fourteen fields (ShotFileFormat.h).
// Pure text work; Shot.cpp does the file handling.

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

class Shot;

namespace shotline {

// `value` as a default-configured stream writes it converted to double (six
// significant digits, general notation), whatever the global locale.
std::string formatFloat(float value);

// A whole token as a number, as a stream reads it: an optional sign, then a
// decimal number (floats also "inf", "infinity", "nan"). A float too small
// for a float reads as zero of its sign. False for anything else (trailing
// characters, out of range); `value` is then left as it was.
bool parseFloat(std::string_view token, float& value);
bool parseInt(std::string_view token, int32_t& value);

// The fourteen fields of `shot` in file order, one space between them, no
// line break.
std::string formatShotLine(const Shot& shot);

// Reads whitespace-separated tokens into the fields of `shot` in file order.
// Stops at the first token that is missing, malformed or longer than
// shotfile::maxTokenBytes: that field and every later one keep the values
// they had. Text after the fourteenth token is ignored.
void readShotLine(std::istream& in, Shot& shot);

}  // namespace shotline
