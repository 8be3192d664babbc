// Loading one pack into `shots`, in shot order, and adding or copying single
// shots into a pack. Every player action that changes a shot reloads the
// whole pack inside one frame, so the load touches each file as few times as
// it can.

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <utility>

#include "QMTraining/QMTraining.h"
#include "storage/PackFolder.h"
#include "storage/PackPaths.h"
#include "storage/ShotOrder.h"

namespace fs = std::filesystem;

namespace {

// shotNameLess order, with each shot's sort key computed once rather than
// once per comparison. Not stable: shots whose names compare equal end up in
// no particular order, as with any in-place sort by shotNameLess.
void sortShots(std::vector<Shot>& list) {
  std::vector<std::string> names;
  names.reserve(list.size());
  for (const Shot& shot : list) names.push_back(shot.displayName());
  std::vector<std::pair<NameSortKey, size_t>> keys;
  keys.reserve(list.size());
  for (size_t i = 0; i < list.size(); ++i) keys.emplace_back(NameSortKey(names[i]), i);
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
  for (const ShotFileEntry& file : files) {
    Shot shot;
    // A shot that could not be read is left out and its file left alone:
    // repairing it would overwrite an unreadable file with blank values.
    if (!shot.loadShot(folder, file.name)) continue;
    repairLoadedShot(shot);
    loaded.push_back(std::move(shot));
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
  // Files of older versions lack the speed, pitch or roll. All three checks
  // run before the one write, which leaves the file as three writes would.
  bool repaired = false;
  if (shot.ballSpeed == 0) {
    shot.ballSpeed = shotfile::defaultBallSpeed;
    repaired = true;
  }
  if (shot.carPitch == shotfile::rotationAbsentMarker) {
    shot.carPitch = 0;
    repaired = true;
  }
  if (shot.carRoll == shotfile::rotationAbsentMarker) {
    shot.carRoll = 0;
    repaired = true;
  }
  if (!repaired) return;
  shot.name = underscoresToSpaces(std::move(shot.name));
  shot.saveShotFile();
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
