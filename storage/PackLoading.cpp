// Loading one pack into `shots`, in shot order, and adding or copying single
// shots into a pack. Every player action that changes a shot reloads the
// whole pack inside one frame, so the load touches each file as few times as
// it can.

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <utility>

#include "QMTraining/QMTraining.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"
#include "storage/ShotLine.h"
#include "storage/ShotName.h"
#include "storage/ShotOrder.h"

namespace fs = std::filesystem;

namespace {

// Older files lack the speed, pitch or roll; these set what repairLoadedShot
// sets, in memory. True when anything changed.
bool fillMissingRotations(Shot& shot) {
  bool filled = false;
  if (shot.carPitch == shotfile::rotationAbsentMarker) {
    shot.carPitch = 0;
    filled = true;
  }
  if (shot.carRoll == shotfile::rotationAbsentMarker) {
    shot.carRoll = 0;
    filled = true;
  }
  return filled;
}

bool fillMissingSpeed(Shot& shot) {
  if (shot.ballSpeed != 0) return false;
  shot.ballSpeed = shotfile::defaultBallSpeed;
  return true;
}

bool fillMissingValues(Shot& shot) {
  bool speed = fillMissingSpeed(shot);
  bool rotations = fillMissingRotations(shot);
  return speed || rotations;
}

void saveRepaired(Shot& shot) {
  shot.name = underscoresToSpaces(std::move(shot.name));
  shot.saveShotFile();
}

// Nine zero floats and a zero yaw: with the usual speed such a shot may pass
// for a blank placeholder.
bool hasOnlyZeros(const Shot& shot) {
  for (float value : {shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
                      shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ,
                      shot.carLocationX, shot.carLocationY, shot.carLocationZ}) {
    if (value != 0.0f) return false;
  }
  return shot.carYaw == 0;
}

// Reads and repairs the listed files of one load with one stream and one
// buffer for all of them: Shot::loadShot followed by repairLoadedShot, with
// the system calls of a load kept to opening, reading and closing each file
// that needs nothing else. loadShot itself tests the path twice more and
// reads past the end of the line to find it, and a file that normalising
// renames would be written twice, once by the rename and once by the repair.
class ListedShotReader {
 public:
  ListedShotReader() : in_(&text_) { file_.pubsetbuf(buffer_, sizeof buffer_); }

  // For a file the listing has just found to be a regular file. True when
  // the shot was read and kept.
  bool load(Shot& shot, const std::string& folder, const ShotFileEntry& file) {
    std::string_view extension = shotname::isLegacyShotName(file.name)
                                     ? shotfile::legacyExtension
                                     : shotfile::shotExtension;
    if (file.extension != extension) {
      // A ".shot" file named like an older ".txt" one: loadShot looks for
      // the ".txt" file, so it decides.
      if (!shot.loadShot(folder, file.name)) return false;
      if (fillMissingValues(shot)) saveRepaired(shot);
      return true;
    }
    shot.filePath = folder + file.name + std::string(extension);
    shot.folderPath = folder;
    if (!readWholeFile(shot.filePath)) return false;
    in_.clear();
    shotline::readShotLine(in_, shot);

    // Filled in before normalising, the missing values reach the file with
    // the rewrite that follows a rename. They do not change what normalising
    // decides, except a speed that would let an all-zero shot pass for a
    // blank placeholder (which it deletes): that one waits until after.
    bool filled = fillMissingRotations(shot);
    if (!hasOnlyZeros(shot)) filled = fillMissingSpeed(shot) || filled;
    std::string listedPath = filled ? shot.filePath : std::string();
    if (!shot.normalizeShotFile()) return false;
    // Normalising rewrites a file it renamed, unless it kept a blank
    // placeholder it could not delete.
    if (filled && (shot.filePath == listedPath || shot.isBlankShot())) saveRepaired(shot);
    if (fillMissingValues(shot)) saveRepaired(shot);
    return true;
  }

 private:
  // A text in memory, read as a stream.
  class TextBuffer : public std::streambuf {
   public:
    std::string text;
    void rewind() { setg(text.data(), text.data(), text.data() + text.size()); }
  };

  // A shot line is far shorter than the buffer, and a read of a regular file
  // comes back short only at the end of the file, so a part-full buffer is
  // the whole rest of the file: no second read just to meet the end.
  bool readWholeFile(const std::string& path) {
    if (!file_.open(path, std::ios::in)) return false;
    std::string& text = text_.text;
    text.clear();
    while (file_.sgetc() != std::filebuf::traits_type::eof()) {
      std::streamsize chunk = file_.in_avail();
      size_t start = text.size();
      text.resize(start + static_cast<size_t>(chunk));
      file_.sgetn(text.data() + start, chunk);
      if (chunk < static_cast<std::streamsize>(sizeof buffer_ / 2)) break;
    }
    file_.close();
    text_.rewind();
    return true;
  }

  char buffer_[8192];
  std::filebuf file_;
  TextBuffer text_;
  std::istream in_;
};

// shotNameLess order, with each shot's sort key computed once rather than
// once per comparison. Not stable: shots whose names compare equal end up in
// no particular order, as with any in-place sort by shotNameLess.
void sortShots(std::vector<Shot>& list) {
  // A loaded name has no "_" left (reading turns them into spaces), so it is
  // its own display name; only another name needs a copy to sort by (in a
  // deque, which never moves what the keys point into).
  std::deque<std::string> displayNames;
  std::vector<std::pair<NameSortKey, size_t>> keys;
  keys.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string& name = list[i].name;
    if (name.find('_') == std::string::npos) {
      keys.emplace_back(NameSortKey(name), i);
    } else {
      displayNames.push_back(list[i].displayName());
      keys.emplace_back(NameSortKey(displayNames.back()), i);
    }
  }
  std::sort(keys.begin(), keys.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Shot> sorted;
  sorted.reserve(list.size());
  for (const auto& key : keys) sorted.push_back(std::move(list[key.second]));
  list = std::move(sorted);
}

}  // namespace

void QMTraining::loadTrainingPack(int32_t packIndex) {
  if (trainingPacks.empty()) {
    createTrainingPack("Training Pack 1");
    return;
  }
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return;
  std::string folder = packFolderPath(dataFolderPath(), *pack) + "/";
  std::vector<ShotFileEntry> files = listShotFiles(folder);
  if (files.empty()) {
    // The default shot is listed from the next load of this pack on.
    Shot().createDefaultShot(folder);
    return;
  }
  std::vector<Shot> loaded;
  loaded.reserve(files.size());
  ListedShotReader reader;
  for (const ShotFileEntry& file : files) {
    Shot shot;
    // A shot that could not be read is left out and its file left alone:
    // repairing it would overwrite an unreadable file with blank values.
    if (reader.load(shot, folder, file)) loaded.push_back(std::move(shot));
  }
  sortShots(loaded);
  shots = std::move(loaded);
  shotSelections.assign(shots.size(), false);
  modifiersActive = false;
  trainingActive = false;
  if (CVarWrapper shotNumber = cvarManager->getCvar("shotNumber1")) {
    shotNumber.setValue(0);
    loadSelectedShot();
  }
}

void QMTraining::repairLoadedShot(Shot& shot) {
  // One write for all three values leaves the file as three writes would.
  if (fillMissingValues(shot)) saveRepaired(shot);
}

bool QMTraining::addShotToPack(int32_t packIndex, float ballLocationZ, float ballLocationX,
                               float ballLocationY, float ballVelocityX, float ballVelocityY,
                               float ballVelocityZ, float carLocationX, float carLocationY,
                               float carLocationZ, int32_t carYaw, std::string name,
                               int32_t carPitch, int32_t carRoll) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return false;
  std::string folder = packFolderPath(dataFolderPath(), *pack) + "/";
  if (!fs::exists(folder) || fs::exists(folder + name + std::string(shotfile::shotExtension))) {
    return false;
  }
  CVarWrapper speed = cvarManager->getCvar("cool_speed");
  if (!speed) return false;
  bool written = Shot().createShotFile(folder, ballLocationZ, ballLocationX, ballLocationY,
                                       ballVelocityX, ballVelocityY, ballVelocityZ, carLocationX,
                                       carLocationY, carLocationZ, carYaw, name,
                                       speed.getIntValue(), carPitch, carRoll);
  loadTrainingPack(packIndex);
  return written;
}

bool QMTraining::copyShotToPack(int32_t sourcePackIndex, int32_t targetPackIndex,
                                int32_t shotIndex, std::string newName) {
  const std::string* sourcePack = packAt(trainingPacks, sourcePackIndex);
  const std::string* targetPack = packAt(trainingPacks, targetPackIndex);
  if (!sourcePack || !targetPack) return false;
  if (shotIndex < 0 || static_cast<size_t>(shotIndex) >= shots.size()) return false;
  std::string data = dataFolderPath();
  std::string sourceFolder = packFolderPath(data, *sourcePack) + "/";
  std::string targetFolder = packFolderPath(data, *targetPack) + "/";
  if (!fs::exists(sourceFolder) || !fs::exists(targetFolder)) return false;
  // The copy takes the values in the file, which "OverideShot" may have
  // changed since the pack was loaded. A shot that cannot be read is not
  // copied: its copy would be a blank shot.
  Shot original;
  if (!original.loadShot(sourceFolder, shots[static_cast<size_t>(shotIndex)].displayName())) {
    return false;
  }
  Shot copy;
  bool written = copy.createShotFile(
      targetFolder, original.ballLocationZ, original.ballLocationX, original.ballLocationY,
      original.ballVelocityX, original.ballVelocityY, original.ballVelocityZ,
      original.carLocationX, original.carLocationY, original.carLocationZ, original.carYaw,
      newName, original.ballSpeed, original.carPitch, original.carRoll);
  if (written) repairLoadedShot(copy);
  return written;
}
