#include "storage/PackTransfer.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/DurableFile.h"
#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"
#include "storage/PackListing.h"
#include "storage/PackText.h"
#include "storage/PackTextFormat.h"
#include "storage/ShotLine.h"
#include "storage/ShotName.h"
#include "storage/ShotOrder.h"
#include "storage/ShotRepair.h"

namespace fs = std::filesystem;

namespace {

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

Outcome<std::string> refusal(std::string reason) {
  return Outcome<std::string>::failure(std::move(reason));
}

// Whether anything (even a dangling link) is at `path`; nullopt when the
// test itself fails (a name too long, a folder that cannot be searched).
std::optional<bool> occupied(const std::string& path) {
  std::error_code error;
  const fs::file_type type = fs::symlink_status(pathFromUtf8(path), error).type();
  if (type == fs::file_type::none) return std::nullopt;
  return type != fs::file_type::not_found;
}

// Why no pack can be made at `target`, or "" when it can.
std::string targetProblem(const std::string& target, const std::string& name) {
  const std::optional<bool> taken = occupied(target);
  if (!taken) return "Could not make the pack folder " + inQuotes(target);
  if (*taken) return "A training pack named " + inQuotes(name) + " already exists";
  return {};
}

// Writes each shot into `folder`; "" when all are written, else why not.
std::string writeShots(const std::string& folder, const std::vector<Shot>& shots) {
  for (const Shot& shot : shots) {
    Shot written = shot;
    // As a load would fill them: an older text's placeholder for an absent
    // rotation never reaches a file.
    shotrepair::fillMissingValues(written);
    written.folderPath = folder + "/";
    // Names that one file system tells apart and another does not (letter
    // case): the later shot is kept under a free name, as a load would.
    for (int n = 1;; ++n) {
      // A shot without a name lives in a file named as its token, which a
      // load keeps as it is.
      const std::string_view fileStem =
          written.name.empty() ? shotfile::emptyNameToken : std::string_view(written.name);
      written.filePath = written.folderPath + shotname::fileNameFor(fileStem);
      const std::optional<bool> taken = occupied(written.filePath);
      if (!taken) return "Could not write the shot " + inQuotes(written.name);
      if (!*taken) break;
      written.name += std::to_string(n);
    }
    if (!written.saveShotFile()) return "Could not write the shot " + inQuotes(written.name);
  }
  return {};
}

}  // namespace

Outcome<PackExport> exportPackFolder(const std::string& packFolder, const std::string& packName) {
  std::error_code error;
  if (!fs::is_directory(pathFromUtf8(packFolder), error)) {
    return Outcome<PackExport>::failure("The pack folder " + inQuotes(packFolder) +
                                        " is not there");
  }
  std::vector<ShotFileEntry> files = listShotFiles(packFolder, error);
  if (error) {
    return Outcome<PackExport>::failure("Could not list the pack folder " + inQuotes(packFolder) +
                                        ": " + error.message());
  }
  std::sort(files.begin(), files.end(), [](const ShotFileEntry& a, const ShotFileEntry& b) {
    return a.name != b.name ? a.name < b.name : a.extension < b.extension;
  });
  const std::string folder = packFolder + "/";
  Outcome<PackExport> result;
  std::vector<Shot> shots;
  for (const ShotFileEntry& file : files) {
    // Each listed file read from itself, exactly as a load reads it (its
    // missing values filled in); one that cannot be read is left out, and
    // counted.
    Shot shot;
    shot.filePath = folder + file.name + std::string(file.extension);
    shot.folderPath = folder;
    bool unsaved = false;
    const ShotRead read = shotrepair::readAsLoaded(shot, unsaved);
    if (read == ShotRead::kept) {
      shots.push_back(std::move(shot));
    } else if (read != ShotRead::placeholder) {  // a blank placeholder is no shot
      result.value.leftOut.push_back(shot.filePath.substr(folder.size()));
    }
  }
  std::stable_sort(shots.begin(), shots.end(), shotNameLess);

  std::vector<std::string> lines;
  for (const Shot& shot : shots) {
    std::string line = shotline::formatShotLine(shot);
    Shot check;
    if (readShotLineStrictly(line, check).empty()) {
      lines.push_back(std::move(line));
    } else {
      result.value.leftOut.push_back(shot.filePath.substr(folder.size()));
    }
  }
  result.value.shotCount = lines.size();
  result.value.text = encodePackText(packName, lines);
  return result;
}

std::string leftOutText(const PackExport& pack) {
  constexpr size_t shown = 10;
  if (pack.leftOut.empty()) return {};
  const size_t count = pack.leftOut.size();
  std::string text = shotCountText(count) + " could not be included in the text: ";
  for (size_t i = 0; i < std::min(count, shown); ++i) {
    text += (i > 0 ? ", " : "") + pack.leftOut[i];
  }
  if (count > shown) text += " and " + std::to_string(count - shown) + " more";
  return text;
}

std::string makeWorkFolder(const std::string& packsFolder) {
  for (int n = 1; n <= 1000; ++n) {
    const std::string folder = packsFolder + "/" + std::string(packtext::importFolderPrefix) +
                               std::to_string(n) + std::string(packtext::importFolderSuffix);
    std::error_code error;
    if (fs::create_directory(pathFromUtf8(folder), error)) return folder;
    if (error) return {};
  }
  return {};
}

bool namesOneEntry(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

Outcome<std::string> writeExportFile(const std::string& exportsFolder, const std::string& packName,
                                     std::string_view text) {
  if (!namesOneEntry(packName)) {
    return refusal("The pack name " + inQuotes(packName) + " cannot name a file");
  }
  const std::string path = exportsFolder + "/" + packName + std::string(packtext::fileExtension);
  try {
    std::error_code error;
    fs::create_directories(pathFromUtf8(exportsFolder), error);
    if (error) {
      return refusal("Could not make the folder " + inQuotes(exportsFolder) + ": " +
                     error.message());
    }
    if (!replaceFileText(path, text)) return refusal("Could not write " + inQuotes(path));
  } catch (const std::exception& error) {
    return refusal("Could not write " + inQuotes(path) + ": " + error.what());
  }
  return Outcome<std::string>::success(path);
}

Outcome<std::string> readPackTextFile(const std::string& path) {
  try {
    const fs::path file = pathFromUtf8(path);
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return refusal("There is no file " + inQuotes(path));
    const auto size = fs::file_size(file, error);
    if (error || size > packtext::maxTextBytes) {
      return refusal(inQuotes(path) + " is too large for a training pack text");
    }
    std::ifstream in(file, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) return refusal("Could not read " + inQuotes(path));
    return Outcome<std::string>::success(std::move(text));
  } catch (const std::exception& error) {
    return refusal("Could not read " + inQuotes(path) + ": " + error.what());
  }
}

Outcome<std::string> importPackFolder(const std::string& packsFolder, const std::string& name,
                                      const std::vector<Shot>& shots) {
  if (std::string why = namerule::packNameProblem(name); !why.empty()) return refusal(why);
  const std::string target = packsFolder + "/" + name;
  std::string staging;
  std::string why;
  try {
    std::error_code error;
    fs::create_directories(pathFromUtf8(packsFolder), error);
    why = targetProblem(target, name);
    if (why.empty()) {
      staging = makeWorkFolder(packsFolder);
      if (staging.empty()) why = "Could not make a folder in " + inQuotes(packsFolder);
    }
    if (why.empty()) why = writeShots(staging, shots);
    // Something may have appeared there meanwhile: a rename never replaces it.
    if (why.empty()) why = targetProblem(target, name);
    if (why.empty()) {
      // Every shot file is on the disk before the pack's name is: a power
      // cut leaves the whole pack or only a hidden folder the next start
      // removes.
      durable::flushFolder(pathFromUtf8(staging));
      error = durable::renameDurably(pathFromUtf8(staging), pathFromUtf8(target));
      if (error) {
        why = "Could not make the pack folder " + inQuotes(target) + ": " + error.message();
      }
    }
  } catch (const std::exception& error) {
    why = "Could not import the pack: " + std::string(error.what());
  }
  if (!why.empty()) {
    std::error_code ignored;
    if (!staging.empty()) fs::remove_all(pathFromUtf8(staging), ignored);
    return refusal(why);
  }
  return Outcome<std::string>::success(target);
}
