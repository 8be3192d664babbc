#include "ui/NameRules.h"

#include <algorithm>
#include <cstring>

#include "storage/ShotName.h"

namespace namerules {

bool containsAnyOf(std::string_view text, std::string_view characters) {
  return text.find_first_of(characters) != std::string_view::npos;
}

bool isBlankName(std::string_view text) {
  return !text.empty() && text.find_first_not_of(" _") == std::string_view::npos;
}

bool isReservedShotName(std::string_view text) { return shotname::isLegacyShotName(text); }

bool displayNameEquals(std::string_view storedName, std::string_view text) {
  if (storedName.size() != text.size()) return false;
  return std::equal(storedName.begin(), storedName.end(), text.begin(),
                    [](char stored, char typed) { return (stored == '_' ? ' ' : stored) == typed; });
}

bool shotNameTaken(const std::vector<Shot>& shots, std::string_view text) {
  return std::any_of(shots.begin(), shots.end(),
                     [&](const Shot& shot) { return displayNameEquals(shot.name, text); });
}

bool nameListed(const std::vector<std::string>& names, std::string_view text) {
  return std::find(names.begin(), names.end(), text) != names.end();
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

bool TakenNameCache::nameListed(const std::vector<std::string>& names, std::string_view text) {
  return cached(names, text, namerules::nameListed);
}

}  // namespace namerules
