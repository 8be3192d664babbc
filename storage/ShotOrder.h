#pragma once
// The order in which packs and a pack's shots are held and shown. Shots:
// names that begin with a number come first, by that number; names with the
// same number follow the text after their first ")"; everything else comes
// last. Names equal so far, and pack names, follow foldedNameLess, so every
// machine shows the same lists whatever order its folders list them in.

#include <cstdint>
#include <string_view>

class Shot;

// The key a name sorts by. Digits from the start of the name, skipping
// spaces, read as one decimal number in wrapping 32-bit arithmetic (a number
// that does not fit wraps, it never overflows). An empty name, a name that
// does not begin with a digit, and a number of 0 all give unnumberedKey.
int32_t leadingNumber(std::string_view name);

// Byte order (unsigned) of the names with the letters A to Z folded to
// lower case; names that are equal so are in exact byte order.
bool foldedNameLess(std::string_view a, std::string_view b);

// The shots' display names ("_" read as a space) by their NameSortKey, and
// by foldedNameLess where the keys are equal.
bool shotNameLess(const Shot& x, const Shot& y);

// The key of a name without a number (0x7FFFFFF8, a little below the largest
// 32-bit value): such names sort after every numbered one.
inline constexpr int32_t unnumberedKey = 2147483640;

// What the shot order compares, computed once per name so a sort does not
// rebuild it for every comparison: the leading number in signed order, then
// the text after the first ")" (empty without one), compared bytewise as
// unsigned characters. `text` points into the name it came from.
struct NameSortKey {
  int32_t number;
  std::string_view text;

  explicit NameSortKey(std::string_view name);
  friend bool operator<(const NameSortKey& a, const NameSortKey& b) {
    return a.number != b.number ? a.number < b.number : a.text < b.text;
  }
};
