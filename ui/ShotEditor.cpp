// The shot editor: how it starts, and the "Create Shot" tab bar that replaces the main tabs
// while editorOpen is set. It edits the working shot and tries each part of it
// in the game through the placement commands; its footer (EditorFooter.cpp),
// under both tabs, ends it by saving a new shot into the current pack or
// writing the edited one back.

#include <imgui.h>

#include <algorithm>
#include <string>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "ui/CaptureEditor.h"
#include "ui/EditorFields.h"
#include "ui/EditorFooter.h"
#include "ui/NameRules.h"
#include "ui/ShotEditor.h"
#include "ui/TabWidgets.h"
#include "ui/TextFields.h"
#include "ui/WindowState.h"

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
// The fields scroll on their own, above the footer (its `footerHeight`
// pixels are left free), so the preview and the footer stay in view; they
// start at the top whenever the tab shows again (a new shot, the other tab).
void drawBesidePreview(QMTraining& plugin, void (*drawFields)(QMTraining&), float footerHeight) {
  const float width = ImGui::GetContentRegionAvail().x;
  const float gap = ImGui::GetStyle().ItemSpacing.x;
  const bool previewAbove = width < fieldsMinWidth + gap + previewMinWidth;
  if (previewAbove) plugin.renderShotPreview(-1, width, previewAboveHeight);
  const float previewWidth = previewAbove ? 0 : std::min(width - fieldsMinWidth - gap, previewMaxWidth);
  const float fieldsWidth = previewAbove ? width : width - previewWidth - gap;
  const float height = std::max(ImGui::GetContentRegionAvail().y - footerHeight, ImGui::GetFrameHeight());
  ImGui::BeginChild("Fields", ImVec2(fieldsWidth, height));
  if (ImGui::IsWindowAppearing()) ImGui::SetScrollY(0);
  ImGui::PushTextWrapPos(0);  // long messages wrap rather than run under the preview
  drawFields(plugin);
  ImGui::PopTextWrapPos();
  ImGui::EndChild();
  if (previewAbove) return;
  ImGui::SameLine();
  plugin.renderShotPreview(-1, previewWidth, height);
}

}  // namespace

void workOnValuesOf(QMTraining& plugin, const Shot& shot) {
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
}

bool startEditingShot(QMTraining& plugin, int32_t shotIndex) {
  endCapture(plugin);
  const Shot& shot = plugin.shots[static_cast<size_t>(shotIndex)];
  plugin.editShotIndex = shotIndex;
  plugin.windowState->shotEditor.editShotFile = shot.filePath;
  workOnValuesOf(plugin, shot);
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
  struct Tab {
    const char* label;
    void (*drawFields)(QMTraining&);
  };
  for (const Tab& tab : {Tab{"Ball", drawBallTab}, Tab{"Car location", drawCarTab}}) {
    if (!ImGui::BeginTabItem(tab.label)) continue;
    drawBesidePreview(*this, tab.drawFields, editorFooterHeight(*this, ImGui::GetContentRegionAvail().x));
    drawEditorFooter(*this);
    ImGui::EndTabItem();
  }
}
