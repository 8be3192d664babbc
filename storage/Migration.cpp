// The start-up work, run by the settings window's first frame or by the
// first command that plays the working shot: what older versions left in
// the data folder is cleaned up or moved into a pack, what interrupted work
// left in the packs folder is removed, the key binds are
// loaded, and the first pack is loaded.

#include <algorithm>
#include <exception>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "platform/DurableFile.h"
#include "platform/Utf8Path.h"
#include "storage/Leftovers.h"
#include "storage/PackListing.h"
#include "storage/PackPaths.h"
#include "storage/PackTextFormat.h"
#include "storage/PackTransfer.h"
#include "storage/StorageMessages.h"
#include "storage/Trash.h"

namespace fs = std::filesystem;

namespace {

// The shot files of the layout before packs: "Shots", any digits, ".txt",
// directly in the plug-in's folder.
bool isOldShotFile(const fs::directory_entry& entry) {
  std::error_code error;
  if (!entry.is_regular_file(error)) return false;
  std::string fileName = utf8FromPath(entry.path().filename());
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
  // Each step goes on whatever an earlier one ran into: a key-bind file that
  // cannot be read must not leave the packs unloaded.
  std::string data = dataFolderPath();
  std::string oldBindFile = shotsFolderPath(data) + "/bind.txt";
  std::error_code error;
  const fs::file_status bindFile = fs::symlink_status(pathFromUtf8(oldBindFile), error);
  if (bindFile.type() == fs::file_type::none) {
    logLine(storagemessages::packError, error.message(), oldBindFile);
  } else if (fs::exists(bindFile)) {
    fs::remove(pathFromUtf8(oldBindFile), error);
    if (error) logLine("Could not delete old bind file, please delete it manually");
  }
  // Before anything is written this time: whatever is there now is left
  // from before (and the key-bind file's rewrite would remove its own
  // leftover without a word).
  cleanLeftovers();
  pruneTrashAtStart();
  loadKeyBinds();
  cvarManager->loadCfg("QMTraining.cfg");
  oldDataMigrated = 1;

  // Without a packs folder this is a first start (or the first since packs
  // came), so the move runs even with nothing to move: it creates the first
  // pack.
  // A test that fails counts as "there" for the packs folder and as "not
  // there" for "Shots1.txt": either way no pack is made that is not needed.
  const auto test = [](const std::string& path, bool onError) {
    std::error_code testError;
    const bool exists = fs::exists(pathFromUtf8(path), testError);
    if (!testError) return exists;
    logLine(storagemessages::packError, testError.message(), path);
    return onError;
  };
  if (!test(packsFolderPath(data), true) || test(shotsFolderPath(data) + "/Shots1.txt", false)) {
    moveOldShotsToPack();
  }
  if (CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum)) {
    packNumber.setValue(0);
    loadTrainingPacks();
    // With "remember_training" on, the pack of the last run by its name
    // (pack 0 when it is gone).
    int32_t start = 0;
    CVarWrapper remember = cvarManager->getCvar(cvarname::rememberTraining);
    CVarWrapper lastPack = cvarManager->getCvar(cvarname::lastTrainingPack);
    if (remember && remember.getBoolValue() && lastPack) {
      auto found = std::find(trainingPacks.begin(), trainingPacks.end(), lastPack.getStringValue());
      if (found != trainingPacks.end()) start = static_cast<int32_t>(found - trainingPacks.begin());
    }
    if (start != 0) packNumber.setValue(start);
    loadTrainingPack(start);
  }
}

void QMTraining::moveOldShotsToPack() {
  std::string data = dataFolderPath();
  std::string oldFolder = shotsFolderPath(data);
  std::string packs = packsFolderPath(data);
  // Any file-system error ends the move with one console line; nothing is
  // deleted unless every file was copied.
  std::error_code error;
  const auto failed = [&error](const std::string& path) {
    if (error) logLine(storagemessages::packError, error.message(), path);
    return static_cast<bool>(error);
  };
  fs::create_directories(pathFromUtf8(packs), error);
  if (failed(packs)) return;
  std::string target = packs + "/Your Old Shots";
  for (int attempt = 2; fs::exists(pathFromUtf8(target), error); ++attempt) {
    target = nextCandidate(target, attempt);
  }
  if (failed(target)) return;
  // Built in a hidden work folder, renamed to the pack's name once every
  // file is copied and on the disk, as an import is: a crash part-way
  // leaves no half pack, only a work folder the next start removes.
  const std::string work = makeWorkFolder(packs);
  if (work.empty()) {
    logLine(storagemessages::packError, "could not make a folder", packs);
    return;
  }

  const fs::path from = pathFromUtf8(oldFolder);
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    fs::directory_entry entry = *it;
    entry.refresh(error);
    if (error) break;
    if (!isOldShotFile(entry)) continue;
    // The folder is new, so nothing is replaced: a copy never goes through a
    // link that appeared there.
    const fs::path copy = pathFromUtf8(work) / entry.path().filename();
    fs::copy_file(entry.path(), copy, fs::copy_options::none, error);
    if (!error) error = durable::flushFile(copy);
    if (error) break;
  }
  if (!error) {
    durable::flushFolder(pathFromUtf8(work));
    error = durable::renameDurably(pathFromUtf8(work), pathFromUtf8(target));
  }
  if (error) {
    std::error_code ignored;
    fs::remove_all(pathFromUtf8(work), ignored);
  }
  if (failed(oldFolder)) return;
  for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
    if (!isOldShotFile(*it)) continue;
    std::error_code removeError;
    fs::remove(it->path(), removeError);
    if (removeError) logLine("Could not delete old shot file, please delete it manually");
  }
  // An enumeration error ends the clean-up; the files left are copied again
  // at a later start only while "Shots1.txt" is among them.
  failed(oldFolder);
}

void QMTraining::cleanLeftovers() {
  const std::string data = dataFolderPath();
  LeftoverCleanup cleanup = removeLeftovers(packsFolderPath(data));
  removeTemporaryFiles(exportsFolderPath(data), packtext::fileExtension, cleanup);
  const std::string bindFile = keyBindFilePath();
  const size_t slash = bindFile.rfind('/');
  removeTemporaryFiles(bindFile.substr(0, slash), bindFile.substr(slash + 1), cleanup);
  cleanup.unfinishedTrashEntries = removeUnfinishedEntries(trashFolderPath(data));
  const std::string line = leftoverCleanupLine(cleanup);
  if (!line.empty()) logLine(line);
}

void QMTraining::runStartUpWork() {
  if (oldDataMigrated != 0) return;
  // A file-system error here would otherwise leave the host's callback and
  // take the game down. It is reported once and not retried; "Reload Packs"
  // reads the packs again.
  try {
    migrateOldData();
  } catch (const std::exception& error) {
    oldDataMigrated = 1;
    logLine("Training pack error: {}", error.what());
  }
}
