// Loading one pack into `shots`, in shot order, and adding or copying single
// shots into a pack. Every player action that changes a shot reloads the
// whole pack inside one frame, so the load touches each file as few times as
// it can.

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <utility>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "platform/Utf8Path.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"
#include "storage/ShotFileFormat.h"
#include "storage/ShotLine.h"
#include "storage/ShotName.h"
#include "storage/ShotOrder.h"
#include "storage/ShotRepair.h"
#include "storage/StorageMessages.h"

namespace fs = std::filesystem;

namespace {

std::string folderGone(const std::string& folder) { return "The pack's folder " + folder + " is gone"; }

constexpr const char* unsavedRepairMessage = "Could not update shot file {}";


// Writes a repaired shot back, saying so when that fails: the shot is shown
// repaired, and its file is repaired again at the next load.
void saveRepaired(Shot& shot) {
  shot.name = underscoresToSpaces(std::move(shot.name));
  if (!shot.saveShotFile()) logLine(unsavedRepairMessage, shot.filePath);
}

// Reads and repairs the listed files of one load with one stream and one
// buffer for all of them, each from the file the listing found (so a pack
// holding both "Shots12.txt" and "Shots12.shot" shows each once): the
// normalising read of Shot::readShot followed by repairLoadedShot, with the
// system calls of a load kept to opening, reading and closing each file that
// needs nothing else, and a file that normalising renames written once, not
// once by the rename and once by the repair.
class ListedShotReader {
 public:
  ListedShotReader() { file_.pubsetbuf(buffer_, sizeof buffer_); }

  // For a file the listing has just found to be a regular file.
  ShotRead load(Shot& shot, const std::string& folder, const ShotFileEntry& file) {
    shot.filePath.reserve(folder.size() + file.name.size() + file.extension.size());
    shot.filePath.append(folder).append(file.name).append(file.extension);
    shot.folderPath = folder;
    WriteAccess access = WriteAccess::unknown;
    if (!open(shot.filePath, file.extension, access)) return ShotRead::missing;
    if (!readOpenFile()) return ShotRead::malformed;
    if (shotline::readShotLine(text_, shot) == shotline::LineRead::malformed) {
      return ShotRead::malformed;
    }

    bool unsaved = false;
    const ShotRead read = shotrepair::completeRead(shot, access, unsaved);
    if (unsaved) logLine(unsavedRepairMessage, shot.filePath);
    return read;
  }

 private:
  // A file of the older layout is nearly always renamed and rewritten on its
  // first load, and a rewrite must not replace a file a plain write could
  // not touch: opening it for writing as well as reading tells which it is
  // without another look at the file. A ".shot" file is only read.
  // Binary, as the files are written: the same bytes on every platform.
  bool open(const std::string& path, std::string_view extension, WriteAccess& access) {
    if (extension == shotfile::legacyExtension) {
      if (openUtf8(file_, path, std::ios::in | std::ios::out | std::ios::binary)) {
        access = WriteAccess::writable;
        return true;
      }
      access = WriteAccess::readOnly;
    }
    return openUtf8(file_, path, std::ios::in | std::ios::binary);
  }

  // A shot line is far shorter than the buffer, and a read of a regular file
  // comes back short only at the end of the file, so a part-full buffer is
  // the whole rest of the file: no second read just to meet the end. False
  // when the system fails a read (the file buffer throws then).
  bool readOpenFile() {
    text_.clear();
    bool whole = true;
    try {
      while (file_.sgetc() != std::filebuf::traits_type::eof()) {
        std::streamsize chunk = file_.in_avail();
        size_t start = text_.size();
        text_.resize(start + static_cast<size_t>(chunk));
        file_.sgetn(text_.data() + start, chunk);
        if (chunk < static_cast<std::streamsize>(sizeof buffer_ / 2)) break;
      }
    } catch (const std::exception&) {
      whole = false;
    }
    file_.close();
    return whole;
  }

  char buffer_[8192];
  std::filebuf file_;
  std::string text_;
};

// shotNameLess order, with each shot's sort key computed once rather than
// once per comparison. Shots shown under the same name come in the order of
// their files' paths, so the order is the same on every machine.
void sortShots(std::vector<Shot>& list) {
  // A loaded name has no "_" left (reading turns them into spaces), so it is
  // its own display name; only another name needs a copy to sort by (in a
  // deque, which never moves what the keys point into).
  struct Key {
    NameSortKey order;
    std::string_view name;
    size_t index;
  };
  std::deque<std::string> displayNames;
  std::vector<Key> keys;
  keys.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    std::string_view name = list[i].name;
    if (name.find('_') != std::string_view::npos) {
      name = displayNames.emplace_back(list[i].displayName());
    }
    keys.push_back({NameSortKey(name), name, i});
  }
  std::sort(keys.begin(), keys.end(), [&list](const Key& a, const Key& b) {
    if (a.order < b.order) return true;
    if (b.order < a.order) return false;
    if (a.name != b.name) return foldedNameLess(a.name, b.name);
    return list[a.index].filePath < list[b.index].filePath;
  });
  std::vector<Shot> sorted;
  sorted.reserve(list.size());
  for (const Key& key : keys) sorted.push_back(std::move(list[key.index]));
  list = std::move(sorted);
}

}  // namespace

std::string QMTraining::dataFolderPath() {
  std::string path = utf8FromPath(gameWrapper->GetDataFolder());
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

void QMTraining::loadPackShots(int32_t packIndex) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return;
  std::string folder = packFolderPath(dataFolderPath(), *pack) + "/";
  std::error_code listingError;
  std::vector<ShotFileEntry> files = listShotFiles(folder, listingError);
  if (files.empty() && !listingError) {
    // The pack is shown with its default shot rather than empty, and never
    // with the shots of the pack shown before it.
    if (!Shot().createDefaultShot(folder)) {
      logLine("Could not write the default shot into training pack {}", *pack);
    }
    files = listShotFiles(folder, listingError);
  }
  if (listingError) logLine(storagemessages::unlistedFolder, folder, listingError.message());
  useResultsOf(folder);
  std::vector<Shot> loaded;
  loaded.reserve(files.size());
  ListedShotReader reader;
  for (const ShotFileEntry& file : files) {
    Shot shot;
    // A shot that could not be read is left out and its file left alone:
    // repairing it would overwrite an unreadable file with blank values.
    switch (reader.load(shot, folder, file)) {
      case ShotRead::kept:
        // Normalising may have renamed the file; its results follow it.
        shotFileRenamed(file.name + std::string(file.extension), shot.filePath.substr(folder.size()));
        loaded.push_back(std::move(shot));
        break;
      case ShotRead::placeholder:
        break;
      case ShotRead::missing:
      case ShotRead::malformed:
      case ShotRead::notRenamed:
        logLine(storagemessages::unreadableShot, shot.filePath);
        break;
    }
  }
  sortShots(loaded);
  shots = std::move(loaded);
  shotSelections.assign(shots.size(), false);
  modifiersActive = false;
  trainingActive = false;
  applyLoadedResults(true);
  if (CVarWrapper lastPack = cvarManager->getCvar(cvarname::lastTrainingPack)) lastPack.setValue(*pack);
  if (CVarWrapper shotNumber = cvarManager->getCvar(cvarname::shotNumber1)) {
    shotNumber.setValue(0);
    loadSelectedShot();
  }
}

void QMTraining::repairLoadedShot(Shot& shot) {
  // One write for all three values leaves the file as three writes would.
  if (shotrepair::fillMissingValues(shot)) saveRepaired(shot);
}

Status QMTraining::addShotToPack(int32_t packIndex, float ballLocationZ, float ballLocationX,
                                 float ballLocationY, float ballVelocityX, float ballVelocityY,
                                 float ballVelocityZ, float carLocationX, float carLocationY,
                                 float carLocationZ, int32_t carYaw, std::string name,
                                 int32_t carPitch, int32_t carRoll) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return Status::failure(storagemessages::packGone);
  std::string folder = packFolderPath(dataFolderPath(), *pack) + "/";
  std::error_code error;
  if (!fs::exists(pathFromUtf8(folder), error)) return Status::failure(folderGone(folder));
  CVarWrapper speed = cvarManager->getCvar(cvarname::coolSpeed);
  if (!speed) return Status::failure("The shot's speed is not known");
  // createShotFile refuses a name whose file is there already; on failure
  // the shots shown and the working shot stay as they are.
  Status created = Shot().createShotFile(folder, ballLocationZ, ballLocationX, ballLocationY,
                                         ballVelocityX, ballVelocityY, ballVelocityZ, carLocationX,
                                         carLocationY, carLocationZ, carYaw, name,
                                         speed.getIntValue(), carPitch, carRoll);
  if (created) loadPackShots(packIndex);
  return created;
}

Status QMTraining::copyShotToPack(int32_t sourcePackIndex, int32_t targetPackIndex,
                                  int32_t shotIndex, std::string newName) {
  const std::string* sourcePack = packAt(trainingPacks, sourcePackIndex);
  const std::string* targetPack = packAt(trainingPacks, targetPackIndex);
  if (!sourcePack || !targetPack) return Status::failure(storagemessages::packGone);
  if (shotIndex < 0 || static_cast<size_t>(shotIndex) >= shots.size()) {
    return Status::failure("This shot is no longer in the list");
  }
  std::string targetFolder = packFolderPath(dataFolderPath(), *targetPack) + "/";
  std::error_code error;
  if (!fs::exists(pathFromUtf8(targetFolder), error)) return Status::failure(folderGone(targetFolder));
  // The copy takes the values in the listed shot's own file, which
  // "OverideShot" may have changed since the pack was loaded, and never those
  // of a namesake in another pack; the file is neither renamed nor written.
  // A shot that cannot be read is not copied: its copy would be a blank shot.
  Shot original;
  original.filePath = shots[static_cast<size_t>(shotIndex)].filePath;
  if (original.readValues() != ShotRead::kept) {
    return Status::failure(shotGoneReason(original.filePath));
  }
  Status copied = shotrepair::createRepairedCopy(original, targetFolder, newName);
  // A transfer takes the shot's results along; a copy within the pack
  // starts with none.
  if (copied && sourcePackIndex != targetPackIndex) {
    const std::string from = original.filePath.substr(original.filePath.rfind('/') + 1);
    if (Status moved = moveShotResults(from, targetFolder, shotname::fileNameFor(newName)); !moved) {
      logLine("The results of {} stay in this pack: {}", from, moved.error);
    }
  }
  return copied;
}
