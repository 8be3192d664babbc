#include "storage/ShotOrder.h"

#include <algorithm>

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

bool foldedNameLess(std::string_view a, std::string_view b) {
  const auto folded = [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
  };
  const auto foldedLess = [&](std::string_view x, std::string_view y) {
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                        [&](char p, char q) { return folded(p) < folded(q); });
  };
  if (foldedLess(a, b)) return true;
  if (foldedLess(b, a)) return false;
  return a < b;  // std::string_view compares bytes as unsigned
}

bool shotNameLess(const Shot& x, const Shot& y) {
  const std::string nameX = x.displayName();
  const std::string nameY = y.displayName();
  const NameSortKey keyX(nameX);
  const NameSortKey keyY(nameY);
  if (keyX < keyY) return true;
  if (keyY < keyX) return false;
  return foldedNameLess(nameX, nameY);
}
