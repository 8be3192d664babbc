// The shot editor: the "Create Shot" tab bar that replaces the main tabs
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
#include "flight/Field.h"
#include "storage/PackPaths.h"
#include "ui/NameRules.h"
#include "ui/TabWidgets.h"
#include "ui/TextFields.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

using windowparts::redMessage;

namespace {

constexpr const char* forbiddenMessage =
    "Your Shot Name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
constexpr const char* editedShotMissingMessage =
    "The shot being edited is no longer in the pack; press Cancel";

using editorrange::maxBallSpeed;
using editorrange::minBallSpeed;

// Pixels. Beside the preview the fields keep at least fieldsMinWidth (their
// longest lines wrap); the preview takes what is left, up to
// previewMaxWidth, and moves above them when that is under previewMinWidth.
constexpr float fieldsMinWidth = 520;
constexpr float previewMinWidth = 300;
constexpr float previewMaxWidth = 460;
constexpr float previewAboveHeight = 220;

// One field of the editor: its label, its identifier, its bounds (shown as
// its range) and the lead texts of its tooltip.
template <typename Value>
struct Field {
  const char* label;
  const char* id;
  Value min;
  Value max;
  const char* textLead;    // text-field mode
  const char* sliderLead;  // slider mode
  Value QMTraining::*member;
};

using FloatField = Field<float>;
using IntField = Field<int32_t>;

constexpr FloatField ballLocationFields[] = {
    {"Ball Location X Value", "###BallX", -flight::Field::sideWallX, flight::Field::sideWallX,
     "The X position of the ball is ", "The X Position Of The Ball Is ",
     &QMTraining::ballLocationX},
    {"Ball Location Y Value", "###BallY", -flight::Field::backWallY, flight::Field::backWallY,
     "The Y position of the ball is ", "The Y Position Of The Ball Is ",
     &QMTraining::ballLocationY},
    {"Ball Location Z Value", "###BallZ", 0, flight::Field::ceilingZ,
     "The Z position of the ball is ", "The Z Position Of The Ball Is ",
     &QMTraining::ballLocationZ},
};

constexpr FloatField ballVelocityFields[] = {
    {"Ball Velocity X Value", "###BallVelX", -editorrange::maxBallVelocity, editorrange::maxBallVelocity,
     "The X value of the velocity is ", "The X Value Of The Velocity Is ",
     &QMTraining::ballVelocityX},
    {"Ball Velocity Y Value", "###BallVelY", -editorrange::maxBallVelocity, editorrange::maxBallVelocity,
     "The Y value of the velocity is ", "The Y Value Of The Velocity Is ",
     &QMTraining::ballVelocityY},
    {"Ball Velocity Z Value", "###BallVelZ", -editorrange::maxBallVelocity, editorrange::maxBallVelocity,
     "The Z value of the velocity is ", "The Z Value Of The Velocity Is ",
     &QMTraining::ballVelocityZ},
};

constexpr FloatField carLocationFields[] = {
    {"Car Location X Value", "###CarX", -flight::Field::sideWallX, flight::Field::sideWallX,
     "The X position of the car is ", "The X postion of the car is ", &QMTraining::carLocationX},
    {"Car Location Y Value", "###CarY", -flight::Field::backWallY, flight::Field::backWallY,
     "The Y position of the car is ", "The Y postion of the car is ", &QMTraining::carLocationY},
    {"Car Location Z Value", "###CarZ", editorrange::minCarZ, editorrange::maxCarZ,
     "The Z position of the car is ", "The Z postion of the car is ", &QMTraining::carLocationZ},
};

constexpr IntField carRotationFields[] = {
    {"Car Yaw Rotation Value", "###CarYaw", -editorrange::maxRotation, editorrange::maxRotation,
     "This sets the rotation of the car on the Yaw axis to ",
     "This sets the rotation of the car on the Yaw axis to ", &QMTraining::carYaw},
    {"Car Pitch Rotation Value", "###CarPitch", -editorrange::maxRotation, editorrange::maxRotation,
     "This sets the rotation of the car on the Pitch axis to ",
     "This sets the rotation of the car on the Pitch axis to ", &QMTraining::carPitch},
    {"Car Roll Rotation Value", "###CarRoll", -editorrange::maxRotation, editorrange::maxRotation,
     "This sets the rotation of the car on the Roll axis to ",
     "This sets the rotation of the car on the Roll axis to ", &QMTraining::carRoll},
};

// Sliders keep typed values (ctrl+click) within the bounds too.
constexpr ImGuiSliderFlags sliderFlags = ImGuiSliderFlags_AlwaysClamp;

void drawField(QMTraining& plugin, const FloatField& field) {
  ImGui::TextUnformatted(field.label);
  ImGui::Text("Range: [%g, %g]", static_cast<double>(field.min), static_cast<double>(field.max));
  float& value = plugin.*field.member;
  if (plugin.useTextboxes) {
    floatTextBox(field.id, value, field.min, field.max, field.textLead,
                 plugin.windowState->shotEditor.floatBuffer);
  } else {
    ImGui::SliderFloat(field.id, &value, field.min, field.max, "%.3f", sliderFlags);
    valueTooltip(field.sliderLead, value);
  }
}

void drawField(QMTraining& plugin, const IntField& field) {
  ImGui::TextUnformatted(field.label);
  ImGui::Text("Range: [%d, %d]", field.min, field.max);
  int32_t& value = plugin.*field.member;
  if (plugin.useTextboxes) {
    intTextBox(field.id, value, field.min, field.max, field.textLead, plugin.windowState->shotEditor.intBuffer);
  } else {
    ImGui::SliderInt(field.id, &value, field.min, field.max, "%d", sliderFlags);
    valueTooltip(field.sliderLead, value);
  }
}

template <typename Fields>
void drawFields(QMTraining& plugin, const Fields& fields) {
  for (const auto& field : fields) drawField(plugin, field);
}

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
  redMessage("A Shot with this name already exists!", taken && !ownName);
  redMessage("Please Enter A Name", faults.empty);
  redMessage(forbiddenMessage, faults.forbidden);
  windowparts::nameRuleMessages(faults);
  redMessage(namerules::reservedShotNameMessage, faults.reserved);
  redMessage(editedShotMissingMessage, plugin.editingShot && !edited);
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
  drawFields(plugin, ballLocationFields);
  if (ImGui::Button("Adjust The Velocity Of The Ball")) runInGame(plugin, commandname::ballVelocity);
  itemTooltip("Add the new velocity of the ball");
  drawFields(plugin, ballVelocityFields);

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
    if (ImGui::SliderInt("###SpeedBall", &speed, minBallSpeed, maxBallSpeed, "%d", sliderFlags)) {
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
  drawFields(plugin, carLocationFields);
  drawFields(plugin, carRotationFields);
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

bool QMTraining::holdEditorSpeed() {
  CVarWrapper speedMode = cvarManager->getCvar(cvarname::speedEnabled);
  if (!speedMode) return false;
  if (!windowState->shotEditor.speedModeBefore) windowState->shotEditor.speedModeBefore = speedMode.getIntValue();
  speedMode.setValue(static_cast<int>(SpeedMode::Fixed));
  return true;
}

void QMTraining::restoreAfterEditor() {
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
