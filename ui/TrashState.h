#pragma once
// What the window keeps of the trash between frames: the offer to undo the
// last delete or overwrite, and the "Trash" popup's list.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "storage/Trash.h"

// The tabs where a delete or an overwrite happens, and its Undo line shows.
enum class UndoTab { packs, shots };

// `Deleted "NAME". Undo` under the tab's heading, until the next storage
// action or the 30 s of game time its timeout counts.
struct UndoOffer {
  std::optional<TrashEntry> entry;  // none: no line
  UndoTab tab = UndoTab::packs;
  uint64_t actionsAt = 0;   // QMTraining::storageActions when it was offered
  uint64_t offers = 0;      // counts offers; a timeout ends only its own
  std::string failure;      // why the last "Undo" did nothing
};

// Game seconds an Undo line stays.
inline constexpr float undoSeconds = 30;

struct TrashPopupState {
  bool open = false;
  bool confirmingEmpty = false;
  std::vector<TrashEntry> entries;  // as listed when the popup opened or last changed them
  std::string failure;              // why the list or the last action failed
  std::string result;               // what the last restore or empty did
};
