// The "Training Packs" tab: the pack list, choosing the current pack, the
// popups that add, copy, rename and delete packs after checking the name
// typed for them, and those that share a pack as one text and import one.
// The store reports its own results on the console; sharing and importing
// report theirs in their popups.

#include <imgui.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "storage/PackText.h"
#include "storage/StorageMessages.h"
#include "ui/NameRules.h"
#include "ui/TrashPopup.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::beginAutoSizedModal;
using windowparts::closePopup;
using windowparts::nameField;
using windowparts::okPressed;
using windowparts::redMessage;

namespace {

constexpr const char* takenMessage = "A training pack with this name already exists!";
constexpr const char* emptyMessage = "Please Enter A Name";
constexpr const char* forbiddenMessage =
    "Your training pack name cannot contain the characters . , / , \\ , | , * , ? , \" , < , "
    "or >";
constexpr const char* missingPackMessage = storagemessages::packGone;

const std::string& packKey(const std::string& pack) { return pack; }

using namerules::PackNameFaults;

// The messages of the add and copy popups after any about a missing pack.
void drawPackNameMessages(const PackNameFaults& faults, bool taken) {
  redMessage(takenMessage, taken);
  redMessage(emptyMessage, faults.empty);
  redMessage(forbiddenMessage, faults.forbidden);
  windowparts::nameRuleMessages(faults);
}

// The name field of a popup that makes a new pack, with the messages of
// "Add Training Pack" under it; the name as a pack is given it, cleaned by
// the name rule (spaces at its ends trimmed).
struct NewPackName {
  std::string clean;
  bool usable;
};

// `first`: the popup's first field, focused as it opens; `told`: its
// messages show (not before the player has given the popup anything).
template <size_t N>
NewPackName newPackNameField(const char* id, char (&field)[N], const std::vector<std::string>& packs,
                             bool first = true, bool told = true) {
  const std::string_view typed = nameField(id, field, first);
  std::string clean = cleanPackName(typed);
  const bool taken = namerules::packNameTaken(packs, clean);
  const PackNameFaults faults(typed);
  if (told) drawPackNameMessages(faults, taken);
  return {std::move(clean), !taken && !faults.any()};
}

// What a row's items do, in the order of the row: the name, then the buttons.
enum class RowButton { pick, rename, remove, copy, share };

windowparts::RowClick drawPackRows(const std::vector<std::string>& packs, int32_t currentPack) {
  return windowparts::nameRowsInView(
      packs.size(), currentPack, 200, {"Rename", "Delete", "Copy", "Share"},
      [&](int32_t row) -> const std::string& { return packs[static_cast<size_t>(row)]; });
}

// Dear ImGui keeps a popup open across a reload of the plug-in, which forgets
// what the popup held (its open flag is clear): such a popup closes. True
// when it did; the popup is ended then.
bool closedIfForgotten(bool openFlag) {
  if (openFlag) return false;
  ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
  return true;
}

// The size of the popups' fields for a whole pack text.
const ImVec2 packTextFieldSize(560, 220);

void openSharePopup(QMTraining& plugin, const std::string& pack) {
  SharePopupState& share = plugin.windowState->packPopups.sharing;
  Outcome<PackExport> exported = plugin.exportTrainingPack(pack);
  share = SharePopupState{};
  share.open = true;
  share.packName = pack;
  share.text = std::move(exported.value.text);
  share.error = std::move(exported.error);
  share.shotCount = exported.value.shotCount;
  share.leftOut = leftOutText(exported.value);
}

void readImportText(ImportPopupState& importing) {
  importing.decoded = decodePackText(importing.text);
  importing.nameChanges = nameChangesText(importing.decoded);
  // A new name in the text replaces the name field's text; the player's own
  // edits stay while the text names the same pack.
  if (importing.decoded.ok() && importing.decoded.name != importing.presetFrom) {
    importing.presetFrom = importing.decoded.name;
    namerules::setFieldText(importing.packName, cleanPackName(importing.decoded.name));
  }
}

void openImportPopup(ImportPopupState& importing) {
  importing = ImportPopupState{};
  importing.open = true;
  readImportText(importing);
}

// The popups; "Add Training Pack" and "Import Training Pack" are drawn
// outside the list region, where their buttons are.
class PackPopups {
 public:
  explicit PackPopups(QMTraining& plugin)
      : plugin_(plugin), state_(plugin.windowState->packPopups), packs_(plugin.trainingPacks) {}
  void copy();
  void remove();
  void rename();
  void add();
  void share();
  void importPack();

 private:
  QMTraining& plugin_;
  PackPopupState& state_;
  const std::vector<std::string>& packs_;
};

void PackPopups::copy() {
  if (!beginAutoSizedModal("Copy Training Pack")) return;
  const int32_t source = state_.pendingPackCopy.at(packs_, packKey);
  redMessage(missingPackMessage, source < 0);
  const NewPackName name = newPackNameField("##NameInput", state_.copyPackName, packs_);
  // A copy that failed keeps the popup open saying why, while the name is
  // the one it failed for.
  redMessage(state_.copyFailure.c_str(), !state_.copyFailure.empty() && name.clean == state_.copyFailedName);
  if (okPressed(state_.copyPackOpen) && source >= 0 && name.usable) {
    Outcome<std::string> made = plugin_.copyTrainingPack(source, name.clean);
    if (made.ok()) {
      closePopup(state_.copyPackOpen);
    } else {
      state_.copyFailure = std::move(made.error);
      state_.copyFailedName = name.clean;
    }
  }
  ImGui::EndPopup();
}

void PackPopups::remove() {
  if (!beginAutoSizedModal("Delete Training Pack")) return;
  const int32_t pack = state_.pendingPackDelete.at(packs_, packKey);
  windowparts::deleteQuestion("Are You Sure You Want To Delete This Pack. This is Permanent",
                              pack >= 0 ? packs_[static_cast<size_t>(pack)].c_str() : nullptr,
                              missingPackMessage);
  // A pack the trash cannot take is not deleted; the popup says why.
  redMessage(state_.deleteFailure.c_str(), !state_.deleteFailure.empty());
  if (okPressed(state_.deletePackOpen) && pack >= 0) {
    Outcome<TrashEntry> trashed = plugin_.deleteTrainingPack(pack);
    if (trashed) {
      offerUndo(plugin_, std::move(trashed.value), UndoTab::packs);
      closePopup(state_.deletePackOpen);
    } else {
      state_.deleteFailure = std::move(trashed.error);
    }
  }
  ImGui::EndPopup();
}

void PackPopups::rename() {
  if (!beginAutoSizedModal("Rename Training Pack")) return;
  const std::string_view typed = nameField("##RenameInput", state_.renamePackName);
  const std::string clean = cleanPackName(typed);
  const int32_t pack = state_.pendingPackRename.at(packs_, packKey);
  const bool ownName =
      pack >= 0 && namerule::samePackName(packs_[static_cast<size_t>(pack)], clean);
  const bool taken = namerules::packNameTaken(packs_, clean);
  const PackNameFaults faults(typed);
  redMessage(missingPackMessage, pack < 0);
  redMessage(forbiddenMessage, faults.forbidden);
  redMessage(emptyMessage, faults.empty);
  redMessage(takenMessage, taken && !ownName);
  windowparts::nameRuleMessages(faults);
  // Keeping the pack's own name counts as taken: nothing to do.
  if (okPressed(state_.renamePackOpen) && pack >= 0 && !taken && !faults.any()) {
    plugin_.renameTrainingPack(pack, clean);
    closePopup(state_.renamePackOpen);
  }
  ImGui::EndPopup();
}

void PackPopups::add() {
  if (!beginAutoSizedModal("Add Training Pack")) return;
  const NewPackName name = newPackNameField("##NameInput", state_.addPackName, packs_);
  if (okPressed(state_.addPackOpen) && name.usable) {
    plugin_.createTrainingPack(name.clean);
    closePopup(state_.addPackOpen);
  }
  ImGui::EndPopup();
}

void PackPopups::share() {
  SharePopupState& popup = state_.sharing;
  if (!beginAutoSizedModal("Share Training Pack")) return;
  if (closedIfForgotten(popup.open)) return;
  const bool listed = std::find(packs_.begin(), packs_.end(), popup.packName) != packs_.end();
  if (listed) ImGui::Text("Selected: %s", popup.packName.c_str());
  if (!listed) {
    redMessage(missingPackMessage);
  } else if (!popup.error.empty()) {
    redMessage(popup.error.c_str());
  } else {
    ImGui::TextUnformatted(shotCountText(popup.shotCount).c_str());
    if (!popup.leftOut.empty()) redMessage(popup.leftOut.c_str());
    ImGui::TextUnformatted("The pack as one text:");
    windowparts::readOnlyMultilineField("##PackText", popup.text, packTextFieldSize);
    if (ImGui::Button("Copy To Clipboard")) {
      ImGui::SetClipboardText(popup.text.c_str());
      popup.result = "Copied to the clipboard";
      popup.resultFailed = false;
    }
    ImGui::SameLine();
    if (ImGui::Button("Save To File")) {
      Outcome<std::string> saved = plugin_.saveExportedPack(popup.packName, popup.text);
      popup.resultFailed = !saved.ok();
      popup.result = saved.ok() ? "Saved to " + saved.value : saved.error;
    }
    ImGui::SameLine();
  }
  if (ImGui::Button("Close")) closePopup(popup.open);
  if (popup.resultFailed) {
    redMessage(popup.result.c_str());
  } else if (!popup.result.empty()) {
    ImGui::TextUnformatted(popup.result.c_str());
  }
  ImGui::EndPopup();
}

void PackPopups::importPack() {
  ImportPopupState& importing = state_.importing;
  if (!beginAutoSizedModal("Import Training Pack")) return;
  if (closedIfForgotten(importing.open)) return;
  ImGui::TextUnformatted("Paste the pack's text here:");
  windowparts::focusNextWhenAppearing();
  bool textChanged = windowparts::multilineField("##ImportText", importing.text, packTextFieldSize);
  if (ImGui::Button("Paste From Clipboard")) {
    const char* clipboard = ImGui::GetClipboardText();
    importing.text = clipboard ? clipboard : "";
    textChanged = true;
  }
  if (textChanged) {
    readImportText(importing);
    importing.failure.clear();
  }
  // Nothing is wrong before the player has pasted or typed anything.
  const bool given = !importing.text.empty();
  if (importing.decoded.ok()) {
    ImGui::TextUnformatted(shotCountText(importing.decoded.shots.size()).c_str());
    if (!importing.nameChanges.empty()) ImGui::TextWrapped("%s", importing.nameChanges.c_str());
  } else if (given) {
    redMessage(importing.decoded.error.c_str());
  }

  const NewPackName name = newPackNameField("##ImportName", importing.packName, packs_, false, given);
  const bool failedBefore = !importing.failure.empty() && name.clean == importing.failedName;
  redMessage(importing.failure.c_str(), failedBefore);
  if (okPressed(importing.open) && importing.decoded.ok() && name.usable) {
    const std::string& chosen = name.clean;
    Outcome<std::string> made = plugin_.importTrainingPack(importing.decoded, chosen);
    if (made.ok()) {
      closePopup(importing.open);
    } else {
      importing.failure = made.error;
      importing.failedName = chosen;
    }
  }
  ImGui::EndPopup();
}

}  // namespace

void QMTraining::renderTrainingPacksTab() {
  ImGui::TextWrapped("Here you can switch between training packs.\n");
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  if (!packNumber) return;
  const int32_t currentPack = packNumber.getIntValue();
  if (const std::string* name = packAt(trainingPacks, currentPack)) {
    ImGui::Text("Selected: %s", name->c_str());
  }
  drawUndoLine(*this, UndoTab::packs);
  PackPopupState& state = windowState->packPopups;

  windowparts::beginListRegion("TrainingPackList");
  const windowparts::RowClick action = drawPackRows(trainingPacks, currentPack);
  if (action.row >= 0) {
    const std::string& pack = trainingPacks[static_cast<size_t>(action.row)];
    switch (static_cast<RowButton>(action.item)) {
      case RowButton::pick:
        packNumber.setValue(action.row);
        loadTrainingPack(action.row);
        break;
      case RowButton::rename:
        state.pendingPackRename.choose(action.row, pack);
        namerules::setFieldText(state.renamePackName, pack);
        state.renamePackOpen = true;
        break;
      case RowButton::remove:
        state.pendingPackDelete.choose(action.row, pack);
        state.deleteFailure.clear();
        state.deletePackOpen = true;
        break;
      case RowButton::copy:
        state.pendingPackCopy.choose(action.row, pack);
        namerules::setFieldText(state.copyPackName, "Copied Pack Name");
        state.copyFailure.clear();
        state.copyPackOpen = true;
        break;
      case RowButton::share:
        openSharePopup(*this, pack);
        break;
    }
  }
  if (state.copyPackOpen) ImGui::OpenPopup("Copy Training Pack");
  if (state.renamePackOpen) ImGui::OpenPopup("Rename Training Pack");
  if (state.deletePackOpen) ImGui::OpenPopup("Delete Training Pack");
  if (state.sharing.open) ImGui::OpenPopup("Share Training Pack");
  PackPopups popups(*this);
  popups.copy();
  popups.remove();
  popups.rename();
  popups.share();
  ImGui::EndChild();

  ImGui::TextUnformatted("\n");
  if (ImGui::SmallButton("Add A New Pack")) {
    namerules::setFieldText(state.addPackName, "New Pack Name");
    state.addPackOpen = true;
  }
  ImGui::SameLine();
  if (ImGui::SmallButton("Import Pack")) openImportPopup(state.importing);
  ImGui::SameLine();
  if (ImGui::SmallButton("Reload Packs")) loadTrainingPacks();
  ImGui::SameLine();
  drawTrashButton(*this);
  if (state.addPackOpen) ImGui::OpenPopup("Add Training Pack");
  if (state.importing.open) ImGui::OpenPopup("Import Training Pack");
  popups.add();
  popups.importPack();
}
