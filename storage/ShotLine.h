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
// decimal number. A float too small for a float reads as zero of its sign.
// False for anything else (trailing characters, out of range, and "inf",
// "nan" and the like: no such value may reach the game); `value` is then
// left as it was.
bool parseFloat(std::string_view token, float& value);
bool parseInt(std::string_view token, int32_t& value);

// The fourteen fields of `shot` in file order, one space between them, no
// line break.
std::string formatShotLine(const Shot& shot);

// What reading a line found.
enum class LineRead {
  complete,     // all fourteen fields; text after them is ignored
  olderLayout,  // the ten numbers, then possibly the name, speed and pitch,
                // then the end of the text: the missing fields kept their values
  malformed,    // a field that is not a finite number where one belongs, a
                // token longer than shotfile::maxTokenBytes, fewer than ten
                // fields, or a read error
};

// Reads whitespace-separated tokens into the fields of `shot` in file order,
// after a UTF-8 byte-order mark at the very start if there is one. Stops at
// the first token that is missing or malformed: that field and every later
// one keep the values they had. Reports read errors of the stream as
// malformed; never throws them.
LineRead readShotLine(std::istream& in, Shot& shot);
// The same for a whole text in memory.
LineRead readShotLine(std::string_view text, Shot& shot);

}  // namespace shotline
