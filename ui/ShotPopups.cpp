// The "Shots" tab's popups: rename, delete, copy and transfer a shot, and the
// warning a pack growing past lagWarningThreshold shots shows first.

#include "ui/ShotPopups.h"

#include <imgui.h>

#include <string>
#include <string_view>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/NameRules.h"
#include "ui/ShotMessages.h"
#include "ui/TrashPopup.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::beginAutoSizedModal;
using windowparts::closePopup;
using windowparts::okPressed;
using windowparts::PopupChoice;
using windowparts::redMessage;

namespace {

using namerules::ShotNameFaults;

// The red messages under a shot-name field, in the order every one shows
// them; "taken" and "empty" only while the shot is still there.
void drawShotNameMessages(const shotmessages::NameTexts& texts, const ShotNameFaults& faults, bool shotFound,
                          bool takenShown) {
  redMessage(shotmessages::missingShot, !shotFound);
  redMessage(texts.taken, takenShown && shotFound);
  redMessage(texts.empty, faults.empty && shotFound);
  redMessage(shotmessages::popupForbidden, faults.forbidden);
  windowparts::nameRuleMessages(faults);
  redMessage(namerules::reservedShotNameMessage, faults.reserved);
}

// Why the popup's action failed, while it stays open.
void drawFailure(const ShotPopupState& state) {
  if (!state.failure.empty()) redMessage(state.failure.c_str());
}

class ShotPopups {
 public:
  ShotPopups(QMTraining& plugin, int32_t pack)
      : plugin_(plugin), state_(plugin.windowState->shotPopups), shots_(plugin.shots), pack_(pack) {}
  void draw();

 private:
  const char* popupToShow() const;
  void lagWarning();
  void transfer();
  void copy();
  void remove();
  void rename();
  bool transferPendingShot();
  // Says why an action failed, in its popup, which stays open; true when it
  // succeeded.
  bool succeeded(const Status& done);

  QMTraining& plugin_;
  ShotPopupState& state_;
  std::vector<Shot>& shots_;
  int32_t pack_;
};

// The one popup that shows this frame. The lag warning comes first: it
// guards the popup that asked for it, which opens again once the warning is
// answered (both open at the same level, so opening one replaces the other).
const char* ShotPopups::popupToShow() const {
  if (state_.lagWarningPending) return "Warning";
  if (state_.renameShotOpen) return "Rename Shot";
  if (state_.deleteShotOpen) return "Delete Shot";
  if (state_.transferShotOpen) return "Transfer Shot";
  if (state_.copyShotOpen) return "Copy Shot";
  return nullptr;
}

void ShotPopups::draw() {
  if (const char* popup = popupToShow()) ImGui::OpenPopup(popup);
  lagWarning();
  transfer();
  copy();
  remove();
  rename();
}

bool ShotPopups::succeeded(const Status& done) {
  state_.failure = done.error;
  return done.ok();
}

bool ShotPopups::transferPendingShot() {
  const int32_t shot = state_.pendingShotTransfer.at(shots_, shotKey);
  if (shot < 0) return false;
  const std::string name = namerules::storedShotName(state_.transferShotName);
  if (!succeeded(plugin_.copyShotToPack(pack_, plugin_.transferTargetPack, shot, name))) {
    return false;
  }
  // The target's names are read again at the next transfer.
  state_.listedTargetPack = -1;
  plugin_.loadTrainingPack(pack_);
  return true;
}

void ShotPopups::lagWarning() {
  if (!beginAutoSizedModal("Warning")) return;
  redMessage(shotmessages::lagWarning);
  switch (windowparts::okCancelRow()) {
    case PopupChoice::ok:
      if (state_.transferShotOpen) {
        // A failed transfer shows its popup again, saying why.
        if (transferPendingShot()) state_.transferShotOpen = false;
      } else if (!state_.renameShotOpen && !state_.deleteShotOpen && !state_.copyShotOpen &&
                 !plugin_.editingShot && !plugin_.editorOpen) {
        plugin_.editorOpen = true;  // a new shot goes on to the editor
      }
      closePopup(state_.lagWarningPending);
      break;
    case PopupChoice::cancel:
      state_.renameShotOpen = false;
      state_.deleteShotOpen = false;
      state_.transferShotOpen = false;
      state_.copyShotOpen = false;
      plugin_.editingShot = false;
      plugin_.editorOpen = false;
      plugin_.restoreAfterEditor();
      closePopup(state_.lagWarningPending);
      break;
    case PopupChoice::none:
      break;
  }
  ImGui::EndPopup();
}

void ShotPopups::transfer() {
  // Sized before it begins: a popup that first showed smaller would scroll
  // to the name field that takes the focus, hiding the pack list.
  ImGui::SetNextWindowSize(ImVec2(650, 400));
  if (!ImGui::BeginPopupModal("Transfer Shot", nullptr, ImGuiWindowFlags_NoResize)) return;
  ImGui::TextWrapped("Select a training pack to transfer the shot named: %s",
                     state_.transferShotLabel);

  ImGui::BeginChild("PackList", ImVec2(300, 200), true);
  const std::vector<std::string>& packs = plugin_.trainingPacks;
  const windowparts::RowClick click =
      windowparts::nameRowsInView(packs.size(), state_.transferTargetChosen, 0, {},
                                  [&](int32_t row) -> const std::string& { return packs[static_cast<size_t>(row)]; });
  ImGui::EndChild();
  if (click.row >= 0) {
    state_.transferTargetChosen = click.row;
    plugin_.transferTargetPack = click.row;
  }
  if (plugin_.transferTargetPack != state_.listedTargetPack) {
    state_.targetShotNames = plugin_.listPackShotNames(plugin_.transferTargetPack);
    state_.listedTargetPack = plugin_.transferTargetPack;
  }

  const std::string_view typed = windowparts::nameField("##NameInput", state_.transferShotName);
  const std::string name = namerules::storedShotName(typed);
  const bool shotChosen = state_.pendingShotTransfer.at(shots_, shotKey) >= 0;
  const bool targetChosen = packAt(plugin_.trainingPacks, plugin_.transferTargetPack) != nullptr;
  const bool taken = state_.transferCache.shotNameListed(state_.targetShotNames, name);
  const ShotNameFaults faults(typed);
  drawShotNameMessages(shotmessages::inTarget, faults, shotChosen, taken && targetChosen);
  drawFailure(state_);

  if (okPressed(state_.transferShotOpen) && shotChosen && !faults.any() &&
      !namerules::shotNameListed(state_.targetShotNames, name)) {
    if (state_.targetShotNames.size() >= lagWarningThreshold) {
      // Only the warning is asked for from the next frame on; its "OK"
      // makes the transfer.
      state_.lagWarningPending = true;
    } else if (transferPendingShot()) {
      closePopup(state_.transferShotOpen);
    }
  }
  ImGui::EndPopup();
}

void ShotPopups::copy() {
  if (!beginAutoSizedModal("Copy Shot")) return;
  const std::string_view typed = windowparts::nameField("##NameInput", state_.copyShotName);
  const std::string name = namerules::storedShotName(typed);
  const int32_t shot = state_.pendingShotCopy.at(shots_, shotKey);
  const bool taken = state_.copyCache.shotNameTaken(shots_, name);
  const ShotNameFaults faults(typed);
  drawShotNameMessages(shotmessages::inPack, faults, shot >= 0, taken);
  drawFailure(state_);

  if (okPressed(state_.copyShotOpen) && shot >= 0 && !faults.any() &&
      !namerules::shotNameTaken(shots_, name) &&
      succeeded(plugin_.copyShotToPack(pack_, pack_, shot, name))) {
    plugin_.loadTrainingPack(pack_);
    closePopup(state_.copyShotOpen);
  }
  ImGui::EndPopup();
}

void ShotPopups::remove() {
  if (!beginAutoSizedModal("Delete Shot")) return;
  const int32_t shot = state_.pendingShotDelete.at(shots_, shotKey);
  const std::string name = shot >= 0 ? shots_[static_cast<size_t>(shot)].displayName() : "";
  windowparts::deleteQuestion("Are You Sure You Want To Delete This Shot. This is Permanent",
                              shot >= 0 ? name.c_str() : nullptr, shotmessages::missingShot);
  drawFailure(state_);
  if (okPressed(state_.deleteShotOpen) && shot >= 0) {
    // Into the trash; a shot the trash cannot take is not deleted.
    Outcome<TrashEntry> trashed = plugin_.deleteShotAt(shot);
    if (succeeded(trashed ? Status{} : Status::failure(trashed.error))) {
      plugin_.loadTrainingPack(pack_);
      offerUndo(plugin_, std::move(trashed.value), UndoTab::shots);
      closePopup(state_.deleteShotOpen);
    }
  }
  ImGui::EndPopup();
}

void ShotPopups::rename() {
  if (!beginAutoSizedModal("Rename Shot")) return;
  const std::string_view typed = windowparts::nameField("##RenameInput", state_.renameShotName);
  const std::string name = namerules::storedShotName(typed);
  const int32_t shot = state_.pendingShotRename.at(shots_, shotKey);
  const bool ownName =
      shot >= 0 && namerules::sameDisplayName(shots_[static_cast<size_t>(shot)].name, name);
  const bool taken = state_.renameCache.shotNameTaken(shots_, name);
  const ShotNameFaults faults(typed);
  drawShotNameMessages(shotmessages::inPack, faults, shot >= 0, taken && !ownName);
  drawFailure(state_);

  // Keeping the shot's own name counts as taken: nothing to do.
  if (okPressed(state_.renameShotOpen) && shot >= 0 && !faults.any() &&
      !namerules::shotNameTaken(shots_, name) &&
      succeeded(plugin_.renameShotAt(shot, name))) {
    plugin_.loadTrainingPack(pack_);
    closePopup(state_.renameShotOpen);
  }
  ImGui::EndPopup();
}

}  // namespace

void drawShotPopups(QMTraining& plugin, int32_t pack) { ShotPopups(plugin, pack).draw(); }
