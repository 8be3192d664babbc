#pragma once
// Small drawing pieces the shot editor and the list tabs share: red
// messages, the OK/Cancel row of a popup, list regions and rows that show a
// player's name exactly as typed. (Tooltips and variable checkboxes are in
// TabWidgets.h.)

#include <imgui.h>

#include <string_view>

namespace windowparts {

// The colour of a message about rejected input.
inline const ImVec4 messageRed{1.0f, 0.4f, 0.4f, 1.0f};

// A line of red text, drawn only when `shown`.
void redMessage(const char* text, bool shown = true);

// The last row of a popup: "OK", then "Cancel" on the same line.
enum class PopupChoice { none, ok, cancel };
PopupChoice okCancelRow();

// Clears a popup's open flag and closes the popup being drawn.
void closePopup(bool& openFlag);

// The framed region, full width and 200 pixels high, that holds the pack
// list and the shot list. Always pair with ImGui::EndChild.
void beginListRegion(const char* id);

// A selectable row `width` pixels wide (0: the rest of the line) showing
// `text` as it is: a name holding "##" is neither cut short nor read as an
// identifier. The caller
// pushes an identifier per row. True when clicked.
bool nameSelectable(std::string_view text, bool selected, float width);

}  // namespace windowparts
