// The shot editor's number fields: the ball's location and velocity, the
// car's location and rotation, each a slider or a text box with its range.

#include "ui/EditorFields.h"

#include <imgui.h>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "flight/Field.h"
#include "ui/TabWidgets.h"
#include "ui/TextFields.h"
#include "ui/WindowState.h"

namespace {

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

void drawField(QMTraining& plugin, const FloatField& field) {
  ImGui::TextUnformatted(field.label);
  ImGui::Text("Range: [%g, %g]", static_cast<double>(field.min), static_cast<double>(field.max));
  float& value = plugin.*field.member;
  if (plugin.useTextboxes) {
    floatTextBox(field.id, value, field.min, field.max, field.textLead,
                 plugin.windowState->shotEditor.floatBuffer);
  } else {
    ImGui::SliderFloat(field.id, &value, field.min, field.max, "%.3f", editorSliderFlags);
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
    ImGui::SliderInt(field.id, &value, field.min, field.max, "%d", editorSliderFlags);
    valueTooltip(field.sliderLead, value);
  }
}

template <typename Fields>
void drawFields(QMTraining& plugin, const Fields& fields) {
  for (const auto& field : fields) drawField(plugin, field);
}

}  // namespace

void drawEditorFields(QMTraining& plugin, EditorFields fields) {
  switch (fields) {
    case EditorFields::ballLocation:
      return drawFields(plugin, ballLocationFields);
    case EditorFields::ballVelocity:
      return drawFields(plugin, ballVelocityFields);
    case EditorFields::carLocation:
      return drawFields(plugin, carLocationFields);
    case EditorFields::carRotation:
      return drawFields(plugin, carRotationFields);
  }
}
