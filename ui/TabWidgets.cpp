#include "ui/TabWidgets.h"

#include <imgui.h>

void itemTooltip(const char* text) {
  if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", text);
}

bool cvarCheckbox(const char* label, CVarWrapper& cvar) {
  bool value = cvar.getBoolValue();
  if (!ImGui::Checkbox(label, &value)) return false;
  cvar.setValue(value ? 1 : 0);
  return true;
}
