// The "Shots" tab: the current pack's shots, picking one, the row buttons
// with their popups, and the starts of the shot editor. A pack growing past
// lagWarningThreshold shots asks first, in the "Warning" popup, which takes
// precedence over every other popup of the tab.

#include <imgui.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/NameRules.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::beginAutoSizedModal;
using windowparts::closePopup;
using windowparts::okPressed;
using windowparts::PopupChoice;
using windowparts::redMessage;

namespace {

constexpr const char* shotForbiddenMessage =
    "Your shot name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
constexpr const char* missingShotMessage = "This shot is no longer in the pack";
// Pixels: a row of the list (the name and five buttons) needs listMinWidth;
// the preview beside it takes the rest, within these bounds.
constexpr float listMinWidth = 520;
constexpr float previewMinWidth = 260;
constexpr float previewMaxWidth = 460;
constexpr const char* lagWarningText =
    "Adding more shots to this pack may cause lag issues.\nConsider making a new training "
    "pack.\nAre you sure you want to add more?";

using namerules::ShotNameFaults;

// The two wordings of "taken" and "empty": within the pack and in the
// transfer's target pack.
struct ShotNameTexts {
  const char* taken;
  const char* empty;
};
constexpr ShotNameTexts inPackTexts{"A Shot with this name already exists!", "Please Enter A Name"};
constexpr ShotNameTexts inTargetTexts{"A shot with this name already exists!",
                                      "Please enter a name"};

// The red messages under a shot-name field, in the order every one shows
// them; "taken" and "empty" only while the shot is still there.
void drawShotNameMessages(const ShotNameTexts& texts, const ShotNameFaults& faults, bool shotFound,
                          bool takenShown) {
  redMessage(missingShotMessage, !shotFound);
  redMessage(texts.taken, takenShown && shotFound);
  redMessage(texts.empty, faults.empty && shotFound);
  redMessage(shotForbiddenMessage, faults.forbidden);
  windowparts::nameRuleMessages(faults);
  redMessage(namerules::reservedShotNameMessage, faults.reserved);
}

// Why the popup's action failed, while it stays open.
void drawFailure(const ShotPopupState& state) {
  if (!state.failure.empty()) redMessage(state.failure.c_str());
}

const std::string& shotKey(const Shot& shot) { return shot.filePath; }

// What a row's items do, in the order of the row: the name, then the buttons.
enum class RowButton { pick, rename, remove, copy, transfer, edit };

windowparts::RowClick drawShotRows(const std::vector<Shot>& shots, int32_t selectedShot) {
  return windowparts::nameRowsInView(
      shots.size(), selectedShot, 200, {"Rename", "Delete", "Copy", "Transfer", "Edit"},
      [&](int32_t row) { return shots[static_cast<size_t>(row)].displayName(); });
}

// Starting the editor on shot `shotIndex`, or on a new shot. False when a
// console variable they write is missing; they stop there.
bool startEditingShot(QMTraining& plugin, int32_t shotIndex) {
  const Shot& shot = plugin.shots[static_cast<size_t>(shotIndex)];
  plugin.editShotIndex = shotIndex;
  plugin.windowState->shotEditor.editShotFile = shot.filePath;
  plugin.ballLocationX = shot.getBallLocationX();
  plugin.ballLocationY = shot.getBallLocationY();
  plugin.ballLocationZ = shot.getBallLocationZ();
  plugin.ballVelocityX = shot.getBallVelocityX();
  plugin.ballVelocityY = shot.getBallVelocityY();
  plugin.ballVelocityZ = shot.getBallVelocityZ();
  plugin.carLocationX = shot.getCarLocationX();
  plugin.carLocationY = shot.getCarLocationY();
  plugin.carLocationZ = shot.getCarLocationZ();
  plugin.carYaw = shot.getCarYaw();
  plugin.carPitch = shot.getCarPitch();
  plugin.carRoll = shot.getCarRoll();
  plugin.ballSpeed = shot.getBallSpeed();
  plugin.currentShotName = shot.displayName();

  CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed);
  if (!speed) return false;
  speed.setValue(plugin.ballSpeed);
  namerules::setFieldText(plugin.shotNameInput, plugin.currentShotName);
  plugin.windowState->shotEditor.editName = plugin.currentShotName;
  plugin.windowState->shotEditor.editNameShown = plugin.shotNameInput;
  if (!plugin.holdEditorSpeed()) return false;

  plugin.modifiersActive = false;
  plugin.trainingActive = false;
  // Straight into the members, not through their variables: the editor's
  // test buttons work while the plug-in is switched off, and the car stays
  // put until the player asks for it.
  plugin.pluginEnabled = true;
  plugin.carResetEnabled = false;
  plugin.editingShot = true;
  plugin.editorOpen = true;
  plugin.windowState->shotEditor.failedSaveName.clear();
  CVarWrapper carEnabled = plugin.cvarManager->getCvar(cvarname::carEnabled);
  if (!carEnabled) return false;
  carEnabled.setValue(0);
  return true;
}

bool startNewShot(QMTraining& plugin) {
  plugin.ballLocationX = plugin.ballLocationY = plugin.ballLocationZ = 0;
  plugin.ballVelocityX = plugin.ballVelocityY = plugin.ballVelocityZ = 0;
  plugin.carLocationX = plugin.carLocationY = plugin.carLocationZ = 0;
  plugin.carYaw = plugin.carPitch = plugin.carRoll = 0;
  plugin.ballSpeed = shotfile::defaultBallSpeed;
  CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed);
  if (!speed) return false;
  speed.setValue(plugin.ballSpeed);
  if (!plugin.holdEditorSpeed()) return false;

  plugin.currentShotName = "Insert Shot Name Here";
  namerules::setFieldText(plugin.shotNameInput, plugin.currentShotName);
  plugin.modifiersActive = false;
  plugin.trainingActive = false;
  plugin.pluginEnabled = true;
  plugin.carResetEnabled = false;
  plugin.windowState->shotEditor.failedSaveName.clear();
  if (plugin.shots.size() >= lagWarningThreshold) {
    plugin.windowState->shotPopups.lagWarningPending = true;
  } else {
    plugin.editorOpen = true;
  }
  plugin.editingShot = false;
  return true;
}

// The five popups of the tab, drawn inside the list region, where their row
// buttons are. `pack` is the current pack ("TrainingPackNum").
class ShotPopups {
 public:
  ShotPopups(QMTraining& plugin, int32_t pack)
      : plugin_(plugin), state_(plugin.windowState->shotPopups), shots_(plugin.shots), pack_(pack) {}
  void draw();

 private:
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

void ShotPopups::draw() {
  // Both the warning and the popup it guards open at the same level, so
  // asking for the warning alone replaces whichever is open; the guarded
  // popup opens again once the warning is answered.
  if (state_.lagWarningPending) {
    ImGui::OpenPopup("Warning");
  } else {
    if (state_.renameShotOpen) ImGui::OpenPopup("Rename Shot");
    if (state_.deleteShotOpen) ImGui::OpenPopup("Delete Shot");
    if (state_.transferShotOpen) ImGui::OpenPopup("Transfer Shot");
    if (state_.copyShotOpen) ImGui::OpenPopup("Copy Shot");
  }
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
  redMessage(lagWarningText);
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
  if (!ImGui::BeginPopupModal("Transfer Shot", nullptr, ImGuiWindowFlags_NoResize)) return;
  ImGui::SetWindowSize(ImVec2(650, 400));
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
  drawShotNameMessages(inTargetTexts, faults, shotChosen, taken && targetChosen);
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
  drawShotNameMessages(inPackTexts, faults, shot >= 0, taken);
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
                              shot >= 0 ? name.c_str() : nullptr, missingShotMessage);
  drawFailure(state_);
  if (okPressed(state_.deleteShotOpen) && shot >= 0 &&
      succeeded(shots_[static_cast<size_t>(shot)].deleteShotFile())) {
    plugin_.loadTrainingPack(pack_);
    closePopup(state_.deleteShotOpen);
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
  drawShotNameMessages(inPackTexts, faults, shot >= 0, taken && !ownName);
  drawFailure(state_);

  // Keeping the shot's own name counts as taken: nothing to do.
  if (okPressed(state_.renameShotOpen) && shot >= 0 && !faults.any() &&
      !namerules::shotNameTaken(shots_, name) &&
      succeeded(shots_[static_cast<size_t>(shot)].renameShot(name))) {
    plugin_.loadTrainingPack(pack_);
    closePopup(state_.renameShotOpen);
  }
  ImGui::EndPopup();
}

// What a click on a row's selectable or button does. False when "Edit"
// found a console variable missing; the frame ends there.
bool actOnRow(QMTraining& plugin, windowparts::RowClick action, CVarWrapper& shotNumber) {
  const Shot& shot = plugin.shots[static_cast<size_t>(action.row)];
  ShotPopupState& state = plugin.windowState->shotPopups;
  if (static_cast<RowButton>(action.item) != RowButton::pick) state.failure.clear();
  switch (static_cast<RowButton>(action.item)) {
    case RowButton::pick:
      shotNumber.setValue(action.row);
      plugin.trainingActive = false;
      plugin.modifiersActive = false;
      plugin.loadSelectedShot();
      break;
    case RowButton::rename:
      state.pendingShotRename.choose(action.row, shotKey(shot));
      namerules::setFieldText(state.renameShotName, shot.displayName());
      state.renameShotOpen = true;
      break;
    case RowButton::remove:
      state.pendingShotDelete.choose(action.row, shotKey(shot));
      state.deleteShotOpen = true;
      break;
    case RowButton::copy:
      state.pendingShotCopy.choose(action.row, shotKey(shot));
      if (plugin.shots.size() >= lagWarningThreshold) state.lagWarningPending = true;
      namerules::setFieldText(state.copyShotName, "Copied Shot Name");
      state.copyShotOpen = true;
      break;
    case RowButton::transfer:
      state.pendingShotTransfer.choose(action.row, shotKey(shot));
      plugin.transferTargetPack = 0;
      state.transferTargetChosen = 0;
      // Listed afresh for every transfer: the target may have gained shots
      // since it was last listed.
      state.listedTargetPack = -1;
      namerules::setFieldText(state.transferShotLabel, shot.displayName());
      namerules::setFieldText(state.transferShotName, shot.displayName());
      state.transferShotOpen = true;
      break;
    case RowButton::edit:
      return startEditingShot(plugin, action.row);
  }
  return true;
}

}  // namespace

void QMTraining::renderShotsTab() {
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  if (!packNumber) return;
  CVarWrapper shotNumber = cvarManager->getCvar(cvarname::shotNumber1);
  if (!shotNumber) return;
  const int32_t pack = packNumber.getIntValue();
  if (const std::string* name = packAt(trainingPacks, pack)) {
    ImGui::Text("Selected: %s", name->c_str());
  }

  // The preview of the current shot goes beside the list, which keeps the
  // room its rows need.
  const float width = ImGui::GetContentRegionAvail().x;
  const float gap = ImGui::GetStyle().ItemSpacing.x;
  const float previewWidth = std::clamp(width - listMinWidth - gap, previewMinWidth, previewMaxWidth);
  windowparts::beginListRegion("Shot List", width - previewWidth - gap);
  const windowparts::RowClick action = drawShotRows(shots, shotNumber.getIntValue());
  const bool variablesFound = action.row < 0 || actOnRow(*this, action, shotNumber);
  if (variablesFound) ShotPopups(*this, pack).draw();
  ImGui::EndChild();
  if (!variablesFound) return;
  ImGui::SameLine();
  renderShotPreview(shotNumber.getIntValue(), previewWidth, windowparts::listRegionHeight);

  if (ImGui::Button("Create New Shot")) startNewShot(*this);
}
