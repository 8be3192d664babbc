#include "storage/ShotOrder.h"

#include "storage/Shot.h"

int32_t leadingNumber(std::string_view name) {
  // Unsigned so that a long run of digits wraps instead of overflowing; the
  // conversion back to int32_t is modular as well.
  uint32_t value = 0;
  for (char c : name) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') break;
    value = value * 10u + static_cast<uint32_t>(c - '0');
  }
  return value == 0 ? unnumberedKey : static_cast<int32_t>(value);
}

NameSortKey::NameSortKey(std::string_view name) : number(leadingNumber(name)) {
  size_t bracket = name.find(')');
  if (bracket != std::string_view::npos) text = name.substr(bracket + 1);
}

bool naturalNameLess(std::string_view a, std::string_view b) {
  return NameSortKey(a) < NameSortKey(b);
}

bool shotNameLess(const Shot& x, const Shot& y) {
  std::string nameX = x.displayName();
  std::string nameY = y.displayName();
  return naturalNameLess(nameX, nameY);
}
