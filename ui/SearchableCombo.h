#pragma once
// A combo box whose preview turns into a text field while its list is open:
// typing narrows the list. Built from Dear ImGui's internal layer the way
// Dear ImGui's own combo box is; it keeps no state of its own between calls
// (the open list and the typed text are Dear ImGui's, and the text lasts
// only while the list stays open).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Whether `item` stays in the list while `filter` is typed: always for an
// empty filter, otherwise when the filter occurs in the item as one
// contiguous piece, ignoring the case of the letters A to Z (other
// characters compare as they are).
bool comboFilterMatches(std::string_view filter, std::string_view item);

// Draws the combo box and, while open, its list. Returns true in the frame
// in which the player picked an entry (the entry already current included);
// `currentIndex` then holds the entry's position in `items`.
//
// - label: Dear ImGui label; a "##" label draws no text, only an identifier.
// - currentIndex: the caller's index; one at or past the end of `items` is
//   set to 0 before drawing. The preview shows items[currentIndex], or
//   `previewText` when the index is negative or the list empty.
// - hint: shown in the empty text field.
// - listHeight: entries visible in the open list without scrolling, unless
//   the caller set size constraints for the next window.
// The typed filter holds at most 63 bytes. When no entry matches, the list
// holds only a disabled "No maps found".
bool searchableCombo(const char* label, int32_t& currentIndex, const std::vector<std::string>& items,
                     const char* previewText, const char* hint, int listHeight);
