// The shot editor: how it starts, and the "Create Shot" tab bar that replaces the main tabs
// while editorOpen is set. It edits the working shot, tries each part of it
// in the game through the placement commands, and ends by saving a new shot
// into the current pack or writing the edited one back.

#include <imgui.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/CaptureEditor.h"
#include "ui/EditorFields.h"
#include "ui/NameRules.h"
#include "ui/ShotEditor.h"
#include "ui/ShotMessages.h"
#include "ui/TabWidgets.h"
#include "ui/TextFields.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::redMessage;

namespace {


using editorrange::maxBallSpeed;
using editorrange::minBallSpeed;

// Pixels. Beside the preview the fields keep at least fieldsMinWidth (their
// longest lines wrap); the preview takes what is left, up to
// previewMaxWidth, and moves above them when that is under previewMinWidth.
constexpr float fieldsMinWidth = 520;
constexpr float previewMinWidth = 300;
constexpr float previewMaxWidth = 460;
constexpr float previewAboveHeight = 220;

// Placement commands change the game world, which the window never does
// itself: the host runs them on the game thread.
void runInGame(QMTraining& plugin, const char* command) {
  auto run = [console = plugin.cvarManager, command](GameWrapper*) {
    console->executeCommand(command, true);
  };
  plugin.gameWrapper->Execute(guarded(command, std::move(run)));
}

void textboxSwitch(QMTraining& plugin) {
  ImGui::Checkbox("Enable textboxes", &plugin.useTextboxes);
  itemTooltip("Toggle Whether sliders or textboxes are used to input");
}

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

// The name field's checks and messages, and "Save Shot" or "Edit Shot" with
// "Cancel". `pack` is the current pack and `speed` the ball speed the tab
// shows.
void drawNameAndButtons(QMTraining& plugin, int32_t pack, int32_t speed) {
  windowparts::nameInput("Type Shot Name", plugin.shotNameInput, sizeof plugin.shotNameInput);
  const std::string_view typed = plugin.shotNameInput;
  ShotEditorState& editor = plugin.windowState->shotEditor;
  // A name longer than the field shows cut short; left as shown, it stays
  // the shot's whole name.
  const bool nameAsShown = plugin.editingShot && typed == editor.editNameShown;
  const std::string name = nameAsShown ? editor.editName : namerules::storedShotName(typed);
  Shot* edited = plugin.editingShot ? editedShot(plugin) : nullptr;
  const bool ownName = edited && namerules::sameDisplayName(edited->name, name);
  const bool taken = editor.nameCache.shotNameTaken(plugin.shots, name);
  const namerules::ShotNameFaults faults(typed);
  const bool acceptable = !faults.any();
  redMessage(shotmessages::inPack.taken, taken && !ownName);
  redMessage(shotmessages::inPack.empty, faults.empty);
  redMessage(shotmessages::editorForbidden, faults.forbidden);
  windowparts::nameRuleMessages(faults);
  redMessage(namerules::reservedShotNameMessage, faults.reserved);
  redMessage(shotmessages::editedShotMissing, plugin.editingShot && !edited);
  redMessage(editor.saveFailure.c_str(), !editor.failedSaveName.empty() && editor.failedSaveName == typed);

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
    const bool pressed = ImGui::Button("Edit Shot");
    itemTooltip("Edits the currently selected Shot in the currently selected Training Pack");
    // The list is checked again as the player acts, never from a memory.
    const bool nameFree = ownName || !namerules::shotNameTaken(plugin.shots, name);
    if (pressed && edited && acceptable && nameFree) {
      plugin.currentShotName = name;
      // Written from a copy: the listed shot keeps its values until the
      // reload shows what the file holds.
      Shot updated = *edited;
      if (saved(updated.updateShot(plugin.ballLocationZ, plugin.ballLocationX,
                                   plugin.ballLocationY, plugin.ballVelocityX,
                                   plugin.ballVelocityY, plugin.ballVelocityZ,
                                   plugin.carLocationX, plugin.carLocationY,
                                   plugin.carLocationZ, plugin.carYaw, plugin.currentShotName,
                                   speed, plugin.carPitch, plugin.carRoll))) {
        plugin.editingShot = false;
        plugin.loadTrainingPack(pack);
        closeEditor(plugin);
      }
    }
  } else {
    const bool pressed = ImGui::Button("Save Shot");
    itemTooltip("Saves a Shot to the selected Training Pack");
    if (pressed && acceptable && !namerules::shotNameTaken(plugin.shots, name)) {
      plugin.currentShotName = name;
      if (saved(plugin.addShotToPack(
              pack, plugin.ballLocationZ, plugin.ballLocationX, plugin.ballLocationY,
              plugin.ballVelocityX, plugin.ballVelocityY, plugin.ballVelocityZ,
              plugin.carLocationX, plugin.carLocationY, plugin.carLocationZ, plugin.carYaw,
              plugin.currentShotName, plugin.carPitch, plugin.carRoll))) {
        closeEditor(plugin);
      }
    }
  }
  ImGui::SameLine();
  if (ImGui::Button("Cancel")) {
    plugin.loadSelectedShot();
    closeEditor(plugin);
  }
}

void drawBallTab(QMTraining& plugin) {
  ImGui::TextWrapped(
      "Here You can test the ball part of the shot and set which shot is modified.\n");
  CVarWrapper packNumber = plugin.cvarManager->getCvar(cvarname::trainingPackNum);
  if (!packNumber) return;
  const int32_t pack = packNumber.getIntValue();
  if (const std::string* name = packAt(plugin.trainingPacks, pack)) {
    ImGui::Text("Currently Selected Training Pack: %s", name->c_str());
  }
  if (plugin.editingShot) {
    ImGui::Text("Currently editing shot: %s", plugin.currentShotName.c_str());
  }
  textboxSwitch(plugin);

  if (ImGui::Button("Moves The Ball")) runInGame(plugin, commandname::ballMove);
  itemTooltip("Moves The Ball To a New Location");
  drawEditorFields(plugin, EditorFields::ballLocation);
  if (ImGui::Button("Adjust The Velocity Of The Ball")) runInGame(plugin, commandname::ballVelocity);
  itemTooltip("Add the new velocity of the ball");
  drawEditorFields(plugin, EditorFields::ballVelocity);

  if (!plugin.cvarManager->getCvar(cvarname::shotNumber1)) return;
  ImGui::TextWrapped("Here You can pick the overall speed of the ball.");
  if (ImGui::Button("Speed of The Ball")) runInGame(plugin, commandname::ballSpeed);
  itemTooltip("Changes the speed of the ball");
  // While this tab shows, the speed command takes the speed edited here.
  CVarWrapper speedMode = plugin.cvarManager->getCvar(cvarname::speedEnabled);
  if (!speedMode) return;
  constexpr int fixed = static_cast<int>(SpeedMode::Fixed);
  if (speedMode.getIntValue() != fixed) speedMode.setValue(fixed);

  CVarWrapper speedVariable = plugin.cvarManager->getCvar(cvarname::coolSpeed);
  if (!speedVariable) return;
  int32_t speed = speedVariable.getIntValue();
  ImGui::TextUnformatted("Set The Speed Of The Ball");
  ImGui::Text("Range: [%d, %d]", minBallSpeed, maxBallSpeed);
  constexpr const char* speedLead = "The speed of the ball will be ";
  if (plugin.useTextboxes) {
    if (intTextBox("###SpeedBall", speed, minBallSpeed, maxBallSpeed, speedLead,
                   plugin.windowState->shotEditor.intBuffer)) {
      speedVariable.setValue(speed);
    }
  } else {
    if (ImGui::SliderInt("###SpeedBall", &speed, minBallSpeed, maxBallSpeed, "%d", editorSliderFlags)) {
      speedVariable.setValue(speed);
    }
    valueTooltip(speedLead, speed);
  }
  drawNameAndButtons(plugin, pack, speed);
}

void drawCarTab(QMTraining& plugin) {
  ImGui::TextWrapped("Here You can pick the location of your car");
  CVarWrapper carEnabled = plugin.cvarManager->getCvar(cvarname::carEnabled);
  if (!carEnabled) return;
  cvarCheckbox("Enable Car Reset", carEnabled);
  itemTooltip("Toggle Whether The Car Resets When A Shot Is Reset");
  textboxSwitch(plugin);
  if (ImGui::Button("Moves The Car")) {
    carEnabled.setValue(1);
    runInGame(plugin, commandname::carMove);
  }
  itemTooltip("Moves The Car To A New Location");
  drawEditorFields(plugin, EditorFields::carLocation);
  drawEditorFields(plugin, EditorFields::carRotation);
}

// A tab's fields with the preview of the working shot: to the right of
// them when the window is wide enough for both, above them when it is not.
void drawBesidePreview(QMTraining& plugin, void (*drawFields)(QMTraining&)) {
  const float width = ImGui::GetContentRegionAvail().x;
  const float gap = ImGui::GetStyle().ItemSpacing.x;
  if (width < fieldsMinWidth + gap + previewMinWidth) {
    plugin.renderShotPreview(-1, width, previewAboveHeight);
    drawFields(plugin);
    return;
  }
  const float previewWidth = std::min(width - fieldsMinWidth - gap, previewMaxWidth);
  // The fields scroll on their own, so the preview stays in view; they start
  // at the top whenever the tab shows again (a new shot, the other tab).
  ImGui::BeginChild("Fields", ImVec2(width - previewWidth - gap, 0));
  if (ImGui::IsWindowAppearing()) ImGui::SetScrollY(0);
  ImGui::PushTextWrapPos(0);  // long messages wrap rather than run under the preview
  drawFields(plugin);
  ImGui::PopTextWrapPos();
  ImGui::EndChild();
  ImGui::SameLine();
  plugin.renderShotPreview(-1, previewWidth, ImGui::GetContentRegionAvail().y);
}

}  // namespace

bool startEditingShot(QMTraining& plugin, int32_t shotIndex) {
  endCapture(plugin);
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
  endCapture(plugin);
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

bool QMTraining::holdEditorSpeed() {
  CVarWrapper speedMode = cvarManager->getCvar(cvarname::speedEnabled);
  if (!speedMode) return false;
  if (!windowState->shotEditor.speedModeBefore) windowState->shotEditor.speedModeBefore = speedMode.getIntValue();
  speedMode.setValue(static_cast<int>(SpeedMode::Fixed));
  return true;
}

void QMTraining::restoreAfterEditor() {
  endCapture(*this);
  if (windowState->shotEditor.speedModeBefore) {
    if (CVarWrapper speedMode = cvarManager->getCvar(cvarname::speedEnabled)) {
      speedMode.setValue(*windowState->shotEditor.speedModeBefore);
    }
    windowState->shotEditor.speedModeBefore.reset();
  }
  if (CVarWrapper enabled = cvarManager->getCvar(cvarname::quellmarkEnabled)) {
    pluginEnabled = enabled.getBoolValue();
  }
  if (CVarWrapper carEnabled = cvarManager->getCvar(cvarname::carEnabled)) {
    carResetEnabled = carEnabled.getBoolValue();
  }
}

void QMTraining::renderShotEditorTabs() {
  if (ImGui::BeginTabItem("Ball")) {
    drawBesidePreview(*this, drawBallTab);
    ImGui::EndTabItem();
  }
  if (ImGui::BeginTabItem("Car location")) {
    drawBesidePreview(*this, drawCarTab);
    ImGui::EndTabItem();
  }
}
