// Training packs: one folder each under the packs folder. In memory a pack is
// only its name in trainingPacks, kept sorted by name through every change;
// "TrainingPackNum" says which one is current. Every name a pack is given
// passes the name rule (storage/NameRule.h) first. A file-system error is said in
// one console line and ends the operation, never the host.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "platform/Utf8Path.h"
#include "storage/NameRule.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"
#include "storage/PackTransfer.h"
#include "storage/ShotOrder.h"
#include "storage/ShotRepair.h"
#include "storage/StorageMessages.h"

namespace fs = std::filesystem;

namespace {

using storagemessages::packError;

// A file-system error that a pack operation has no message of its own for
// ends the operation with one console line.
void logPackError(const std::error_code& error, const std::string& path) {
  logLine(packError, error.message(), path);
}

// Creates a folder with any missing parents; false, logged, when it cannot.
bool createFoldersOrLog(const std::string& folder) {
  std::error_code error;
  fs::create_directories(pathFromUtf8(folder), error);
  if (error) logPackError(error, folder);
  return !error;
}

// Whether anything is at `path`; an error of the test itself is logged and
// yields nothing, for the caller to stop at.
std::optional<bool> existsOrLog(const std::string& path) {
  std::error_code error;
  const bool found = fs::exists(pathFromUtf8(path), error);
  if (error) {
    logPackError(error, path);
    return std::nullopt;
  }
  return found;
}

// `name` cleaned by the name rule; nullopt, with the reason logged, when even
// the clean name cannot name a pack.
std::optional<std::string> usablePackName(std::string_view name) {
  std::string clean = namerule::cleanPackName(name);
  if (std::string why = namerule::packNameProblem(clean); !why.empty()) {
    logLine(std::move(why));
    return std::nullopt;
  }
  return clean;
}

bool listedAlike(const std::vector<std::string>& packs, std::string_view name) {
  return std::any_of(packs.begin(), packs.end(),
                     [&](const std::string& pack) { return namerule::samePackName(pack, name); });
}

}  // namespace

void QMTraining::loadTrainingPack(int32_t packIndex) {
  ++storageActions;
  if (trainingPacks.empty()) {
    // A list that could not be read whole is no reason for a new pack.
    if (!packListIncomplete) createTrainingPack("Training Pack 1");
    return;
  }
  loadPackShots(packIndex);
}

void QMTraining::loadTrainingPacks() {
  ++storageActions;
  // The folder's order can differ from the list's (a pack created since the
  // last rescan sits at the end until now), so the current pack is followed
  // by name: the next saved shot must go where the loaded shots came from.
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  std::optional<std::string> current;
  if (packNumber) {
    if (const std::string* pack = packAt(trainingPacks, packNumber.getIntValue())) current = *pack;
  }
  const std::string packs = packsFolderPath(dataFolderPath());
  std::error_code error;
  trainingPacks = listSubFolders(packs, error);
  if (error) logLine(storagemessages::unlistedFolder, packs, error.message());
  packListIncomplete = error && error != std::errc::no_such_file_or_directory;
  // Folders list in a different order on every file system: sorted, the
  // list (and so "pack 0") is the same on every machine.
  std::sort(trainingPacks.begin(), trainingPacks.end(), foldedNameLess);
  if (!current) return;
  auto found = std::find(trainingPacks.begin(), trainingPacks.end(), *current);
  if (found == trainingPacks.end()) return;
  auto index = static_cast<int32_t>(found - trainingPacks.begin());
  if (index != packNumber.getIntValue()) packNumber.setValue(index);
}

int32_t QMTraining::placeInPackList(std::string name, int32_t replacing) {
  ++storageActions;
  // A list left in another order (changed outside the store) is not
  // repaired here; the name still goes before the first entry it sorts before.
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  const int32_t currentIndex = packNumber ? packNumber.getIntValue() : -1;
  std::optional<std::string> current;
  if (currentIndex == replacing && replacing >= 0) {
    current = name;
  } else if (const std::string* pack = packAt(trainingPacks, currentIndex)) {
    current = *pack;
  }
  if (packAt(trainingPacks, replacing)) {
    trainingPacks.erase(trainingPacks.begin() + replacing);
  }
  const auto place = std::upper_bound(trainingPacks.begin(), trainingPacks.end(), name,
                                      foldedNameLess);
  const auto index = static_cast<int32_t>(place - trainingPacks.begin());
  trainingPacks.insert(place, std::move(name));
  if (current) {
    const auto found = std::find(trainingPacks.begin(), trainingPacks.end(), *current);
    const auto now = static_cast<int32_t>(found - trainingPacks.begin());
    if (found != trainingPacks.end() && now != currentIndex) packNumber.setValue(now);
  }
  return index;
}

std::vector<std::string> QMTraining::listPackShotNames(int32_t packIndex) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return {};
  std::vector<std::string> names;
  std::error_code error;  // what could be listed is what the window checks against
  for (ShotFileEntry& file : listShotFiles(packFolderPath(dataFolderPath(), *pack), error)) {
    names.push_back(std::move(file.name));
  }
  return names;
}

void QMTraining::createTrainingPack(std::string requestedName) {
  const std::optional<std::string> name = usablePackName(requestedName);
  if (!name) return;
  std::string folder = packFolderPath(dataFolderPath(), *name);
  const std::optional<bool> exists = existsOrLog(folder);
  if (!exists) return;
  if (*exists || listedAlike(trainingPacks, *name)) {
    logLine("Training Pack Exists");
    return;
  }
  if (!createFoldersOrLog(folder)) return;
  const int32_t index = placeInPackList(*name);
  // Should this write fail, the load below tries again and says so.
  Shot().createDefaultShot(folder + "/");
  loadTrainingPack(index);
  // The new pack's shots are the ones shown now; the next saved shot
  // belongs there too.
  if (CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum)) packNumber.setValue(index);
}

Outcome<std::string> QMTraining::copyTrainingPack(int32_t sourceIndex, std::string requestedName) {
  const std::string* source = packAt(trainingPacks, sourceIndex);
  if (!source) {
    return Outcome<std::string>::failure(storagemessages::packGone);
  }
  const std::string cleaned = namerule::cleanPackName(requestedName);
  if (std::string why = namerule::packNameProblem(cleaned); !why.empty()) {
    logLine(why);
    return Outcome<std::string>::failure(std::move(why));
  }
  const std::string& newName = cleaned;
  const auto failure = [&newName](std::string reason) {
    logLine("Could not copy into training pack {}: {}", newName, reason);
    return Outcome<std::string>::failure(std::move(reason));
  };
  if (listedAlike(trainingPacks, newName)) {
    logLine("Training Pack Exists");
    return Outcome<std::string>::failure("Training Pack Exists");
  }
  std::string data = dataFolderPath();
  std::string sourceFolder = packFolderPath(data, *source) + "/";
  std::string targetFolder = packFolderPath(data, newName) + "/";
  const std::optional<bool> sourceExists = existsOrLog(sourceFolder);
  if (!sourceExists) return Outcome<std::string>::failure("Could not look at " + sourceFolder);
  const std::optional<bool> targetExists = existsOrLog(targetFolder);
  if (!targetExists) return Outcome<std::string>::failure("Could not look at " + targetFolder);
  if (!*sourceExists || *targetExists) {
    logLine("Training Pack Exists");
    return Outcome<std::string>::failure("Training Pack Exists");
  }
  std::error_code error;
  const std::vector<ShotFileEntry> files = listShotFiles(sourceFolder, error);
  if (error) return failure("Could not list " + sourceFolder + ": " + error.message());
  std::vector<Shot> shots;
  shots.reserve(files.size());
  for (const ShotFileEntry& file : files) {
    // Each listed file is read from itself, as a load reads it (normalised,
    // its missing values filled in), so each copy holds the name stored
    // inside it. A shot that cannot be read ends the copy: its copy would be
    // a blank shot, and a copy without it a pack that lost a shot.
    Shot original;
    original.filePath = sourceFolder + file.name + std::string(file.extension);
    original.folderPath = sourceFolder;
    bool unsaved = false;
    const ShotRead read = shotrepair::readAsLoaded(original, unsaved);
    if (read == ShotRead::placeholder) continue;
    if (read != ShotRead::kept) return failure(shotGoneReason(original.filePath));
    shots.push_back(std::move(original));
  }
  // Built as an import is: in a hidden folder renamed into place once every
  // shot is written, each shot under a free file name (two shots whose files
  // share a name, "Shots12.shot" and "Shots12.txt", both arrive), so a copy
  // that fails part-way leaves nothing behind.
  cleanLeftovers();
  Outcome<std::string> made = importPackFolder(packsFolderPath(data), newName, shots);
  if (!made.ok()) return failure(made.error);
  placeInPackList(newName);
  return made;
}

void QMTraining::renameTrainingPack(int32_t packIndex, std::string requestedName) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return;
  const std::optional<std::string> cleanName = usablePackName(requestedName);
  if (!cleanName) return;
  const std::string& newName = *cleanName;
  std::string packs = packsFolderPath(dataFolderPath());
  std::string oldPath = packs + "/" + *pack;
  std::string newPath = packs + "/" + newName;
  const std::optional<bool> oldExists = existsOrLog(oldPath);
  if (!oldExists) return;
  if (!*oldExists) {
    logLine("Original training pack folder does not exist.");
    return;
  }
  const std::optional<bool> newExists = existsOrLog(newPath);
  if (!newExists) return;
  const bool listedAsOther =
      std::any_of(trainingPacks.begin(), trainingPacks.end(), [&](const std::string& other) {
        return &other != pack && namerule::samePackName(other, newName);
      });
  if (*newExists || listedAsOther) {
    logLine("Cannot rename. A training pack with that name already exists.");
    return;
  }
  std::error_code error;
  fs::rename(pathFromUtf8(oldPath), pathFromUtf8(newPath), error);
  if (error) {
    logPackError(error, oldPath);
    return;
  }
  placeInPackList(newName, packIndex);
  // Shots loaded from the pack now live in the new folder; an edit saved
  // before the next reload must land there, not in the vanished old one.
  std::string oldFolder = oldPath + "/";
  std::string newFolder = newPath + "/";
  for (Shot& shot : shots) {
    if (shot.folderPath != oldFolder || shot.filePath.rfind(oldFolder, 0) != 0) continue;
    shot.folderPath = newFolder;
    shot.filePath.replace(0, oldFolder.size(), newFolder);
  }
  // The results file moved with the folder; what is not written yet goes there too.
  if (resultsFolder == oldFolder) {
    resultsFolder = newFolder;
    if (CVarWrapper lastPack = cvarManager->getCvar(cvarname::lastTrainingPack)) lastPack.setValue(newName);
  }
  logLine("Training pack renamed successfully.");
}

Outcome<TrashEntry> QMTraining::deleteTrainingPack(int32_t packIndex) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return Outcome<TrashEntry>::failure(storagemessages::packGone);
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  bool deletingCurrent = packNumber && packNumber.getIntValue() == packIndex;
  const std::string data = dataFolderPath();
  std::string path = packFolderPath(data, *pack);
  std::error_code error;
  const fs::file_status status = fs::symlink_status(pathFromUtf8(path), error);
  Outcome<TrashEntry> trashed = Outcome<TrashEntry>::failure("The training pack folder " + path + " is gone");
  if (fs::exists(status) || status.type() == fs::file_type::none) {
    // Never removed without a copy: what the trash cannot take stays.
    trashed = movePackToTrash(trashFolderPath(data), packsFolderPath(data), *pack,
                              clockSeconds());
    if (!trashed) {
      logLine(storagemessages::deleteRefused, trashed.error);
      return trashed;
    }
    // Its results went with it; what was not written yet is dropped.
    if (resultsFolder == path + "/") {
      resultsFolder.clear();
      packResults.clear();
      openAttempt.reset();
    }
    logLine("TrainingPack removed");
  }
  // The rescan keeps "TrainingPackNum" on the current pack when that pack
  // is still there.
  loadTrainingPacks();
  if (trainingPacks.empty() && !packListIncomplete) {
    logLine("TrainingPack empty");
    // It lists the pack it makes.
    createTrainingPack("Empty Training Pack");
  }
  if (deletingCurrent) {
    packNumber.setValue(0);
    loadTrainingPack(0);
  }
  return trashed;
}
