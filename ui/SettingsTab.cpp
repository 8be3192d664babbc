// The "Settings" tab: the controller button and the keyboard key that reset a
// shot, and the switch of the maximum-score fix.

#include <imgui.h>

#include <string>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "binds/KeyNames.h"
#include "ui/SearchableCombo.h"
#include "ui/TabWidgets.h"

namespace {

constexpr const char* searchHint = "Type to search...";
constexpr int keyListHeight = 20;

std::string labelAt(const std::vector<std::string>& labels, int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(labels.size()) ? labels[static_cast<size_t>(index)] : "";
}

}  // namespace

void QMTraining::renderSettingsTab() {
  const std::vector<std::string>& controllerKeyLabels = controllerKeyLabelTable();
  const std::vector<std::string>& keyboardKeyLabels = keyboardKeyNames;
  ImGui::Text("Current Controller Keybind: %s \nSelect Controller Keybind",
              labelAt(controllerKeyLabels, controllerKeyIndex).c_str());
  if (searchableCombo("##controllerKeybind", controllerKeyIndex, controllerKeyLabels,
                      labelAt(controllerKeyLabels, controllerKeyIndex).c_str(), searchHint, keyListHeight)) {
    saveKeyBinds();
  }
  ImGui::Text("Current KeyBoard Keybind: %s \nSelect KeyBoard Keybind",
              labelAt(keyboardKeyLabels, keyboardKeyIndex).c_str());
  if (searchableCombo("##keyboardKeybind", keyboardKeyIndex, keyboardKeyLabels,
                      labelAt(keyboardKeyLabels, keyboardKeyIndex).c_str(), searchHint, keyListHeight)) {
    saveKeyBinds();
  }

  ImGui::TextUnformatted(
      "Fixes the max seven goals in quellmark bug thats been in the game forever. You can turn it off below.");
  if (ImGui::Checkbox("MaxScore = 100", &maxScoreFixEnabled) && !gameWrapper->IsInOnlineGame()) {
    // Switching on waits for the next reset to raise the limit. Switching off
    // gives the game back its own limit, if a reset ever saved one: 0 means
    // none was saved and is no limit to give back.
    ServerWrapper server = gameWrapper->GetCurrentGameState();
    if (server && !maxScoreFixEnabled && savedMaxScore != 0) server.SetMaxScore(savedMaxScore);
  }
  itemTooltip("Toggle If max Score is set to 100 or not");
}
