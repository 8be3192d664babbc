#include "ui/WindowParts.h"

#include <algorithm>

namespace windowparts {
namespace {

// Dear ImGui asks for a larger buffer as the text grows.
int resizeText(ImGuiInputTextCallbackData* data) {
  if (data->EventFlag == ImGuiInputTextFlags_CallbackResize) {
    auto* text = static_cast<std::string*>(data->UserData);
    text->resize(static_cast<size_t>(data->BufTextLen));
    data->Buf = text->data();
  }
  return 0;
}

}  // namespace

void redMessage(const char* text, bool shown) {
  if (shown) ImGui::TextColored(messageRed, "%s", text);
}

PopupChoice okCancelRow() {
  PopupChoice choice = PopupChoice::none;
  if (ImGui::Button("OK")) choice = PopupChoice::ok;
  ImGui::SameLine();
  if (ImGui::Button("Cancel")) choice = PopupChoice::cancel;
  return choice;
}

void closePopup(bool& openFlag) {
  openFlag = false;
  ImGui::CloseCurrentPopup();
}

bool okPressed(bool& openFlag) {
  switch (okCancelRow()) {
    case PopupChoice::ok:
      return true;
    case PopupChoice::cancel:
      closePopup(openFlag);
      break;
    case PopupChoice::none:
      break;
  }
  return false;
}

bool beginAutoSizedModal(const char* name) {
  return ImGui::BeginPopupModal(name, nullptr, ImGuiWindowFlags_AlwaysAutoResize);
}

void nameInput(const char* label, char* buffer, size_t size) {
  ImGui::InputText(label, buffer, size, ImGuiInputTextFlags_AutoSelectAll);
}

void focusNextWhenAppearing() {
  if (ImGui::IsWindowAppearing()) ImGui::SetKeyboardFocusHere();
}

std::string_view nameField(const char* id, char* buffer, size_t size, bool focused) {
  ImGui::TextUnformatted("Enter a new name:");
  if (focused) focusNextWhenAppearing();
  nameInput(id, buffer, size);
  return buffer;
}

bool multilineField(const char* id, std::string& text, ImVec2 size) {
  return ImGui::InputTextMultiline(id, text.data(), text.capacity() + 1, size,
                                   ImGuiInputTextFlags_CallbackResize, resizeText, &text);
}

void readOnlyMultilineField(const char* id, const std::string& text, ImVec2 size) {
  // Dear ImGui's multi-line field scrolls sideways only after its cursor: it
  // is made as large as its text, in a region that scrolls both ways, so
  // that no line is cut off.
  const ImGuiStyle& style = ImGui::GetStyle();
  const ImVec2 textSize = ImGui::CalcTextSize(text.data(), text.data() + text.size());
  ImGui::BeginChild(id, size, false, ImGuiWindowFlags_HorizontalScrollbar);
  const ImVec2 room = ImGui::GetContentRegionAvail();
  const ImVec2 fieldSize(std::max(textSize.x + ImGui::GetFontSize(), room.x),
                         std::max(textSize.y + 2 * style.FramePadding.y + ImGui::GetTextLineHeight(), room.y));
  // No side padding: the field's own region would then be a padding wider
  // than itself and take the sideways wheel for that sliver.
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(0, style.FramePadding.y));
  // Read-only: Dear ImGui never writes through the pointer.
  ImGui::InputTextMultiline("##text", const_cast<char*>(text.c_str()), text.size() + 1, fieldSize,
                            ImGuiInputTextFlags_ReadOnly);
  ImGui::PopStyleVar();
  ImGui::EndChild();
}

void deleteQuestion(const char* question, const char* chosenName, const char* missingMessage) {
  redMessage(question);
  if (chosenName != nullptr) {
    ImGui::Text("Selected: %s", chosenName);
  } else {
    redMessage(missingMessage);
  }
}

void beginListRegion(const char* id, float width) {
  ImGui::BeginChild(id, ImVec2(width, listRegionHeight), true);
}

bool nameSelectable(std::string_view text, bool selected, float width) {
  // The label of a selectable ends at "##"; the name is drawn over an
  // unlabelled one instead, where the label would have been.
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  if (width <= 0) width = ImGui::GetContentRegionAvail().x;
  const bool clicked = ImGui::Selectable("##row", selected, 0, ImVec2(width, 0));
  const ImVec4 clip(origin.x, origin.y, origin.x + width, origin.y + ImGui::GetTextLineHeight());
  ImGui::GetWindowDrawList()->AddText(ImGui::GetFont(), ImGui::GetFontSize(), origin,
                                      ImGui::GetColorU32(ImGuiCol_Text), text.data(),
                                      text.data() + text.size(), 0.0f, &clip);
  // A name cut off by its column shows whole while the pointer is on it.
  if (ImGui::IsItemHovered() && ImGui::CalcTextSize(text.data(), text.data() + text.size()).x > width) {
    ImGui::BeginTooltip();
    ImGui::TextUnformatted(text.data(), text.data() + text.size());
    ImGui::EndTooltip();
  }
  return clicked;
}

}  // namespace windowparts
