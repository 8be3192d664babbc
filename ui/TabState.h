#pragma once
// Window-level state of the shot editor and of the "Shots" and "Training
// Packs" tabs: what the player chose with a row button and typed into a
// popup. It lives as long as the plug-in and is shared by all frames; Dear
// ImGui itself keeps only which popup is open.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "storage/PackText.h"
#include "ui/NameRules.h"
#include "ui/TextFields.h"

// A list entry chosen with a row button. Besides its index it keeps what
// identified the entry then (a pack's name, a shot's file), so that an
// action confirmed later never reaches an entry the list has since lost or
// moved: at() is the index while it still names that entry, else -1.
struct PendingEntry {
  int32_t index = -1;
  std::string key;

  void choose(int32_t chosenIndex, std::string chosenKey) {
    index = chosenIndex;
    key = std::move(chosenKey);
  }
  template <typename List, typename KeyOf>
  int32_t at(const List& list, KeyOf keyOf) const {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) return -1;
    return keyOf(list[static_cast<size_t>(index)]) == key ? index : -1;
  }
};

// What identifies a shot of the list for a PendingEntry: its file.
inline const std::string& shotKey(const Shot& shot) { return shot.filePath; }

struct ShotEditorState {
  TextBoxBuffer floatBuffer;  // shared by every floatTextBox of the editor
  TextBoxBuffer intBuffer;    // shared by every intTextBox of the editor
  namerules::TakenNameCache nameCache;
  // The file of the shot at editShotIndex when "Edit" was pressed, its whole
  // display name, and that name as the 128-byte name field shows it.
  std::string editShotFile;
  std::string editName;
  std::string editNameShown;
  // The name "Save Shot" or "Edit Shot" last failed to save under; empty
  // after a save or a start.
  std::string failedSaveName;
  std::string saveFailure;  // why it failed, as the editor shows it
  // "speed_enabled" as it was before the editor (or its lag warning) opened
  // and held it at 2; none while the editor is closed.
  std::optional<int32_t> speedModeBefore;
};

struct ShotPopupState {
  PendingEntry pendingShotRename;
  PendingEntry pendingShotDelete;
  PendingEntry pendingShotCopy;
  PendingEntry pendingShotTransfer;
  bool renameShotOpen = false;
  bool deleteShotOpen = false;
  bool copyShotOpen = false;
  bool transferShotOpen = false;
  bool lagWarningPending = false;  // open flag of "Warning"
  char renameShotName[128] = {};
  char copyShotName[128] = {};
  char transferShotName[128] = {};
  char transferShotLabel[128] = {};
  int32_t transferTargetChosen = 0;  // highlighted row of the transfer list
  std::vector<std::string> targetShotNames;  // shot names of the target pack
  int32_t listedTargetPack = -1;              // pack whose names those are
  namerules::TakenNameCache renameCache;
  namerules::TakenNameCache copyCache;
  namerules::TakenNameCache transferCache;
  // Why the last rename, delete, copy or transfer failed (its popup stays
  // open and shows it); empty once a row button opens a popup again.
  std::string failure;
};

// "Share Training Pack": the pack's text as it was when "Share" was pressed.
struct SharePopupState {
  bool open = false;
  std::string packName;
  std::string text;   // empty when `error` says why there is none
  std::string error;
  size_t shotCount = 0;
  std::string leftOut;  // which listed shots the text lacks, "" for none
  std::string result;  // what "Copy To Clipboard" or "Save To File" did
  bool resultFailed = false;
};

// "Import Training Pack": the text pasted, what it holds, the name typed.
struct ImportPopupState {
  bool open = false;
  std::string text;
  DecodedPack decoded;      // of `text`, read again whenever it changes
  std::string nameChanges;  // what the import changes in its names, "" for nothing
  std::string presetFrom;   // the name in the text the name field was last set from
  char packName[128] = {};
  std::string failure;      // why "OK" last did nothing ...
  std::string failedName;   // ... for this name, with this text
};

struct PackPopupState {
  PendingEntry pendingPackRename;
  PendingEntry pendingPackDelete;
  PendingEntry pendingPackCopy;
  bool renamePackOpen = false;
  bool deletePackOpen = false;
  bool copyPackOpen = false;
  bool addPackOpen = false;
  char renamePackName[128] = {};
  char copyPackName[128] = {};
  std::string copyFailure;     // why the last copy made no pack ...
  std::string copyFailedName;  // ... under this name
  std::string deleteFailure;   // why the last delete kept the pack
  char addPackName[128] = {};
  SharePopupState sharing;
  ImportPopupState importing;
};

// A pack or shot grows laggy to load beyond this many shots; adding more
// asks first.
inline constexpr size_t lagWarningThreshold = 60;
