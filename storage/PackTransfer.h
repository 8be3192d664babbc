#pragma once
// Whole packs in and out of the packs folder as pack texts (PackText.h):
// reading a pack folder for export, writing and reading pack text files, and
// building an imported pack so that it appears whole or not at all. The
// standard library and the shot files' own reader and writer; no host.
//
// Paths are UTF-8 text with "/" separators; folder arguments carry no
// trailing "/". Every failure comes back as a value with one line for the
// player; no exception leaves these functions.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/Outcome.h"
#include "storage/Shot.h"

// A pack ready to be shared.
struct PackExport {
  std::string text;  // the pack text
  size_t shotCount = 0;
  // The listed shot files (file names, in the order of the pack's listing
  // and then of display) that are not in the text: those a pack load could
  // not read, and those whose line an import would refuse (a value that is
  // no finite number, a device name). A blank placeholder of an older
  // version is no shot and is not among them.
  std::vector<std::string> leftOut;
};

// For the player, "" when nothing was left out: how many shots the text
// lacks and which files they are ("2 shots could not be included in the
// text: A.shot, Shots3.txt"), naming at most ten.
std::string leftOutText(const PackExport& pack);

// The pack text of the pack folder `packFolder` named `packName`. Every shot
// is read as a pack load reads it (so a file of an older layout is
// normalised on disk as a load would), and the shots come in display order;
// shots whose names sort alike come in the order of their names.
Outcome<PackExport> exportPackFolder(const std::string& packFolder, const std::string& packName);

// True for a name that, joined to a folder, names one entry right inside it:
// not empty, not "." or "..", no "/", "\" or NUL.
bool namesOneEntry(std::string_view name);

// Writes `text` to exportsFolder/NAME.qmpack through a temporary file and a
// rename (an earlier export of the pack is replaced whole or not at all),
// creating the folder as needed. The value is the file's path.
Outcome<std::string> writeExportFile(const std::string& exportsFolder, const std::string& packName,
                                     std::string_view text);

// The whole text of a file, refused when it is no regular file or longer
// than any pack text can be.
Outcome<std::string> readPackTextFile(const std::string& path);

// A fresh hidden work folder in the packs folder (".import-N.tmp"), in
// which a new pack is built before it is renamed into place; "" when none
// could be made. What a crash leaves of one, the next start removes
// (storage/Leftovers.h).
std::string makeWorkFolder(const std::string& packsFolder);

// Creates the pack packsFolder/NAME holding `shots` (names as decodePackText
// gives them), each written by the shot file writer: NAME.shot, or NAME.txt
// for a name of the older "Shots" + digits form, which the pack loader looks
// up as ".txt". Two shots that would share a file keep both: the later one
// gets digits appended to its name, as the pack loader does.
//
// The shots are written into a hidden folder in the packs folder, which is
// renamed to NAME once every shot is written, so a failure part-way leaves
// nothing behind. Refused, creating nothing, when the name is not usable
// (isUsablePackName) or something already exists at packsFolder/NAME. The
// value is the new folder's path.
Outcome<std::string> importPackFolder(const std::string& packsFolder, const std::string& name,
                                      const std::vector<Shot>& shots);
