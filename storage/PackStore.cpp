// Training packs: one folder each under the packs folder. In memory a pack is
// only its name in trainingPacks, in the order the folder was enumerated;
// "TrainingPackNum" says which one is current.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"

namespace fs = std::filesystem;

namespace {

// File-system errors a pack operation has no message of its own for (a
// folder that cannot be created, or whose existence cannot be tested) end
// the operation with one console line instead of reaching the host, whose
// drawing code would not survive them.
template <typename Operation>
void reportingFileErrors(Operation operation) {
  try {
    operation();
  } catch (const fs::filesystem_error& error) {
    logLine("Training pack error: {}", error.what());
  }
}

}  // namespace

std::string QMTraining::dataFolderPath() {
  std::string path = gameWrapper->GetDataFolder().string();
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

void QMTraining::loadTrainingPacks() {
  // The folder's order can differ from the list's (a pack created since the
  // last rescan sits at the end until now), so the current pack is followed
  // by name: the next saved shot must go where the loaded shots came from.
  CVarWrapper packNumber = cvarManager->getCvar("TrainingPackNum");
  std::optional<std::string> current;
  if (packNumber) {
    if (const std::string* pack = packAt(trainingPacks, packNumber.getIntValue())) current = *pack;
  }
  trainingPacks = listSubFolders(packsFolderPath(dataFolderPath()));
  if (!current) return;
  auto found = std::find(trainingPacks.begin(), trainingPacks.end(), *current);
  if (found == trainingPacks.end()) return;
  auto index = static_cast<int32_t>(found - trainingPacks.begin());
  if (index != packNumber.getIntValue()) packNumber.setValue(index);
}

std::vector<std::string> QMTraining::listPackShotNames(int32_t packIndex) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return {};
  std::vector<std::string> names;
  for (ShotFileEntry& file : listShotFiles(packFolderPath(dataFolderPath(), *pack))) {
    names.push_back(std::move(file.name));
  }
  return names;
}

void QMTraining::createTrainingPack(std::string name) {
  reportingFileErrors([&] {
    std::string folder = packFolderPath(dataFolderPath(), name);
    if (fs::exists(folder)) {
      logLine("Training Pack Exists");
      return;
    }
    fs::create_directories(folder);
    trainingPacks.push_back(name);
    auto index = static_cast<int32_t>(trainingPacks.size()) - 1;
    Shot().createDefaultShot(folder + "/");
    loadTrainingPack(index);
    // The new pack's shots are the ones shown now; the next saved shot
    // belongs there too.
    if (CVarWrapper packNumber = cvarManager->getCvar("TrainingPackNum")) packNumber.setValue(index);
  });
}

void QMTraining::copyTrainingPack(int32_t sourceIndex, std::string newName) {
  const std::string* source = packAt(trainingPacks, sourceIndex);
  if (!source) return;
  reportingFileErrors([&] {
    std::string data = dataFolderPath();
    std::string sourceFolder = packFolderPath(data, *source) + "/";
    std::string targetFolder = packFolderPath(data, newName) + "/";
    if (!fs::exists(sourceFolder) || fs::exists(targetFolder)) {
      logLine("Training Pack Exists");
      return;
    }
    fs::create_directories(targetFolder);
    for (const std::string& name : listPackShotNames(sourceIndex)) {
      // Reading normalises the source file first, so the copy is named after
      // the name stored inside it. A shot that cannot be read is not copied:
      // its copy would be a blank shot.
      Shot original;
      if (!original.loadShot(sourceFolder, name)) continue;
      Shot copy;
      if (copy.createShotFile(targetFolder, original.ballLocationZ, original.ballLocationX,
                              original.ballLocationY, original.ballVelocityX,
                              original.ballVelocityY, original.ballVelocityZ,
                              original.carLocationX, original.carLocationY,
                              original.carLocationZ, original.carYaw, original.displayName(),
                              original.ballSpeed, original.carPitch, original.carRoll)) {
        repairLoadedShot(copy);
      }
    }
    trainingPacks.push_back(newName);
  });
}

void QMTraining::renameTrainingPack(int32_t packIndex, std::string newName) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return;
  try {
    std::string packs = packsFolderPath(dataFolderPath());
    std::string oldPath = packs + "/" + *pack;
    std::string newPath = packs + "/" + newName;
    if (!fs::exists(oldPath)) {
      logLine("Original training pack folder does not exist.");
      return;
    }
    if (fs::exists(newPath)) {
      logLine("Cannot rename. A training pack with that name already exists.");
      return;
    }
    fs::rename(oldPath, newPath);
    trainingPacks[static_cast<size_t>(packIndex)] = newName;
    // Shots loaded from the pack now live in the new folder; an edit saved
    // before the next reload must land there, not in the vanished old one.
    std::string oldFolder = oldPath + "/";
    std::string newFolder = newPath + "/";
    for (Shot& shot : shots) {
      if (shot.folderPath != oldFolder || shot.filePath.rfind(oldFolder, 0) != 0) continue;
      shot.folderPath = newFolder;
      shot.filePath.replace(0, oldFolder.size(), newFolder);
    }
    logLine("Training pack renamed successfully.");
  } catch (const std::exception&) {
    // A failed rename leaves folder and list as they were; nothing is said.
  }
}

void QMTraining::deleteTrainingPack(int32_t packIndex) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return;
  reportingFileErrors([&] {
    CVarWrapper packNumber = cvarManager->getCvar("TrainingPackNum");
    bool deletingCurrent = packNumber && packNumber.getIntValue() == packIndex;
    std::string path = packFolderPath(dataFolderPath(), *pack);
    if (fs::exists(path)) {
      try {
        fs::remove_all(path);
        logLine("TrainingPack removed");
      } catch (const std::exception&) {
        logLine("Could not delete TrainingPack, please delete it manually");
      }
    }
    // The rescan keeps "TrainingPackNum" on the current pack when that pack
    // is still there.
    loadTrainingPacks();
    if (trainingPacks.empty()) {
      logLine("TrainingPack empty");
      createTrainingPack("Empty Training Pack");
      loadTrainingPacks();
    }
    if (deletingCurrent) {
      packNumber.setValue(0);
      loadTrainingPack(0);
    }
  });
}
