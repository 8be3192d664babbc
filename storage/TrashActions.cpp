// The plug-in's side of the trash (storage/Trash.h): what a delete or an
// overwrite keeps, and putting it back from the window or the console.

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "platform/Utf8Path.h"
#include "storage/NameRule.h"
#include "storage/PackPaths.h"
#include "storage/StorageMessages.h"

namespace fs = std::filesystem;

Outcome<TrashEntry> QMTraining::deleteShot(const Shot& shot) {
  return moveShotToTrash(trashFolderPath(dataFolderPath()), shot.filePath, shot.displayName(), clockSeconds());
}

Outcome<std::optional<TrashEntry>> QMTraining::keepBeforeOverwrite(const Shot& shot) {
  using Kept = Outcome<std::optional<TrashEntry>>;
  std::error_code error;
  if (fs::symlink_status(pathFromUtf8(shot.filePath), error).type() == fs::file_type::not_found) {
    return Kept::success(std::nullopt);
  }
  // The bytes are taken from the file as it is now, not from the record.
  Outcome<TrashEntry> kept =
      copyShotToTrash(trashFolderPath(dataFolderPath()), shot.filePath, shot.displayName(), clockSeconds());
  if (!kept) return Kept::failure(std::move(kept.error));
  return Kept::success(std::move(kept.value));
}

Outcome<std::vector<TrashEntry>> QMTraining::listTrashEntries() {
  return listTrash(trashFolderPath(dataFolderPath()));
}

Outcome<std::string> QMTraining::restoreFromTrash(const TrashEntry& entry) {
  const auto listedAlike = [this](const std::string& name) {
    return std::any_of(trainingPacks.begin(), trainingPacks.end(),
                       [&](const std::string& pack) { return namerule::samePackName(pack, name); });
  };
  Outcome<RestoredItem> restored =
      restoreTrashEntry(entry, packsFolderPath(dataFolderPath()), listedAlike);
  if (!restored) return Outcome<std::string>::failure(restored.error);
  ++storageActions;
  loadTrainingPacks();
  if (CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum)) {
    if (packAt(trainingPacks, packNumber.getIntValue())) loadTrainingPack(packNumber.getIntValue());
  }
  std::string done = entry.kind == TrashKind::deletedPack
                         ? fmt::format(storagemessages::restoredPack, restored.value.name)
                         : fmt::format(storagemessages::restoredShot, restored.value.name, entry.pack);
  if (!restored.value.entryLeft.empty()) {
    // Done, but not all of it: said wherever the restore was asked for.
    done += fmt::format(storagemessages::emptiedEntryLeft, restored.value.entryLeft);
    logLine(done);
  }
  return Outcome<std::string>::success(std::move(done));
}

Outcome<size_t> QMTraining::emptyTrashEntries() {
  ++storageActions;
  return emptyTrash(trashFolderPath(dataFolderPath()));
}

void QMTraining::restoreLast() {
  Outcome<std::vector<TrashEntry>> entries = listTrashEntries();
  if (!entries) {
    logLine(storagemessages::restoreFailed, entries.error);
    return;
  }
  if (entries.value.empty()) {
    logLine(storagemessages::trashEmpty);
    return;
  }
  Outcome<std::string> restored = restoreFromTrash(entries.value.front());
  if (restored) {
    logLine(restored.value);
  } else {
    logLine(storagemessages::restoreFailed, restored.error);
  }
}

void QMTraining::pruneTrashAtStart() {
  Outcome<size_t> pruned = pruneTrash(trashFolderPath(dataFolderPath()), clockSeconds());
  if (!pruned) {
    logLine(storagemessages::trashNotPruned, pruned.error);
  } else if (pruned.value > 0) {
    logLine(storagemessages::trashPruned, pruned.value);
  }
}
