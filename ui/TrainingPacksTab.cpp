// The "Training Packs" tab: the pack list, choosing the current pack, and
// the popups that add, copy, rename and delete packs after checking the
// name typed for them. The store reports its own results on the console.

#include <imgui.h>

#include <string>
#include <string_view>

#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/NameRules.h"
#include "ui/WindowParts.h"

using windowparts::closePopup;
using windowparts::PopupChoice;
using windowparts::redMessage;

namespace {

constexpr const char* takenMessage = "A training pack with this name already exists!";
constexpr const char* emptyMessage = "Please Enter A Name";
constexpr const char* forbiddenMessage =
    "Your training pack name cannot contain the characters . , / , \\ , | , * , ? , \" , < , "
    "or >";
constexpr const char* missingPackMessage = "This training pack is no longer in the list";

const std::string& packKey(const std::string& pack) { return pack; }

// What a typed pack name has wrong apart from being taken.
struct PackNameFaults {
  bool empty;
  bool forbidden;
  bool blank;

  explicit PackNameFaults(std::string_view text)
      : empty(text.empty()),
        forbidden(namerules::containsAnyOf(text, namerules::forbiddenPackCharacters)),
        blank(namerules::isBlankName(text)) {}
  bool any() const { return empty || forbidden || blank; }
};

enum class RowButton { none, pick, rename, remove, copy };

struct RowAction {
  RowButton button = RowButton::none;
  int32_t row = -1;
};

RowAction drawPackRows(const std::vector<std::string>& packs, int32_t currentPack) {
  RowAction action;
  const auto act = [&](RowButton button, int32_t row) { action = {button, row}; };
  ImGuiListClipper clipper;
  clipper.Begin(static_cast<int>(packs.size()));
  while (clipper.Step()) {
    for (int32_t row = clipper.DisplayStart; row < clipper.DisplayEnd; ++row) {
      ImGui::PushID(row);
      if (windowparts::nameSelectable(packs[static_cast<size_t>(row)], currentPack == row, 200)) {
        act(RowButton::pick, row);
      }
      ImGui::SameLine();
      if (ImGui::SmallButton("Rename")) act(RowButton::rename, row);
      ImGui::SameLine();
      if (ImGui::SmallButton("Delete")) act(RowButton::remove, row);
      ImGui::SameLine();
      if (ImGui::SmallButton("Copy")) act(RowButton::copy, row);
      ImGui::PopID();
    }
  }
  return action;
}

// The four popups; "Add Training Pack" is drawn outside the list region,
// where its button is.
class PackPopups {
 public:
  explicit PackPopups(QMTraining& plugin)
      : plugin_(plugin), state_(plugin.packPopups), packs_(plugin.trainingPacks) {}
  void copy();
  void remove();
  void rename();
  void add();

 private:
  QMTraining& plugin_;
  PackPopupState& state_;
  const std::vector<std::string>& packs_;
};

void PackPopups::copy() {
  if (!ImGui::BeginPopupModal("Copy Training Pack", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    return;
  }
  ImGui::TextUnformatted("Enter a new name:");
  ImGui::InputText("##NameInput", state_.copyPackName, sizeof state_.copyPackName);
  const std::string_view typed = state_.copyPackName;
  const int32_t source = state_.pendingPackCopy.at(packs_, packKey);
  const bool taken = namerules::packNameTaken(packs_, typed);
  const PackNameFaults faults(typed);
  redMessage(missingPackMessage, source < 0);
  redMessage(takenMessage, taken);
  redMessage(emptyMessage, faults.empty);
  redMessage(forbiddenMessage, faults.forbidden);
  redMessage(namerules::blankNameMessage, faults.blank);
  switch (windowparts::okCancelRow()) {
    case PopupChoice::ok:
      if (source < 0 || taken || faults.any()) break;
      plugin_.copyTrainingPack(source, std::string(typed));
      closePopup(state_.copyPackOpen);
      break;
    case PopupChoice::cancel:
      closePopup(state_.copyPackOpen);
      break;
    case PopupChoice::none:
      break;
  }
  ImGui::EndPopup();
}

void PackPopups::remove() {
  if (!ImGui::BeginPopupModal("Delete Training Pack", nullptr,
                              ImGuiWindowFlags_AlwaysAutoResize)) {
    return;
  }
  redMessage("Are You Sure You Want To Delete This Pack. This is Permanent");
  const int32_t pack = state_.pendingPackDelete.at(packs_, packKey);
  if (pack >= 0) {
    ImGui::Text("Selected: %s", packs_[static_cast<size_t>(pack)].c_str());
  } else {
    redMessage(missingPackMessage);
  }
  switch (windowparts::okCancelRow()) {
    case PopupChoice::ok:
      if (pack < 0) break;
      plugin_.deleteTrainingPack(pack);
      closePopup(state_.deletePackOpen);
      break;
    case PopupChoice::cancel:
      closePopup(state_.deletePackOpen);
      break;
    case PopupChoice::none:
      break;
  }
  ImGui::EndPopup();
}

void PackPopups::rename() {
  if (!ImGui::BeginPopupModal("Rename Training Pack", nullptr,
                              ImGuiWindowFlags_AlwaysAutoResize)) {
    return;
  }
  ImGui::TextUnformatted("Enter a new name:");
  ImGui::InputText("##RenameInput", state_.renamePackName, sizeof state_.renamePackName);
  const std::string_view typed = state_.renamePackName;
  const int32_t pack = state_.pendingPackRename.at(packs_, packKey);
  const bool ownName = pack >= 0 && packs_[static_cast<size_t>(pack)] == typed;
  const bool taken = namerules::packNameTaken(packs_, typed);
  const PackNameFaults faults(typed);
  redMessage(missingPackMessage, pack < 0);
  redMessage(forbiddenMessage, faults.forbidden);
  redMessage(emptyMessage, faults.empty);
  redMessage(takenMessage, taken && !ownName);
  redMessage(namerules::blankNameMessage, faults.blank);
  switch (windowparts::okCancelRow()) {
    case PopupChoice::ok:
      // Keeping the pack's own name counts as taken: nothing to do.
      if (pack < 0 || taken || faults.any()) break;
      plugin_.renameTrainingPack(pack, std::string(typed));
      closePopup(state_.renamePackOpen);
      break;
    case PopupChoice::cancel:
      closePopup(state_.renamePackOpen);
      break;
    case PopupChoice::none:
      break;
  }
  ImGui::EndPopup();
}

void PackPopups::add() {
  if (!ImGui::BeginPopupModal("Add Training Pack", nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    return;
  }
  ImGui::TextUnformatted("Enter a new name:");
  ImGui::InputText("##NameInput", state_.addPackName, sizeof state_.addPackName);
  const std::string_view typed = state_.addPackName;
  const bool taken = namerules::packNameTaken(packs_, typed);
  const PackNameFaults faults(typed);
  redMessage(takenMessage, taken);
  redMessage(emptyMessage, faults.empty);
  redMessage(forbiddenMessage, faults.forbidden);
  redMessage(namerules::blankNameMessage, faults.blank);
  switch (windowparts::okCancelRow()) {
    case PopupChoice::ok:
      if (taken || faults.any()) break;
      plugin_.createTrainingPack(std::string(typed));
      closePopup(state_.addPackOpen);
      break;
    case PopupChoice::cancel:
      closePopup(state_.addPackOpen);
      break;
    case PopupChoice::none:
      break;
  }
  ImGui::EndPopup();
}

}  // namespace

void QMTraining::renderTrainingPacksTab() {
  ImGui::TextWrapped("Here you can switch between training packs.\n");
  CVarWrapper packNumber = cvarManager->getCvar("TrainingPackNum");
  if (!packNumber) return;
  const int32_t currentPack = packNumber.getIntValue();
  if (const std::string* name = packAt(trainingPacks, currentPack)) {
    ImGui::Text("Selected: %s", name->c_str());
  }
  PackPopupState& state = packPopups;

  windowparts::beginListRegion("TrainingPackList");
  const RowAction action = drawPackRows(trainingPacks, currentPack);
  if (action.button != RowButton::none) {
    const std::string& pack = trainingPacks[static_cast<size_t>(action.row)];
    switch (action.button) {
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
        state.deletePackOpen = true;
        break;
      case RowButton::copy:
        state.pendingPackCopy.choose(action.row, pack);
        namerules::setFieldText(state.copyPackName, "Copied Pack Name");
        state.copyPackOpen = true;
        break;
      case RowButton::none:
        break;
    }
  }
  if (state.copyPackOpen) ImGui::OpenPopup("Copy Training Pack");
  if (state.renamePackOpen) ImGui::OpenPopup("Rename Training Pack");
  if (state.deletePackOpen) ImGui::OpenPopup("Delete Training Pack");
  PackPopups popups(*this);
  popups.copy();
  popups.remove();
  popups.rename();
  ImGui::EndChild();

  ImGui::TextUnformatted("\n");
  if (ImGui::SmallButton("Add A New Pack")) {
    namerules::setFieldText(state.addPackName, "New Pack Name");
    state.addPackOpen = true;
  }
  ImGui::SameLine();
  if (ImGui::SmallButton("Reload Packs")) loadTrainingPacks();
  if (state.addPackOpen) ImGui::OpenPopup("Add Training Pack");
  popups.add();
}
