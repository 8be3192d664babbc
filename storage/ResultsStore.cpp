// The results of the loaded pack: read when a pack loads, kept in memory,
// written (through the temporary-file-and-rename path of the shots) at most
// once a second of game time, at a pack switch and at unload, and carried
// along when a shot file is renamed, deleted or transferred. A results file
// never stops training: one that cannot be read is set aside and the pack
// starts from zero.

#include <ctime>
#include <utility>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "storage/ResultsFile.h"

namespace {

// Results are written no more often than this, in seconds of game time.
constexpr float kFlushDelaySeconds = 1.0f;

std::string fileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

bool rememberTrainingOn(CVarManagerWrapper& cvars) {
  CVarWrapper remember = cvars.getCvar(cvarname::rememberTraining);
  return remember && remember.getBoolValue();
}

}  // namespace

void QMTraining::useResultsOf(const std::string& folder) {
  // Written first even for a reload of the same pack: the training marks of
  // the boxes as they are, before the reload clears them.
  flushResults();
  if (folder == resultsFolder) return;
  openAttempt.reset();
  packResults.clear();
  resultsFolder = folder;
  resultsChanged = false;
  resultsWriteFailed = false;
  resultsWritable = true;
  Outcome<PackResults> read = readResultsFile(folder);
  if (read) {
    packResults = std::move(read.value);
    return;
  }
  const Outcome<std::string> aside = setResultsFileAside(folder);
  if (aside) {
    logLine("The results in {} could not be read ({}); kept as {}, this pack's results start from zero",
            resultsFilePath(folder), read.error, aside.value);
  } else {
    resultsWritable = false;
    logLine("The results in {} could not be read ({}) nor set aside ({}); left as they are, none are kept",
            resultsFilePath(folder), read.error, aside.error);
  }
}

void QMTraining::flushResults() {
  if (resultsFolder.empty() || !resultsWritable) return;
  if (rememberTrainingOn(*cvarManager)) {
    // The marks follow the boxes as they are now.
    for (size_t i = 0; i < shots.size() && i < shotSelections.size(); ++i) {
      const std::string file = fileNameOf(shots[i].filePath);
      auto found = packResults.find(file);
      if (found == packResults.end() && !shotSelections[i]) continue;
      ShotResult& result = found != packResults.end() ? found->second : packResults[file];
      if (result.ticked != shotSelections[i]) {
        result.ticked = shotSelections[i];
        resultsChanged = true;
      }
    }
  }
  if (!resultsChanged) return;
  const Status written = writeResultsFile(resultsFolder, packResults);
  if (written) {
    resultsChanged = false;
    resultsWriteFailed = false;
  } else if (!resultsWriteFailed) {
    // Tried again with the next change; said once.
    resultsWriteFailed = true;
    logLine("The results of {} were not saved: {}", resultsFolder, written.error);
  }
}

void QMTraining::scheduleResultsFlush() {
  if (resultsFlushPending) return;
  resultsFlushPending = true;
  gameWrapper->SetTimeout(guarded("results", [this](GameWrapper*) {
                            resultsFlushPending = false;
                            flushResults();
                          }),
                          kFlushDelaySeconds);
}

const ShotResult* QMTraining::resultOf(size_t shotIndex) const {
  if (shotIndex >= shots.size()) return nullptr;
  auto found = packResults.find(fileNameOf(shots[shotIndex].filePath));
  return found == packResults.end() ? nullptr : &found->second;
}

void QMTraining::shotFileRenamed(const std::string& from, const std::string& to) {
  if (from == to) return;
  auto found = packResults.find(from);
  if (found != packResults.end()) {
    ShotResult result = found->second;
    packResults.erase(found);
    packResults[to] = result;
    resultsChanged = true;
    scheduleResultsFlush();
  }
  if (openAttempt && openAttempt->shotFile == from) openAttempt->shotFile = to;
}

Status QMTraining::renameShotAt(int32_t shotIndex, std::string newName) {
  if (shotIndex < 0 || static_cast<size_t>(shotIndex) >= shots.size()) {
    return Status::failure("This shot is no longer in the list");
  }
  Shot& shot = shots[static_cast<size_t>(shotIndex)];
  const std::string before = fileNameOf(shot.filePath);
  Status renamed = shot.renameShot(std::move(newName));
  if (renamed) shotFileRenamed(before, fileNameOf(shot.filePath));
  return renamed;
}

Outcome<TrashEntry> QMTraining::deleteShotAt(int32_t shotIndex) {
  if (shotIndex < 0 || static_cast<size_t>(shotIndex) >= shots.size()) {
    return Outcome<TrashEntry>::failure("This shot is no longer in the list");
  }
  Shot& shot = shots[static_cast<size_t>(shotIndex)];
  const std::string file = fileNameOf(shot.filePath);
  Outcome<TrashEntry> trashed = deleteShot(shot);
  if (!trashed) return trashed;
  if (packResults.erase(file) > 0) {
    resultsChanged = true;
    scheduleResultsFlush();
  }
  if (openAttempt && openAttempt->shotFile == file) openAttempt.reset();
  return trashed;
}

Status QMTraining::moveShotResults(const std::string& fromFile, const std::string& targetFolder,
                                   const std::string& toFile) {
  auto found = packResults.find(fromFile);
  if (found == packResults.end() || !found->second.tried() || targetFolder == resultsFolder) return {};
  Outcome<PackResults> target = readResultsFile(targetFolder);
  if (!target) return Status::failure("The results in " + resultsFilePath(targetFolder) + " cannot be read: " + target.error);
  ShotResult moved = found->second;
  moved.ticked = false;
  target.value[toFile] = moved;
  if (Status written = writeResultsFile(targetFolder, target.value); !written) return written;
  if (found->second.ticked) {
    found->second = ShotResult{};
    found->second.ticked = true;
  } else {
    packResults.erase(found);
  }
  resultsChanged = true;
  scheduleResultsFlush();
  return {};
}

Status QMTraining::resetPackResults() {
  if (resultsFolder.empty()) return Status::failure("No pack is loaded");
  if (!resultsWritable) return Status::failure("The pack's results file cannot be replaced");
  for (auto it = packResults.begin(); it != packResults.end();) {
    if (it->second.ticked) {
      it->second = ShotResult{};
      it->second.ticked = true;
      ++it;
    } else {
      it = packResults.erase(it);
    }
  }
  openAttempt.reset();
  resultsChanged = true;
  Status written = writeResultsFile(resultsFolder, packResults);
  if (written) resultsChanged = false;
  applyLoadedResults(false);
  return written;
}
