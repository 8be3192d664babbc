#pragma once
// The entries an open searchable combo lists, in its own popup window.

#include <string>
#include <vector>

#include "uidriver/UiDriver.h"

inline std::vector<std::string> comboEntries(const uidriver::UiDriver& ui) {
  std::vector<std::string> entries;
  for (const auto& shown : ui.shown()) {
    if (shown.window.rfind("##Combo_", 0) == 0) entries.push_back(shown.text);
  }
  return entries;
}
