#include "ui/TextFields.h"

#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include <fmt/format.h>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Draws the field over `buffer` (already holding the value's text) and
// returns the typed number in the frame the player leaves the field after
// editing it.
std::optional<double> numberField(const char* id, TextBoxBuffer& buffer) {
  const ImGuiID field = ImGui::GetID(id);
  const bool wasActive = ImGui::GetActiveID() == field;
  ImGui::InputText(id, buffer.text, sizeof buffer.text, ImGuiInputTextFlags_CharsDecimal);
  if (ImGui::IsItemActive()) {
    if (ImGui::IsItemEdited() || buffer.editedField == field) {
      buffer.editedField = field;
      std::memcpy(buffer.typed, buffer.text, sizeof buffer.typed);
    }
    return std::nullopt;
  }
  const bool typedHere = buffer.editedField == field;
  if (typedHere) buffer.editedField = 0;
  if (wasActive) {
    // Left in its own turn: Enter or a click elsewhere, and Dear ImGui has
    // put the typed text into the buffer; or Escape, which takes it back.
    const bool escaped = ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape));
    if (escaped || !ImGui::IsItemDeactivatedAfterEdit()) return std::nullopt;
    return parseTypedNumber(buffer.text);
  }
  // Another item took the focus before this field was drawn again (Tab
  // focuses the next field a frame after it is pressed).
  if (!typedHere) return std::nullopt;
  return parseTypedNumber(buffer.typed);
}

}  // namespace

// The text is built only while the item is hovered.
void valueTooltip(std::string_view lead, float value) {
  if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", fmt::format("{}{:f}", lead, value).c_str());
}

void valueTooltip(std::string_view lead, int32_t value) {
  if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", fmt::format("{}{}", lead, value).c_str());
}

std::optional<double> parseTypedNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // Digits with at most one decimal point, and at least one digit.
  size_t digits = 0;
  size_t points = 0;
  for (char c : text) {
    if (isDigit(c)) {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return std::nullopt;
    }
  }
  if (digits == 0 || points > 1) return std::nullopt;
  double value = 0;
  auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (end != text.data() + text.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Too many digits for a double: beyond every bound, or next to zero.
    const bool large = text.find_first_of("123456789") < text.find('.');
    value = large ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (error != std::errc()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

float committedFloat(double typed, float min, float max) {
  return static_cast<float>(std::clamp(typed, static_cast<double>(min), static_cast<double>(max)));
}

int32_t committedInt(double typed, int32_t min, int32_t max) {
  // Clamped while still a double: converting a number beyond the int32 range
  // would be undefined.
  double whole = std::clamp(std::ceil(typed), static_cast<double>(min), static_cast<double>(max));
  return static_cast<int32_t>(whole);
}

namespace {

// The value's text as its field shows it: a float with three decimals.
void showValue(TextBoxBuffer& buffer, float value) {
  fmt::format_to_n(buffer.text, sizeof buffer.text - 1, "{:.3f}", value).out[0] = '\0';
}
void showValue(TextBoxBuffer& buffer, int32_t value) {
  fmt::format_to_n(buffer.text, sizeof buffer.text - 1, "{}", value).out[0] = '\0';
}

float committedValue(double typed, float min, float max) { return committedFloat(typed, min, max); }
int32_t committedValue(double typed, int32_t min, int32_t max) {
  return committedInt(typed, min, max);
}

template <typename Number>
bool numberTextBox(const char* id, Number& value, Number min, Number max,
                   std::string_view tooltipLead, TextBoxBuffer& buffer) {
  showValue(buffer, value);
  std::optional<double> typed = numberField(id, buffer);
  bool changed = false;
  if (typed) {
    Number committed = committedValue(*typed, min, max);
    changed = committed != value;
    value = committed;
  }
  valueTooltip(tooltipLead, value);
  return changed;
}

}  // namespace

bool floatTextBox(const char* id, float& value, float min, float max,
                  std::string_view tooltipLead, TextBoxBuffer& buffer) {
  return numberTextBox(id, value, min, max, tooltipLead, buffer);
}

bool intTextBox(const char* id, int32_t& value, int32_t min, int32_t max,
                std::string_view tooltipLead, TextBoxBuffer& buffer) {
  return numberTextBox(id, value, min, max, tooltipLead, buffer);
}
