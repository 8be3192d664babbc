#pragma once
// Numeric text fields of the shot editor: a value drawn as editable text that
// takes the typed number only when the player leaves the field.
//
// Commit rule: when the player leaves the field after typing in it (Enter,
// Tab, a click anywhere else), the whole typed text is read as a decimal
// number; text that is empty or not a number from start to end ("1+2")
// leaves the value as it was, and so does Escape, which takes the edit
// back. A float takes the number clamped to [min, max]; an int32 the
// smallest whole number not below it, clamped to [min, max] before the
// conversion, so no typed number overflows.
//
// The field accepts Dear ImGui's decimal characters only (digits and
// . + - * /). When it is hovered, the tooltip is `tooltipLead` followed by
// the value ("%f" for floats, decimal for integers).

#include <cstdint>
#include <optional>
#include <string_view>

// The text of a field while it is drawn. One per widget kind, shared by all
// its fields and rewritten from each field's value before the field is drawn
// (while a field is being edited, Dear ImGui keeps the typed text itself).
struct TextBoxBuffer {
  char text[32] = {};
  // The field the player typed into and the text typed, until the field
  // learns it was left. When another field takes the focus (Tab, a click on
  // a field drawn earlier), `text` is rewritten for that field first, and
  // only this copy still holds what was typed. 0: none.
  unsigned int editedField = 0;
  char typed[32] = {};
};

// The number the whole text spells, or nothing ("", "1+2", "-", "1.2.3").
// Accepts an optional sign, digits and one decimal point; never an exponent,
// "inf" or "nan".
std::optional<double> parseTypedNumber(std::string_view text);

// The commit rules on a parsed number. min <= max.
float committedFloat(double typed, float min, float max);
int32_t committedInt(double typed, int32_t min, int32_t max);

// The tooltip of the item just drawn, while it is hovered: the lead text
// followed by the value ("%f" for a float, decimal for an integer).
void valueTooltip(std::string_view lead, float value);
void valueTooltip(std::string_view lead, int32_t value);

// Return true in the frame in which the value changed.
bool floatTextBox(const char* id, float& value, float min, float max,
                  std::string_view tooltipLead, TextBoxBuffer& buffer);
bool intTextBox(const char* id, int32_t& value, int32_t min, int32_t max,
                std::string_view tooltipLead, TextBoxBuffer& buffer);
