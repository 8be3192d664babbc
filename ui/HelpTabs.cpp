// The "How To Use" tab (the master switch, then the usage text) and the
// "Change Logs" tab. Both texts are drawn unformatted: they hold no format
// directives and must never be read as holding any.

#include <imgui.h>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"
#include "ui/TabWidgets.h"

namespace {

// Every character counts, the spaces before line breaks included.
constexpr const char* usageText =
    "\n"
    "Quellmark Training is set up into two Main Sections. That being creating the shots and selecting which\n"
    "\n"
    "shots you want to practice. Creating the shots are found under the tabs, Ball and Car Location. Selecting\n"
    "\n"
    "from the various shots you want to use as practice can be found under the Training tab. In order to \n"
    "\n"
    "create a shot first go to the Ball tab and change the sliders how you see fit. Then do the same under \n"
    "\n"
    "the Car Location tab. You can test each aspect of the shot by pressing the various buttons. When you \n"
    "\n"
    "are all done go back to the Ball tab and select a shot from the dropdown menu, name it in the textbox \n"
    "\n"
    "and click overide. This will delete the shot data, that is stored in that specific shot so be careful to \n"
    "\n"
    "select a shot you want to overide. X values of shots manipulate the object on the axis between the \n"
    "\n"
    "side walls. Y values of shots manipulate the object on the axis between the goals. Z values of \n"
    "\n"
    "shots manipulate the object on the axis between the celing and floor";

constexpr const char* changeLogText =
    "Version 5.0 \n"
    "-Made the UI a little better. \n"
    "-added Training Packs \n"
    "-shots are now made dynamically. \n"
    "-added a training modifiers section \n"
    "-fixed keybinds not always saving or being buggy \n"
    "-uncapped shot total but warnings are given at 60 \n"
    "-can now put the car on the celling or wall \n"
    "-fixed quellmark max score being hardcapped at 7\n"
    "- minor fixes";

}  // namespace

void QMTraining::renderHowToUseTab() {
  CVarWrapper enabled = cvarManager->getCvar(cvarname::quellmarkEnabled);
  if (!enabled) return;
  bool on = enabled.getBoolValue();
  if (ImGui::Checkbox("Enable QuellmarkTraining", &on)) {
    enabled.setValue(on ? 1 : 0);
    // Training never outlives a switch of the plug-in, either way.
    trainingActive = false;
  }
  itemTooltip("Toggle Whether The Plugin is on or off");
  ImGui::TextUnformatted(usageText);
}

void QMTraining::renderChangeLogsTab() { ImGui::TextUnformatted(changeLogText); }
