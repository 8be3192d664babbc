#pragma once
// The shot file's constants, shared by the reader and the writer.
//
// A shot file is one line of fourteen fields, one space between neighbours
// and no line break at the end:
//   ballLocationZ ballLocationX ballLocationY ballVelocityX ballVelocityY
//   ballVelocityZ carLocationX carLocationY carLocationZ carYaw NAME
//   ballSpeed carPitch carRoll
// Floats are written as a default-configured stream writes a double (six
// significant digits, general notation: "1234.57", "1e-05", "-0"), integers
// in decimal. NAME is the name token: the name without leading and trailing
// "_" and trailing ".", forbidden characters removed, every space written as
// "_".

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace shotfile {

// A pitch or roll still holding this after a read was absent from the file.
inline constexpr int32_t rotationAbsentMarker = 137463;

// The speed a shot gets when none is stored.
inline constexpr int32_t defaultBallSpeed = 3000;

// Characters a shot name may not hold: Windows refuses them in file names
// (control characters too, see storage/NameRule.h).
inline constexpr std::string_view forbiddenCharacters = "/\\|*?\"<>:";

inline constexpr std::string_view shotExtension = ".shot";
// Files of the older layout: "Shots" followed by digits.
inline constexpr std::string_view legacyExtension = ".txt";
inline constexpr std::string_view legacyStem = "Shots";

inline constexpr std::string_view defaultShotName = "defaultShot";

// Placeholder shots an older version left behind are named "Shot" followed
// by digits (or "3000", or nothing).
inline constexpr std::string_view placeholderStem = "Shot";
inline constexpr std::string_view placeholderSpeedName = "3000";

// Fields of one line, separated by exactly one space.
inline constexpr int fieldCount = 14;
// Older layouts ended after carYaw, the name or the speed: a line of at
// least this many fields, all well formed, is one of them.
inline constexpr int olderLayoutMinFields = 10;

// Some editors put this UTF-8 byte-order mark at the very start of a file.
inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// The token written for a name that cleans to nothing. Reading trims it back
// to an empty name, and the line keeps its fourteen fields.
inline constexpr std::string_view emptyNameToken = "_";

// No field of a valid line comes near this; a longer token is read as
// malformed rather than held in memory.
inline constexpr std::size_t maxTokenBytes = 4096;

// Longest file name (one path component) the file systems we run on accept.
inline constexpr std::size_t maxFileNameBytes = 255;

// A file being written goes first to "." + its file name + this suffix in
// the same folder, so a pack listing (".shot" and ".txt" only) never shows it.
inline constexpr std::string_view temporarySuffix = ".tmp";

}  // namespace shotfile
