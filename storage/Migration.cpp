// The start-up work of the settings window's first frame: what older versions
// left in the data folder is cleaned up or moved into a pack, the key binds
// are loaded, and the first pack is loaded.

#include <filesystem>
#include <string_view>
#include <system_error>

#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"

namespace fs = std::filesystem;

namespace {

// The shot files of the layout before packs: "Shots", any digits, ".txt",
// directly in the plug-in's folder.
bool isOldShotFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
  std::string fileName = entry.path().filename().string();
  std::string_view extension = fileExtension(fileName);
  if (extension != shotfile::legacyExtension) return false;
  std::string_view stem = std::string_view(fileName).substr(0, fileName.size() - extension.size());
  while (!stem.empty() && stem.back() >= '0' && stem.back() <= '9') stem.remove_suffix(1);
  return stem == shotfile::legacyStem;
}

// "Your Old Shots", then "Your Old Shots2" to "Your Old Shots10", then
// "Your Old Shots111", "Your Old Shots1112", ...: a name ending in a digit
// has that digit replaced by the attempt number. Players may already have
// packs named by this rule, so it stays as it is.
std::string nextCandidate(std::string candidate, int attempt) {
  if (candidate.back() != 's') candidate.pop_back();
  return candidate + std::to_string(attempt);
}

}  // namespace

void QMTraining::migrateOldData() {
  std::string data = dataFolderPath();
  std::string oldBindFile = shotsFolderPath(data) + "/bind.txt";
  if (fs::exists(oldBindFile)) {
    std::error_code error;
    fs::remove(oldBindFile, error);
    if (error) logLine("Could not delete old bind file, please delete it manually");
  }
  loadKeyBinds();
  cvarManager->loadCfg("QMTraining.cfg");
  oldDataMigrated = 1;

  // Without a packs folder this is a first start (or the first since packs
  // came), so the move runs even with nothing to move: it creates the first
  // pack.
  if (!fs::exists(packsFolderPath(data)) || fs::exists(shotsFolderPath(data) + "/Shots1.txt")) {
    moveOldShotsToPack();
  }
  if (CVarWrapper packNumber = cvarManager->getCvar("TrainingPackNum")) {
    packNumber.setValue(0);
    loadTrainingPacks();
    loadTrainingPack(0);
  }
}

void QMTraining::moveOldShotsToPack() {
  std::string data = dataFolderPath();
  std::string oldFolder = shotsFolderPath(data);
  std::string packs = packsFolderPath(data);
  fs::create_directories(packs);
  std::string target = packs + "/Your Old Shots";
  for (int attempt = 2; fs::exists(target); ++attempt) target = nextCandidate(target, attempt);

  // Nothing is deleted unless every file was copied.
  try {
    fs::create_directories(target);
    for (fs::directory_iterator it(oldFolder), end; it != end; ++it) {
      fs::directory_entry entry = *it;
      entry.refresh();
      if (!isOldShotFile(entry)) continue;
      fs::copy_file(entry.path(), fs::path(target) / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
    }
  } catch (const fs::filesystem_error&) {
    return;
  }
  try {
    for (fs::directory_iterator it(oldFolder), end; it != end; ++it) {
      if (!isOldShotFile(*it)) continue;
      std::error_code error;
      fs::remove(it->path(), error);
      if (error) logLine("Could not delete old shot file, please delete it manually");
    }
  } catch (const fs::filesystem_error&) {
    // An enumeration error ends the clean-up; the files left are copied again
    // at a later start only while "Shots1.txt" is among them.
  }
}
