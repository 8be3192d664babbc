#pragma once
// A whole training pack as one text (the layout is in PackTextFormat.h): the
// writer, and the reader that checks everything before a pack is made from
// it. Text work only: the standard library and zlib's crc32.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "storage/NameRule.h"
#include "storage/Shot.h"

// A shot name an import changes to follow the name rule: as the text shows
// it, and as the new pack holds it.
struct NameChange {
  std::string from;
  std::string to;
};

// What a pack text holds, or why it cannot be imported.
struct DecodedPack {
  // The name the first line carries, trimmed; may be empty or unusable as a
  // folder name (see cleanPackName).
  std::string name;
  // The shots in the text's order, each name cleaned as the pack loader
  // cleans the name it reads (empty for the token of a shot without a
  // name). No path is set.
  std::vector<Shot> shots;
  // The shot names the cleaning changed, in the text's order.
  std::vector<NameChange> changedNames;
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
// the yaw, a name token, and three integers. The name token is UTF-8 text,
// is no device name (namerule::isDeviceName) once cleaned, and leaves a name
// once cleaned unless it is shotfile::emptyNameToken, which the writer
// writes for a shot without a name. The pack's name is UTF-8 text too.
DecodedPack decodePackText(std::string_view text);

// Checks one shot line as decodePackText does; on success fills the numbers
// and the cleaned name of `shot` and returns "", else returns why not (the
// shot is then partly filled).
std::string readShotLineStrictly(std::string_view line, Shot& shot);

// The pack-name rule lives with the other name rules; the pack text's
// callers reach it from here.
using namerule::cleanPackName;
using namerule::forbiddenPackCharacters;
using namerule::isUsablePackName;

// What an import changes in the names of `pack` so that they follow the
// name rule (the pack's name as cleanPackName cleans it, and the shot names
// in changedNames), as one line for the player: "" when nothing changes.
std::string nameChangesText(const DecodedPack& pack);

// "1 shot", "3 shots".
std::string shotCountText(size_t count);
