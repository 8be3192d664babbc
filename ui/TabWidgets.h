#pragma once
// Drawing conventions the settings window's tabs share.

#include "pluginsdk/CVarWrapper.h"

// Shows `text` as the tooltip of the item just drawn, while it is hovered.
// The text is shown as it is, never read as a format.
void itemTooltip(const char* text);

// A checkbox showing the boolean value of a console variable, read in this
// frame. Only a change by the player writes the variable (1 or 0), so the
// host's value-changed callbacks run once per click. True on a change.
bool cvarCheckbox(const char* label, CVarWrapper& cvar);
