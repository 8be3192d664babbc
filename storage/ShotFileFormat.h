#pragma once
// The shot file's constants, shared by the reader and the writer.

#include <cstdint>
#include <string_view>

namespace shotfile {

// A pitch or roll still holding this after a read was absent from the file.
inline constexpr int32_t rotationAbsentMarker = 137463;

// The speed a shot gets when none is stored.
inline constexpr int32_t defaultBallSpeed = 3000;

// Characters a shot name may not hold (they are not allowed in file names).
inline constexpr std::string_view forbiddenCharacters = "/\\|*?\"<>";

inline constexpr std::string_view shotExtension = ".shot";
// Files of the older layout: "Shots" followed by digits.
inline constexpr std::string_view legacyExtension = ".txt";
inline constexpr std::string_view legacyStem = "Shots";

inline constexpr std::string_view defaultShotName = "defaultShot";

// Fields of one line, separated by exactly one space.
inline constexpr int fieldCount = 14;

}  // namespace shotfile
