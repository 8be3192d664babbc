#pragma once
// A whole training pack as one text (the layout is in PackTextFormat.h): the
// writer, and the reader that checks everything before a pack is made from
// it. Text work only: the standard library and zlib's crc32.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Shot.h"

// What a pack text holds, or why it cannot be imported.
struct DecodedPack {
  // The name the first line carries, trimmed; may be empty or unusable as a
  // folder name (see cleanPackName).
  std::string name;
  // The shots in the text's order, each name cleaned as the pack loader
  // cleans the name it reads. No path is set.
  std::vector<Shot> shots;
  // One line for the player; empty when the text can be imported.
  std::string error;

  bool ok() const { return error.empty(); }
};

// The text of the pack `name` whose shots are `shotLines`, each one shot
// file's line (no line break in it, no blanks at its ends), in display
// order. Characters of the name that would break its line (control
// characters) are left out, and so are spaces at its ends.
std::string encodePackText(std::string_view name, const std::vector<std::string>& shotLines);

// Reads a pack text. It can be imported only when everything checks out: the
// first line names this format and version 1, the last line is there with
// the right count of shot lines and the right checksum, and every shot line
// is one the shot reader takes whole: fourteen fields, nine finite numbers,
// the yaw, a name token that leaves a name once cleaned, and three integers.
DecodedPack decodePackText(std::string_view text);

// Checks one shot line as decodePackText does; on success fills the numbers
// and the cleaned name of `shot` and returns "", else returns why not (the
// shot is then partly filled).
std::string readShotLineStrictly(std::string_view line, Shot& shot);

// A pack name taken from a text, made usable where it can be: characters no
// pack name may hold (those of forbiddenPackCharacters and control
// characters, NUL included) removed, spaces at the ends trimmed. The result
// may still be unusable (empty, or spaces and "_" only).
std::string cleanPackName(std::string_view name);

// A name a new pack folder can be given safely: not empty, not only spaces
// and "_", and none of the characters cleanPackName removes, so it names one
// folder right inside the packs folder (never "..", "a/b", an absolute path).
bool isUsablePackName(std::string_view name);

// A pack name cannot hold these: the shot-name set and the full stop.
inline constexpr std::string_view forbiddenPackCharacters = "./\\|*?\"<>";

// "1 shot", "3 shots".
std::string shotCountText(size_t count);
