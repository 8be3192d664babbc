#pragma once
// Small drawing pieces the shot editor and the list tabs share: red
// messages, the OK/Cancel row of a popup, list regions and rows that show a
// player's name exactly as typed. (Tooltips and variable checkboxes are in
// TabWidgets.h.)

#include <imgui.h>

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "ui/NameRules.h"

namespace windowparts {

// The colour of a message about rejected input.
inline const ImVec4 messageRed{1.0f, 0.4f, 0.4f, 1.0f};

// A line of red text, drawn only when `shown`.
void redMessage(const char* text, bool shown = true);

// The red messages of the name rule every name field shares, after the
// field's own: only spaces and "_", ":" or a control character, a device
// name. `Faults` is namerules::ShotNameFaults or PackNameFaults.
template <typename Faults>
void nameRuleMessages(const Faults& faults) {
  redMessage(namerules::blankNameMessage, faults.blank);
  redMessage(namerules::unlistedForbiddenMessage, faults.unlisted);
  redMessage(namerules::deviceNameMessage, faults.device);
}

// The last row of a popup: "OK", then "Cancel" on the same line.
enum class PopupChoice { none, ok, cancel };
PopupChoice okCancelRow();

// Clears a popup's open flag and closes the popup being drawn.
void closePopup(bool& openFlag);

// The OK/Cancel row of the popup whose open flag is `openFlag`. "Cancel"
// closes it; true when "OK" was pressed, for the caller to check and act on,
// closing it with closePopup when done.
bool okPressed(bool& openFlag);

// Begins a modal popup that fits its contents. Pair with ImGui::EndPopup
// when true.
bool beginAutoSizedModal(const char* name);

// A text field for a name, editing `buffer` (`size` bytes, zero-terminated).
// Gaining focus selects its whole text, so that typing replaces a preset
// name instead of landing inside it.
void nameInput(const char* label, char* buffer, size_t size);

// Gives the next field the keyboard focus when the window or popup being
// drawn has just opened, so that typing goes straight in.
void focusNextWhenAppearing();

// "Enter a new name:" over the name field `id` editing `buffer` (`size`
// bytes, zero-terminated), which takes the focus as its popup opens unless
// `focused` is false. Returns the text as typed.
std::string_view nameField(const char* id, char* buffer, size_t size, bool focused = true);
template <size_t N>
std::string_view nameField(const char* id, char (&buffer)[N], bool focused = true) {
  return nameField(id, buffer, N, focused);
}

// A multi-line text field `size` pixels large over `text`, which grows to
// hold whatever is typed or pasted. True when the text changed.
bool multilineField(const char* id, std::string& text, ImVec2 size);
// The same for a text that can be selected and copied but not changed; it
// scrolls sideways too, so that no line is cut off.
void readOnlyMultilineField(const char* id, const std::string& text, ImVec2 size);

// The body of a delete popup: `question` in red, then "Selected: " and the
// chosen entry's name, or the red `missingMessage` when `chosenName` is null
// (the entry went away).
void deleteQuestion(const char* question, const char* chosenName, const char* missingMessage);

// The framed region, `width` pixels wide (0: the full width) and
// listRegionHeight pixels high, that holds the pack list and the shot list.
// Always pair with ImGui::EndChild.
inline constexpr float listRegionHeight = 200;
void beginListRegion(const char* id, float width = 0);

// A selectable row `width` pixels wide (0: the rest of the line) showing
// `text` as it is: a name holding "##" is neither cut short nor read as an
// identifier; one cut off by the row shows whole in a tooltip. The caller
// pushes an identifier per row. True when clicked.
bool nameSelectable(std::string_view text, bool selected, float width);

// Calls drawRow(row) for each row of a `count`-row list that is in view,
// under the row's own identifier: a frame costs the same for ten rows as for
// ten thousand.
template <typename DrawRow>
void forRowsInView(size_t count, DrawRow&& drawRow) {
  ImGuiListClipper clipper;
  clipper.Begin(static_cast<int>(count));
  while (clipper.Step()) {
    for (int32_t row = clipper.DisplayStart; row < clipper.DisplayEnd; ++row) {
      ImGui::PushID(row);
      drawRow(row);
      ImGui::PopID();
    }
  }
}

// What was clicked in a list of name rows: `item` is 0 for the name, i + 1
// for the i-th button; `row` is -1 when nothing was.
struct RowClick {
  int32_t row = -1;
  int32_t item = -1;
};

// A list's rows in view, each the name nameOf(row) (`nameWidth` pixels wide,
// 0: the rest of the line) followed on the same line by `buttons` as small
// buttons, then by what afterRow(row) draws. Row `selected` is highlighted.
template <typename NameOf, typename AfterRow>
RowClick nameRowsInView(size_t count, int32_t selected, float nameWidth,
                        std::initializer_list<const char*> buttons, NameOf&& nameOf, AfterRow&& afterRow) {
  RowClick click;
  forRowsInView(count, [&](int32_t row) {
    if (nameSelectable(nameOf(row), selected == row, nameWidth)) click = {row, 0};
    int32_t item = 0;
    for (const char* button : buttons) {
      ++item;
      ImGui::SameLine();
      if (ImGui::SmallButton(button)) click = {row, item};
    }
    afterRow(row);
  });
  return click;
}
template <typename NameOf>
RowClick nameRowsInView(size_t count, int32_t selected, float nameWidth,
                        std::initializer_list<const char*> buttons, NameOf&& nameOf) {
  return nameRowsInView(count, selected, nameWidth, buttons, std::forward<NameOf>(nameOf), [](int32_t) {});
}

}  // namespace windowparts
