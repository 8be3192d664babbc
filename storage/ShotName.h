#pragma once
// The three forms of a shot's name (display, file name, token in the file)
// and the path pieces the shot operations derive from a file path. Pure
// string work; nothing here touches the disk.

#include <string>
#include <string_view>

namespace shotname {

// The name's leading and trailing "_" removed ("___" becomes empty).
std::string trimUnderscores(std::string_view name);

// The name as the token of a shot line: every whitespace character written
// as "_" (so the token is one field), without forbidden or control
// characters (namerule::isForbiddenCharacter), trimmed of "_" at its ends (so
// of spaces too) and of "." at its end, and shotfile::emptyNameToken when
// nothing is left.
std::string nameToken(std::string_view name);

// The name read from a file as the player sees it: forbidden and control
// characters removed, "_" trimmed from the ends and "." from the end, every
// other "_" a space.
std::string cleanReadName(std::string name);

// The name a shot saved under `name` has when it is read back: what the
// window compares and passes on, so that the file's name and the name inside
// it agree from the first save. Empty for a name that cleans to nothing.
std::string storedName(std::string_view name);

// The file a shot of this name lives in: name + ".shot", or name + ".txt"
// for a name of the older form ("Shots" followed by digits), which is the
// only file the loader looks up for such a name.
std::string fileNameFor(std::string_view name);

// True when `name` can name a new shot file in a pack folder on every
// platform: not empty, no forbidden or control character (so the file stays
// inside the folder), no device name (namerule::isDeviceName), and something
// is left of it as a name token besides underscores.
bool isUsableShotName(std::string_view name);
// Why isUsableShotName refuses `name`, in one line for the player; "" when
// it does not.
std::string shotNameProblem(std::string_view name);

// "Shots" followed by one or more digits: a shot file of the older layout.
bool isLegacyShotName(std::string_view name);

// "Shot" followed by one or more digits, "3000" or empty: the names of the
// placeholder shots an older version wrote.
bool isPlaceholderName(std::string_view name);

// The part of `path` after its last "/" and before its last "."; empty
// unless the path has both and the "/" comes first. A view into `path`.
std::string_view fileStem(std::string_view path);

// Everything up to and including the last "/" of `path` (empty if none).
std::string folderOf(std::string_view path);

// Where a new text for `path` is written before it replaces the file: a
// hidden name in the same folder ending in shotfile::temporarySuffix.
std::string temporaryPathFor(std::string_view path);

}  // namespace shotname
