#pragma once
// The one rule every pack and shot name follows, on every platform players
// use: a name must give a file or folder name that both Windows and Linux
// accept, so that a pack made on one can be saved, copied, shared and
// imported on the other. Pure string work, the standard library alone; the
// storage and the window both check names with it.
//
// Names are UTF-8 text. Lengths are in bytes.

#include <cstddef>
#include <string>
#include <string_view>

#include "storage/PackTextFormat.h"
#include "storage/ShotFileFormat.h"

namespace namerule {

// Control characters: bytes 0 to 31 and 127. No file name on Windows holds
// them, and they break the lines of a pack text or the console.
bool isControlCharacter(char c);

// Characters of shotfile::forbiddenCharacters (what Windows refuses in a
// file name, "/" and "\" among them) and control characters.
bool isForbiddenCharacter(char c);
bool holdsForbiddenCharacter(std::string_view text);
void removeForbiddenCharacters(std::string& text);

// Removes "." and `blank` from the end of `text` until neither ends it:
// Windows drops both from the end of a file name, so "Pack." would name the
// folder "Pack".
void stripTrailingDotsAnd(std::string& text, char blank);

// A name Windows keeps for a device: CON, PRN, AUX, NUL, COM1 to COM9 and
// LPT1 to LPT9 in any letter case, alone or before a "." ("aux.txt"), with
// any spaces before that dot. No file or folder can be named so there.
bool isDeviceName(std::string_view name);

// Well-formed UTF-8: no stray continuation byte, no cut sequence, no
// overlong form, no surrogate, nothing past U+10FFFF.
bool isUtf8(std::string_view text);

// Why a name cannot be used, for the player.
std::string deviceNameReason(std::string_view name);
inline constexpr const char* notUtf8Reason = "is not UTF-8 text";

// ---- pack names ----

// A pack name holds none of these besides the control characters: those of
// shot names and the full stop (so no pack looks like the hidden folders an
// import is built in).
inline constexpr std::string_view forbiddenPackCharacters = "./\\|*?\"<>:";

// The longest pack name: its exported file, NAME.qmpack, must still be a
// file name every file system takes.
inline constexpr std::size_t maxPackNameBytes =
    shotfile::maxFileNameBytes - packtext::fileExtension.size();

// A pack name as every path that makes a pack takes it (add, rename, copy,
// import): forbidden characters (forbiddenPackCharacters and control
// characters, NUL included) removed, spaces at both ends trimmed. The result
// may still be unusable (see packNameProblem).
std::string cleanPackName(std::string_view name);

// Why `name` cannot name a new pack folder, or "" when it can: it is empty
// or only spaces and "_", holds a character cleanPackName removes or spaces
// at its ends, is a device name, is longer than maxPackNameBytes or is not
// UTF-8. A usable name names one folder right inside the packs folder
// (never "..", "a/b", an absolute path).
std::string packNameProblem(std::string_view name);
inline bool isUsablePackName(std::string_view name) { return packNameProblem(name).empty(); }

// Whether two pack names are one once cleaned ("Aerials " and "Aerials").
bool samePackName(std::string_view a, std::string_view b);

}  // namespace namerule
