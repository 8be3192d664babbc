#include "ui/NameRules.h"

#include <algorithm>
#include <cstring>

#include "storage/ShotName.h"

namespace namerules {

bool containsAnyOf(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

bool holdsUnlistedForbidden(std::string_view text) {
  return text.find(':') != std::string_view::npos ||
         std::any_of(text.begin(), text.end(), namerule::isControlCharacter);
}

bool isBlankName(std::string_view text) {
  return !text.empty() && text.find_first_not_of(" _") == std::string_view::npos;
}

bool isReservedShotName(std::string_view text) { return shotname::isLegacyShotName(text); }

std::string storedShotName(std::string_view text) { return shotname::storedName(text); }

bool sameDisplayName(std::string_view a, std::string_view b) {
  const auto shown = [](char c) { return c == '_' ? ' ' : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return shown(x) == shown(y); });
}

bool shotNameTaken(const std::vector<Shot>& shots, std::string_view text) {
  return std::any_of(shots.begin(), shots.end(),
                     [&](const Shot& shot) { return sameDisplayName(shot.name, text); });
}

bool shotNameListed(const std::vector<std::string>& names, std::string_view text) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& name) { return sameDisplayName(name, text); });
}

bool packNameTaken(const std::vector<std::string>& packs, std::string_view text) {
  return std::any_of(packs.begin(), packs.end(),
                     [&](const std::string& pack) { return namerule::samePackName(pack, text); });
}

void setFieldText(char* field, size_t fieldSize, std::string_view text) {
  if (fieldSize == 0) return;
  size_t length = std::min(text.size(), fieldSize - 1);
  // Back off over continuation bytes so that a cut never splits a character.
  if (length < text.size()) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

template <typename List, typename Lookup>
bool TakenNameCache::cached(const List& list, std::string_view text, Lookup lookup) {
  if (valid_ && listData_ == list.data() && listSize_ == list.size() && text_ == text) {
    return taken_;
  }
  listData_ = list.data();
  listSize_ = list.size();
  text_.assign(text);
  taken_ = lookup(list, text);
  valid_ = true;
  return taken_;
}

bool TakenNameCache::shotNameTaken(const std::vector<Shot>& shots, std::string_view text) {
  return cached(shots, text, namerules::shotNameTaken);
}

bool TakenNameCache::shotNameListed(const std::vector<std::string>& names,
                                    std::string_view text) {
  return cached(names, text, namerules::shotNameListed);
}

}  // namespace namerules
