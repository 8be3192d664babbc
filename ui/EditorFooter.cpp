// The shot editor's footer: the name typed for the shot, why it cannot be
// saved under it, and the buttons that end the editor.

#include "ui/EditorFooter.h"

#include <imgui.h>

#include <string>
#include <string_view>
#include <vector>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "ui/NameRules.h"
#include "ui/ShotMessages.h"
#include "ui/TabWidgets.h"
#include "ui/TrashPopup.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

namespace {

// The editor closes and the main tabs come back in the next frame.
void closeEditor(QMTraining& plugin) {
  plugin.editorOpen = false;
  plugin.useTextboxes = false;
  plugin.restoreAfterEditor();
}

// The shot at editShotIndex while it is still the one "Edit" was pressed on.
Shot* editedShot(QMTraining& plugin) {
  const int32_t index = plugin.editShotIndex;
  if (index < 0 || static_cast<size_t>(index) >= plugin.shots.size()) return nullptr;
  Shot& shot = plugin.shots[static_cast<size_t>(index)];
  return shot.filePath == plugin.windowState->shotEditor.editShotFile ? &shot : nullptr;
}

// What the name field holds, checked: the name the shot would get, whether
// it may have it, and the red messages that say why not, in their order.
struct NameCheck {
  std::string name;
  Shot* edited = nullptr;
  bool ownName = false;
  bool acceptable = false;
  std::vector<const char*> messages;
};

NameCheck checkName(QMTraining& plugin) {
  const std::string_view typed = plugin.shotNameInput;
  ShotEditorState& editor = plugin.windowState->shotEditor;
  NameCheck check;
  // A name longer than the field shows cut short; left as shown, it stays
  // the shot's whole name.
  const bool nameAsShown = plugin.editingShot && typed == editor.editNameShown;
  check.name = nameAsShown ? editor.editName : namerules::storedShotName(typed);
  check.edited = plugin.editingShot ? editedShot(plugin) : nullptr;
  check.ownName = check.edited && namerules::sameDisplayName(check.edited->name, check.name);
  const bool taken = editor.nameCache.shotNameTaken(plugin.shots, check.name);
  const namerules::ShotNameFaults faults(typed);
  check.acceptable = !faults.any();
  const std::pair<const char*, bool> messages[] = {
      {shotmessages::inPack.taken, taken && !check.ownName},
      {shotmessages::inPack.empty, faults.empty},
      {shotmessages::editorForbidden, faults.forbidden},
      {namerules::blankNameMessage, faults.blank},
      {namerules::unlistedForbiddenMessage, faults.unlisted},
      {namerules::deviceNameMessage, faults.device},
      {namerules::reservedShotNameMessage, faults.reserved},
      {shotmessages::editedShotMissing, plugin.editingShot && !check.edited},
      {editor.saveFailure.c_str(), !editor.failedSaveName.empty() && editor.failedSaveName == typed},
  };
  for (const auto& [text, shown] : messages) {
    if (shown) check.messages.push_back(text);
  }
  return check;
}

// "Edit Shot" or "Save Shot" pressed with the name checked; `pack` is the
// current pack and `speed` the ball speed the editor shows.
void saveShot(QMTraining& plugin, const NameCheck& check, int32_t pack, int32_t speed) {
  ShotEditorState& editor = plugin.windowState->shotEditor;
  const std::string typed = plugin.shotNameInput;
  // A save that fails keeps the editor open with the player's values, and
  // the shots shown as they were.
  const auto saved = [&](const Status& written) {
    if (written) {
      editor.failedSaveName.clear();
    } else {
      editor.failedSaveName = typed;
      editor.saveFailure = written.error;
    }
    return written.ok();
  };
  if (plugin.editingShot) {
    // The list is checked again as the player acts, never from a memory.
    const bool nameFree = check.ownName || !namerules::shotNameTaken(plugin.shots, check.name);
    if (!check.edited || !check.acceptable || !nameFree) return;
    plugin.currentShotName = check.name;
    // Written from a copy: the listed shot keeps its values until the
    // reload shows what the file holds.
    Shot updated = *check.edited;
    // What the file holds now goes to the trash first; without that copy
    // the shot is not overwritten.
    Outcome<std::optional<TrashEntry>> kept = plugin.keepBeforeOverwrite(updated);
    const Status written =
        kept ? updated.updateShot(plugin.ballLocationZ, plugin.ballLocationX, plugin.ballLocationY,
                                  plugin.ballVelocityX, plugin.ballVelocityY, plugin.ballVelocityZ,
                                  plugin.carLocationX, plugin.carLocationY, plugin.carLocationZ, plugin.carYaw,
                                  plugin.currentShotName, speed, plugin.carPitch, plugin.carRoll)
             : Status::failure(kept.error);
    if (kept.value && !written) removeTrashEntry(*kept.value);  // the file is as it was
    if (saved(written)) {
      plugin.editingShot = false;
      plugin.loadTrainingPack(pack);
      if (kept.value) offerUndo(plugin, std::move(*kept.value), UndoTab::shots);
      closeEditor(plugin);
    }
    return;
  }
  if (!check.acceptable || namerules::shotNameTaken(plugin.shots, check.name)) return;
  plugin.currentShotName = check.name;
  if (saved(plugin.addShotToPack(pack, plugin.ballLocationZ, plugin.ballLocationX, plugin.ballLocationY,
                                 plugin.ballVelocityX, plugin.ballVelocityY, plugin.ballVelocityZ,
                                 plugin.carLocationX, plugin.carLocationY, plugin.carLocationZ, plugin.carYaw,
                                 plugin.currentShotName, plugin.carPitch, plugin.carRoll))) {
    closeEditor(plugin);
  }
}

}  // namespace

float editorFooterHeight(QMTraining& plugin, float width) {
  const ImGuiStyle& style = ImGui::GetStyle();
  float height = 2 * ImGui::GetFrameHeightWithSpacing() + style.ItemSpacing.y;  // field, buttons, separator
  for (const char* message : checkName(plugin).messages) {
    height += ImGui::CalcTextSize(message, nullptr, false, width).y + style.ItemSpacing.y;
  }
  return height;
}

void drawEditorFooter(QMTraining& plugin) {
  CVarWrapper packNumber = plugin.cvarManager->getCvar(cvarname::trainingPackNum);
  CVarWrapper speed = plugin.cvarManager->getCvar(cvarname::coolSpeed);
  if (!packNumber || !speed) return;
  ImGui::Separator();
  windowparts::nameInput("Type Shot Name", plugin.shotNameInput, sizeof plugin.shotNameInput);
  const NameCheck check = checkName(plugin);
  ImGui::PushTextWrapPos(0);
  for (const char* message : check.messages) windowparts::redMessage(message);
  ImGui::PopTextWrapPos();

  const bool pressed = ImGui::Button(plugin.editingShot ? "Edit Shot" : "Save Shot");
  itemTooltip(plugin.editingShot ? "Edits the currently selected Shot in the currently selected Training Pack"
                                 : "Saves a Shot to the selected Training Pack");
  if (pressed) saveShot(plugin, check, packNumber.getIntValue(), speed.getIntValue());
  ImGui::SameLine();
  if (ImGui::Button("Cancel")) {
    plugin.loadSelectedShot();
    closeEditor(plugin);
  }
}
