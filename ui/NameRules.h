#pragma once
// The checks a name typed into the window passes before it reaches the
// store, and the fixed-size text fields the window types names into. Pure
// string work; the window draws the messages.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/NameRule.h"
#include "storage/PackText.h"
#include "storage/Shot.h"
#include "storage/ShotFileFormat.h"

namespace namerules {

// The characters the window's messages list: a shot name cannot hold these,
// a pack name neither these nor the full stop. The name rule refuses ":"
// and control characters besides (see holdsUnlistedForbidden).
inline constexpr std::string_view forbiddenShotCharacters = "/\\|*?\"<>";
inline constexpr std::string_view forbiddenPackCharacters = "./\\|*?\"<>";

bool containsAnyOf(std::string_view text, std::string_view characters);

// Whether the text holds a character the name rule refuses that the lists
// above leave out: ":" or a control character.
bool holdsUnlistedForbidden(std::string_view text);

// Not empty, but nothing besides spaces and "_": stored, such a name would
// clean to nothing (a shot's file would lose its name, a pack would be a
// folder of blanks).
bool isBlankName(std::string_view text);

// "Shots" followed by digits names a shot file of the older layout, which is
// looked up as a ".txt" file: a new ".shot" file of that name would never be
// listed.
bool isReservedShotName(std::string_view text);

// The shot name a save of `text` stores, as it reads back: the name every
// check compares and every save passes on, so that what the player is told
// matches what is written ("1 A " is stored, and taken, as "1 A").
std::string storedShotName(std::string_view text);

// True when the two names are shown alike: "_" is shown as a space, and a
// shot's stored name turns its "_" into spaces when read back. Builds no
// string.
bool sameDisplayName(std::string_view a, std::string_view b);

// The messages of the checks above, shown in red under a name field.
inline constexpr const char* blankNameMessage = "A name needs more than spaces and underscores";
inline constexpr const char* unlistedForbiddenMessage =
    "A name cannot contain \":\" or control characters (Windows does not allow them)";
inline constexpr const char* deviceNameMessage =
    "CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows: please choose another name";
inline constexpr const char* reservedShotNameMessage =
    "Shots followed by a number names shot files of older versions; please choose another name";

// What a typed shot name has wrong, apart from being taken.
struct ShotNameFaults {
  bool empty;
  bool forbidden;
  bool unlisted;  // ":" or a control character
  bool blank;
  bool reserved;
  bool device;

  explicit ShotNameFaults(std::string_view text)
      : empty(text.empty()),
        forbidden(containsAnyOf(text, forbiddenShotCharacters)),
        unlisted(holdsUnlistedForbidden(text)),
        blank(isBlankName(text)),
        reserved(isReservedShotName(storedShotName(text))),
        device(namerule::isDeviceName(storedShotName(text))) {}
  bool any() const { return empty || forbidden || unlisted || blank || reserved || device; }
};

// What a typed pack name has wrong, apart from being taken.
struct PackNameFaults {
  bool empty;
  bool forbidden;
  bool unlisted;  // ":" or a control character
  bool blank;
  bool device;

  explicit PackNameFaults(std::string_view text)
      : empty(text.empty()),
        forbidden(containsAnyOf(text, forbiddenPackCharacters)),
        unlisted(holdsUnlistedForbidden(text)),
        blank(isBlankName(text)),
        device(namerule::isDeviceName(cleanPackName(text))) {}
  bool any() const { return empty || forbidden || unlisted || blank || device; }
};

// Whether a shot of the list, or a shot's file name of the list, is shown as
// `text`.
bool shotNameTaken(const std::vector<Shot>& shots, std::string_view text);
bool shotNameListed(const std::vector<std::string>& names, std::string_view text);

// Whether a listed pack has the name `text` gives once cleaned
// (namerule::samePackName): "Aerials " is taken by "Aerials".
bool packNameTaken(const std::vector<std::string>& packs, std::string_view text);

// Copies text into a name field, cut to the field's size less its closing
// NUL (127 bytes for the window's 128-byte fields), never inside a UTF-8
// character.
void setFieldText(char* field, size_t fieldSize, std::string_view text);
template <size_t N>
void setFieldText(char (&field)[N], std::string_view text) {
  setFieldText(field, N, text);
}

// Remembers whether a typed name is taken, so that a frame that redraws the
// same text over the same list does not walk the list again: the cost of a
// frame does not grow with the pack. The list is recognised by its storage
// and length; the window re-checks with the plain functions above before it
// acts.
class TakenNameCache {
 public:
  bool shotNameTaken(const std::vector<Shot>& shots, std::string_view text);
  bool shotNameListed(const std::vector<std::string>& names, std::string_view text);

 private:
  template <typename List, typename Lookup>
  bool cached(const List& list, std::string_view text, Lookup lookup);

  const void* listData_ = nullptr;
  size_t listSize_ = 0;
  std::string text_;
  bool taken_ = false;
  bool valid_ = false;
};

}  // namespace namerules
