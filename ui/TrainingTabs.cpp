// The "Training" tab (which shots the reset cycle draws from, and training on
// or off) and the "Training Settings" tab (the modifiers and how the ball's
// speed is reset). Both only edit members and console variables; the reset
// cycle reads them when the bound key is pressed.

#include <imgui.h>

#include <string>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "playback/ShotVariance.h"
#include "storage/Shot.h"
#include "ui/ResultsView.h"
#include "ui/TabWidgets.h"
#include "ui/WindowState.h"

namespace {

constexpr const char* trainingIntro =
    "Here You can pick which shots will show up in training.\n You can reset your shot by pressing the view or "
    "back button on the xbox controller. \n If you want to change this to a different button go into the "
    "settings tab.";

constexpr const char* carResetTooltip = "Toggle Whether The Car Resets When A Shot Is Reset";

// The speed reset modes, in the order of the values of "speed_enabled".
constexpr const char* speedModes[] = {"No Reset", "Reset from file", "Reset From Value Below"};
constexpr const char* speedModeLabel = "Ball speed on each reset";
using editorrange::maxBallSpeed;
using editorrange::minBallSpeed;

// The values of "training_order", in order.
constexpr const char* shotOrders[] = {"Random", "Each once per round", "In list order", "Focus on misses"};

struct VarianceSlider {
  const char* variable;
  const char* label;
  float max;
  const char* format;
  const char* tooltip;
};
constexpr VarianceSlider varianceSliders[] = {
    {cvarname::varianceLocation, "Location variance", maxLocationVariance, "%.0f units",
     "Moves the ball's start by up to this many units sideways and lengthways on every reset."},
    {cvarname::varianceDirection, "Direction variance", maxDirectionVariance, "%.1f degrees",
     "Turns the ball's flight left or right by up to this many degrees on every reset."},
    {cvarname::varianceSpeed, "Speed variance", maxSpeedVariance, "%.0f %%",
     "Makes the ball fly up to this many percent faster or slower on every reset."},
};

// A checkbox labelled with a player's name exactly as typed. Dear ImGui hides
// whatever follows "##" in a label, so such a name is drawn beside an
// unlabelled box, and a click on the name toggles it too. The caller pushes
// an identifier per row.
bool nameCheckbox(const std::string& name, bool& value) {
  if (name.find("##") == std::string::npos) return ImGui::Checkbox(name.c_str(), &value);
  ImGui::BeginGroup();
  bool changed = ImGui::Checkbox("##box", &value);
  ImGui::SameLine(0, ImGui::GetStyle().ItemInnerSpacing.x);
  ImGui::TextUnformatted(name.c_str());
  if (ImGui::IsItemClicked()) {
    value = !value;
    changed = true;
  }
  ImGui::EndGroup();
  return changed;
}

// The order of the training shots and the variance of each reset. Each
// control needs only its own variable; one the host lacks is left out.
void drawTrainingVariety(CVarManagerWrapper& cvars) {
  if (CVarWrapper order = cvars.getCvar(cvarname::trainingOrder)) {
    ImGui::TextUnformatted("Shot order");
    int value = order.getIntValue();
    if (ImGui::ListBox("##Shot order", &value, shotOrders, IM_ARRAYSIZE(shotOrders), IM_ARRAYSIZE(shotOrders))) {
      order.setValue(value);
    }
  }
  for (const VarianceSlider& slider : varianceSliders) {
    CVarWrapper variable = cvars.getCvar(slider.variable);
    if (!variable) continue;
    float value = variable.getFloatValue();
    if (ImGui::SliderFloat(slider.label, &value, 0, slider.max, slider.format, ImGuiSliderFlags_AlwaysClamp)) {
      variable.setValue(value);
    }
    itemTooltip(slider.tooltip);
  }
  if (CVarWrapper autoNext = cvars.getCvar(cvarname::trainingAutoNext)) {
    float value = autoNext.getFloatValue();
    if (ImGui::SliderFloat("Next shot after", &value, 0, editorrange::maxAutoNextSeconds,
                           value > 0 ? "%.1f s" : "off", ImGuiSliderFlags_AlwaysClamp)) {
      autoNext.setValue(value);
    }
    itemTooltip("After a goal or a timed-out attempt, places the next shot by itself after this many seconds.");
  }
  if (CVarWrapper remember = cvars.getCvar(cvarname::rememberTraining)) {
    cvarCheckbox("Remember training", remember);
    itemTooltip("Keeps the ticked shots of each pack, and the pack, for the next start.");
  }
}

}  // namespace

void QMTraining::renderTrainingTab() {
  ImGui::TextWrapped("%s", trainingIntro);
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  if (!packNumber) return;
  int32_t pack = packNumber.getIntValue();
  if (!trainingPacks.empty() && pack >= 0 && pack < static_cast<int32_t>(trainingPacks.size())) {
    ImGui::Text("Selected: %s", trainingPacks[static_cast<size_t>(pack)].c_str());
  }

  // Switching training on starts the shot order from its beginning.
  if (ImGui::Checkbox("Activate Training", &trainingActive) && trainingActive) shotPicker.restart();
  itemTooltip("Toggle If Training is active or not");
  ImGui::SameLine();
  CVarWrapper carEnabled = cvarManager->getCvar(cvarname::carEnabled);
  if (!carEnabled) return;
  cvarCheckbox("Enable Car Reset", carEnabled);
  itemTooltip(carResetTooltip);
  ImGui::SameLine();
  // A toggle of its own: it does not look at the boxes ticked by hand.
  if (ImGui::Button("Select/Deselect All") && pluginEnabled) {
    shotSelections.assign(shots.size(), !allShotsSelected);
    allShotsSelected = !allShotsSelected;
    scheduleResultsFlush();
  }
  itemTooltip("Selects all shots if clicked or deselects them if they are already all selected.");

  ImGui::TextUnformatted(resultsview::sessionLine(sessionAttempts, sessionMakes).c_str());
  bool marksChanged = false;

  // Pack loading gives every shot a flag; should they ever disagree, a shot
  // without one reads as not selected rather than past the end of the list.
  if (shotSelections.size() < shots.size()) shotSelections.resize(shots.size(), false);
  // Rows of at most shotRowBase / 10 + 1 checkboxes, fewer where the next
  // one would pass the window's edge. Only the rows in view are drawn, so a
  // frame costs the same for ten shots or ten thousand.
  const size_t rowSize = static_cast<size_t>(shotRowBase / 10 + 1);
  const ImGuiStyle& style = ImGui::GetStyle();
  const float boxWidth = ImGui::GetFrameHeight() + style.ItemInnerSpacing.x;
  const std::vector<size_t>& rowStarts = windowState->shotCheckboxRows.starts(
      shots.data(), shots.size(), style.ItemSpacing.x, ImGui::GetContentRegionAvail().x,
      ImGui::GetFontSize(), rowSize, [&](size_t i) {
        const std::string label = underscoresToSpaces(shots[i].name);
        return boxWidth + ImGui::CalcTextSize(label.c_str(), label.c_str() + label.size()).x;
      });
  ImGuiListClipper clipper;
  clipper.Begin(static_cast<int>(rowStarts.size()), ImGui::GetFrameHeightWithSpacing());
  while (clipper.Step()) {
    for (size_t row = static_cast<size_t>(clipper.DisplayStart); row < static_cast<size_t>(clipper.DisplayEnd); ++row) {
      const size_t end = row + 1 < rowStarts.size() ? rowStarts[row + 1] : shots.size();
      for (size_t i = rowStarts[row]; i < end; ++i) {
        if (i > rowStarts[row]) ImGui::SameLine();
        bool selected = shotSelections[i];
        ImGui::PushID(static_cast<int>(i));
        const std::string name = underscoresToSpaces(shots[i].name);
        marksChanged |= nameCheckbox(name, selected);
        ImGui::PopID();
        shotSelections[i] = selected;
        if (ImGui::IsItemHovered()) itemTooltip(resultsview::checkboxTooltip(resultOf(i)).c_str());
      }
    }
  }
  clipper.End();
  // Remembered marks are written with the results, within a second.
  if (marksChanged) scheduleResultsFlush();
}

void QMTraining::renderTrainingSettingsTab() {
  ImGui::TextWrapped("%s", "Modifies Training Shots");
  struct Modifier {
    const char* label;
    bool& value;
    const char* tooltip;
  };
  const Modifier modifiers[] = {
      {"Activate modifiers", modifiersActive, "Toggle If randomizer is active or not"},
      {"Mirror Shots", mirrorShots, "Toggle If mirroring your shot is active or not"},
      {"Split Shot", splitShot, "Toggles If mirroring the direction and the location of the shot is active or not"},
      {"Mirror Car", mirrorCar, "Toggle If mirroring your car is active or not"},
      {"Split Car", splitCar, "Toggles If mirroring the direction and the location of the car is active or not"},
      {"Make Ceiling", makeCeiling, "Toggle whether you will start your shot on the ceiling"},
      {"Randomize spawns", randomizeSpawns, "Toggle whether it has a chance to spawn you on the celing."},
  };
  for (const Modifier& modifier : modifiers) {
    ImGui::Checkbox(modifier.label, &modifier.value);
    itemTooltip(modifier.tooltip);
    ImGui::SameLine();
  }
  CVarWrapper carEnabled = cvarManager->getCvar(cvarname::carEnabled);
  if (!carEnabled) return;
  cvarCheckbox("Enable Car Reset", carEnabled);
  itemTooltip(carResetTooltip);

  CVarWrapper speedMode = cvarManager->getCvar(cvarname::speedEnabled);
  if (!speedMode) return;
  int mode = speedMode.getIntValue();
  // A value outside the list highlights no mode; a click on the highlighted
  // one writes it again.
  ImGui::TextUnformatted(speedModeLabel);
  if (ImGui::ListBox("##speed mode", &mode, speedModes, IM_ARRAYSIZE(speedModes), IM_ARRAYSIZE(speedModes))) {
    speedMode.setValue(mode);
  }

  CVarWrapper speed = cvarManager->getCvar(cvarname::coolSpeed);
  if (!speed) return;
  int value = speed.getIntValue();
  if (ImGui::SliderInt("Sets the Speed Of The Ball", &value, minBallSpeed, maxBallSpeed, "%d")) {
    speed.setValue(value);
  }
  if (ImGui::IsItemHovered()) ImGui::SetTooltip("The speed of the ball will be %d", value);

  drawTrainingVariety(*cvarManager);
}
