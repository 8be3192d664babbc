// The "Settings" tab: the controller button and the keyboard key that reset a
// shot, and the switch of the maximum-score fix.

#include <imgui.h>

#include <string>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "ui/SearchableCombo.h"
#include "ui/TabWidgets.h"

namespace {

// Every controller key name starts with "XboxTypeS_"; the list shows the rest.
constexpr size_t controllerPrefixLength = 10;
constexpr const char* searchHint = "Type to search...";
constexpr int keyListHeight = 20;

std::string controllerLabel(const std::string& name) {
  return name.size() > controllerPrefixLength ? name.substr(controllerPrefixLength) : std::string();
}

// The display list follows its table whenever their sizes differ; in
// practice once, on the tab's first frame.
template <typename Label>
void followTable(std::vector<std::string>& labels, const std::vector<std::string>& names, Label label) {
  if (labels.size() == names.size()) return;
  labels.clear();
  for (const std::string& name : names) labels.push_back(label(name));
}

std::string labelAt(const std::vector<std::string>& labels, int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(labels.size()) ? labels[static_cast<size_t>(index)] : "";
}

}  // namespace

void QMTraining::renderSettingsTab() {
  followTable(controllerKeyLabels, controllerKeyNames, controllerLabel);
  followTable(keyboardKeyLabels, keyboardKeyNames, [](const std::string& name) { return name; });

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
