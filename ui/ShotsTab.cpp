// The "Shots" tab: the current pack's shots, picking one, the row buttons
// that open the tab's popups (ShotPopups.cpp) or start the shot editor
// (ShotEditor.cpp), the preview of the current shot and how it went lately,
// and the results of the shots (ResultsView.cpp).

#include <imgui.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/CaptureEditor.h"
#include "ui/NameRules.h"
#include "ui/ResultsView.h"
#include "ui/ShotEditor.h"
#include "ui/ShotPopups.h"
#include "ui/TrashPopup.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

namespace {

// Pixels: a row of the list (the name and five buttons) needs listMinWidth;
// the preview beside it takes the rest, within these bounds.
constexpr float listMinWidth = 520;
constexpr float previewMinWidth = 260;
constexpr float previewMaxWidth = 460;

// What a row's items do, in the order of the row: the name, then the buttons.
enum class RowButton { pick, rename, remove, copy, transfer, edit };

windowparts::RowClick drawShotRows(const QMTraining& plugin, int32_t selectedShot) {
  const std::vector<Shot>& shots = plugin.shots;
  return windowparts::nameRowsInView(
      shots.size(), selectedShot, 200, {"Rename", "Delete", "Copy", "Transfer", "Edit"},
      [&](int32_t row) { return shots[static_cast<size_t>(row)].displayName(); },
      [&](int32_t row) { resultsview::drawRowSummary(plugin.resultOf(static_cast<size_t>(row))); });
}

// What a click on a row's selectable or button does. False when "Edit"
// found a console variable missing; the frame ends there.
bool actOnRow(QMTraining& plugin, windowparts::RowClick action, CVarWrapper& shotNumber, int32_t pack) {
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
      // A transfer goes to another pack: the first one that is not current
      // is chosen (the current one only when it is the only pack).
      plugin.transferTargetPack = pack == 0 && plugin.trainingPacks.size() > 1 ? 1 : 0;
      state.transferTargetChosen = plugin.transferTargetPack;
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
  drawUndoLine(*this, UndoTab::shots);

  // The preview of the current shot goes beside the list, which keeps the
  // room its rows need.
  const float width = ImGui::GetContentRegionAvail().x;
  const float gap = ImGui::GetStyle().ItemSpacing.x;
  const float previewWidth = std::clamp(width - listMinWidth - gap, previewMinWidth, previewMaxWidth);
  windowparts::beginListRegion("Shot List", width - previewWidth - gap);
  const windowparts::RowClick action = drawShotRows(*this, shotNumber.getIntValue());
  const bool variablesFound = action.row < 0 || actOnRow(*this, action, shotNumber, pack);
  if (variablesFound) drawShotPopups(*this, pack);
  ImGui::EndChild();
  if (!variablesFound) return;
  ImGui::SameLine();
  // Under the preview, how the picked shot went lately.
  ImGui::BeginGroup();
  renderShotPreview(shotNumber.getIntValue(), previewWidth, windowparts::listRegionHeight);
  const int32_t picked = shotNumber.getIntValue();
  resultsview::drawRecentPlot(picked >= 0 ? resultOf(static_cast<size_t>(picked)) : nullptr, previewWidth);
  ImGui::EndGroup();

  if (ImGui::Button("Create New Shot") && !startNewShot(*this)) return;
  ImGui::SameLine();
  drawCaptureButton(*this);
  ImGui::SameLine();
  resultsview::drawResetResults(*this, windowState->resultsReset.open, windowState->resultsReset.failure);
}
