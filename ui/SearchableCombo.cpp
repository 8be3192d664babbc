#include "ui/SearchableCombo.h"

#define IMGUI_DEFINE_MATH_OPERATORS
#include <imgui.h>
#include <imgui_internal.h>

#include <cfloat>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr int kFilterBytes = 64;
constexpr const char* kNothingFound = "No maps found";

// The layout and last-item record a widget leaves behind; the filter field
// is drawn over the combo frame, so both are put back afterwards and the
// combo stays one item to the layout and to IsItemHovered.
struct LayoutBackup {
  explicit LayoutBackup(const ImGuiContext& g, const ImGuiWindow& window)
      : cursorPos(window.DC.CursorPos),
        cursorPosPrevLine(window.DC.CursorPosPrevLine),
        cursorMaxPos(window.DC.CursorMaxPos),
        idealMaxPos(window.DC.IdealMaxPos),
        currLineSize(window.DC.CurrLineSize),
        prevLineSize(window.DC.PrevLineSize),
        currLineTextBaseOffset(window.DC.CurrLineTextBaseOffset),
        prevLineTextBaseOffset(window.DC.PrevLineTextBaseOffset),
        lastItem(g.LastItemData) {}

  void restore(ImGuiContext& g, ImGuiWindow& window) const {
    window.DC.CursorPos = cursorPos;
    window.DC.CursorPosPrevLine = cursorPosPrevLine;
    window.DC.CursorMaxPos = cursorMaxPos;
    window.DC.IdealMaxPos = idealMaxPos;
    window.DC.CurrLineSize = currLineSize;
    window.DC.PrevLineSize = prevLineSize;
    window.DC.CurrLineTextBaseOffset = currLineTextBaseOffset;
    window.DC.PrevLineTextBaseOffset = prevLineTextBaseOffset;
    g.LastItemData = lastItem;
  }

  ImVec2 cursorPos, cursorPosPrevLine, cursorMaxPos, idealMaxPos, currLineSize, prevLineSize;
  float currLineTextBaseOffset, prevLineTextBaseOffset;
  ImGuiLastItemData lastItem;
};

// The text field over the preview area while the list is open. Dear ImGui
// gives keyboard input to the active item only, and focusing the field the
// usual way would focus its window and close the list. So the field is made
// active once, in the frame the list opens (before the list's window exists
// to be closed), and afterwards is treated as the active item only while it
// draws, as long as Dear ImGui's text-edit state is still its own.
void filterField(ImGuiContext& g, ImGuiWindow& window, ImGuiID comboId, const ImRect& area, bool openedNow,
                 const char* hint, char (&filter)[kFilterBytes]) {
  LayoutBackup layout(g, window);
  ImGui::PushOverrideID(comboId);
  const ImGuiID fieldId = window.GetID("##filter");
  window.DC.CursorPos = area.Min;

  const ImGuiID backupActive = g.ActiveId;
  const ImGuiID backupNavActivateInput = g.NavActivateInputId;
  bool borrowActive = false;
  if (openedNow) {
    g.NavActivateInputId = fieldId;
  } else if (g.ActiveId != fieldId && g.InputTextState.ID == fieldId) {
    g.ActiveId = fieldId;
    borrowActive = true;
  }
  ImGui::InputTextEx("##filter", hint, filter, kFilterBytes, area.GetSize(), ImGuiInputTextFlags_NoUndoRedo);
  g.NavActivateInputId = backupNavActivateInput;
  if (borrowActive) g.ActiveId = backupActive;

  // The host learns that the keyboard is taken while the field is typed in.
  ImGui::CaptureKeyboardFromApp(true);
  ImGui::PopID();
  layout.restore(g, window);
}

}  // namespace

bool comboFilterMatches(std::string_view filter, std::string_view item) {
  if (filter.empty()) return true;
  if (filter.size() > item.size()) return false;
  for (size_t start = 0; start + filter.size() <= item.size(); ++start) {
    size_t i = 0;
    while (i < filter.size() && lowerAscii(item[start + i]) == lowerAscii(filter[i])) ++i;
    if (i == filter.size()) return true;
  }
  return false;
}

bool searchableCombo(const char* label, int32_t& currentIndex, const std::vector<std::string>& items,
                     const char* previewText, const char* hint, int listHeight) {
  const int32_t count = static_cast<int32_t>(items.size());
  if (currentIndex >= count) currentIndex = 0;
  const char* preview = currentIndex >= 0 && currentIndex < count ? items[static_cast<size_t>(currentIndex)].c_str()
                                                                  : previewText;

  ImGuiContext& g = *ImGui::GetCurrentContext();
  ImGuiWindow* window = ImGui::GetCurrentWindow();
  // Like Begin, the combo consumes the next-window settings; they are given
  // back to the list popup below.
  const ImGuiNextWindowDataFlags backupNextWindowFlags = g.NextWindowData.Flags;
  g.NextWindowData.ClearFlags();
  if (window->SkipItems) return false;

  const ImGuiStyle& style = g.Style;
  const ImGuiID id = window->GetID(label);
  const float arrowSize = ImGui::GetFrameHeight();
  const ImVec2 labelSize = ImGui::CalcTextSize(label, nullptr, true);
  const float width = ImGui::CalcItemWidth();
  const ImRect frame(window->DC.CursorPos,
                     window->DC.CursorPos + ImVec2(width, labelSize.y + style.FramePadding.y * 2.0f));
  const ImRect total(frame.Min,
                     frame.Max + ImVec2(labelSize.x > 0.0f ? style.ItemInnerSpacing.x + labelSize.x : 0.0f, 0.0f));
  ImGui::ItemSize(total, style.FramePadding.y);
  if (!ImGui::ItemAdd(total, id, &frame)) return false;

  bool hovered = false;
  bool held = false;
  const bool pressed = ImGui::ButtonBehavior(frame, id, &hovered, &held);
  const ImGuiID popupId = ImHashStr("##ComboPopup", 0, id);
  bool popupOpen = ImGui::IsPopupOpen(popupId, ImGuiPopupFlags_None);
  bool openedNow = false;
  if ((pressed || g.NavActivateId == id) && !popupOpen) {
    ImGui::OpenPopupEx(popupId, ImGuiPopupFlags_None);
    popupOpen = true;
    openedNow = true;
  }

  // The frame, drawn as Dear ImGui's own combo box draws it.
  const float valueX2 = ImMax(frame.Min.x, frame.Max.x - arrowSize);
  ImGui::RenderNavHighlight(frame, id);
  window->DrawList->AddRectFilled(frame.Min, ImVec2(valueX2, frame.Max.y),
                                  ImGui::GetColorU32(hovered ? ImGuiCol_FrameBgHovered : ImGuiCol_FrameBg),
                                  style.FrameRounding, ImDrawFlags_RoundCornersLeft);
  window->DrawList->AddRectFilled(ImVec2(valueX2, frame.Min.y), frame.Max,
                                  ImGui::GetColorU32(popupOpen || hovered ? ImGuiCol_ButtonHovered : ImGuiCol_Button),
                                  style.FrameRounding,
                                  width <= arrowSize ? ImDrawFlags_RoundCornersAll : ImDrawFlags_RoundCornersRight);
  if (valueX2 + arrowSize - style.FramePadding.x <= frame.Max.x) {
    ImGui::RenderArrow(window->DrawList, ImVec2(valueX2 + style.FramePadding.y, frame.Min.y + style.FramePadding.y),
                       ImGui::GetColorU32(ImGuiCol_Text), ImGuiDir_Down, 1.0f);
  }
  ImGui::RenderFrameBorder(frame.Min, frame.Max, style.FrameRounding);

  char filter[kFilterBytes] = {};
  if (popupOpen) {
    filterField(g, *window, id, ImRect(frame.Min, ImVec2(valueX2, frame.Max.y)), openedNow, hint, filter);
  } else {
    ImGui::RenderTextClipped(frame.Min + style.FramePadding, ImVec2(valueX2, frame.Max.y), preview, nullptr,
                             nullptr);
  }
  if (labelSize.x > 0) {
    ImGui::RenderText(ImVec2(frame.Max.x + style.ItemInnerSpacing.x, frame.Min.y + style.FramePadding.y), label);
  }
  if (!popupOpen) return false;

  g.NextWindowData.Flags = backupNextWindowFlags;
  if (!(g.NextWindowData.Flags & ImGuiNextWindowDataFlags_HasSizeConstraint)) {
    const float maxHeight = (g.FontSize + style.ItemSpacing.y) * static_cast<float>(listHeight) -
                            style.ItemSpacing.y + style.WindowPadding.y * 2.0f;
    ImGui::SetNextWindowSizeConstraints(ImVec2(0.0f, 0.0f), ImVec2(FLT_MAX, maxHeight));
  }
  // Sizes the list at least as wide as the frame and names it like Dear
  // ImGui's combo lists ("##Combo_%02d" by popup depth).
  if (!ImGui::BeginComboPopup(popupId, frame, ImGuiComboFlags_None)) return false;

  bool picked = false;
  bool anyShown = false;
  for (int32_t i = 0; i < count; ++i) {
    const std::string& item = items[static_cast<size_t>(i)];
    if (!comboFilterMatches(filter, item)) continue;
    anyShown = true;
    const bool selected = i == currentIndex;
    ImGui::PushID(i);
    if (ImGui::Selectable(item.c_str(), selected)) {
      currentIndex = i;
      picked = true;
    }
    if (selected) ImGui::SetItemDefaultFocus();
    ImGui::PopID();
  }
  if (!anyShown) ImGui::Selectable(kNothingFound, false, ImGuiSelectableFlags_Disabled);
  ImGui::EndPopup();
  return picked;
}
