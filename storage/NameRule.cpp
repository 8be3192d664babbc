#include "storage/NameRule.h"

#include <algorithm>
#include <array>

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

bool isForbiddenInPackName(char c) {
  return namerule::isControlCharacter(c) ||
         namerule::forbiddenPackCharacters.find(c) != std::string_view::npos;
}

// The length of the UTF-8 sequence `lead` starts, 0 for a byte no sequence
// starts with; `low` and `high` bound its second byte (which rules out
// overlong forms, surrogates and values past U+10FFFF).
size_t sequenceLength(unsigned char lead, unsigned char& low, unsigned char& high) {
  low = 0x80;
  high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
    return 3;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
    return 4;
  }
  return 0;
}

}  // namespace

namespace namerule {

bool isControlCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

bool isForbiddenCharacter(char c) {
  return isControlCharacter(c) || shotfile::forbiddenCharacters.find(c) != std::string_view::npos;
}

bool holdsForbiddenCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), isForbiddenCharacter);
}

void removeForbiddenCharacters(std::string& text) { std::erase_if(text, isForbiddenCharacter); }

void stripTrailingDotsAnd(std::string& text, char blank) {
  while (!text.empty() && (text.back() == '.' || text.back() == blank)) text.pop_back();
}

bool isDeviceName(std::string_view name) {
  std::string_view stem = name.substr(0, name.find('.'));
  stem = stem.substr(0, stem.find_last_not_of(' ') + 1);
  static constexpr std::array<std::string_view, 4> plain = {"con", "prn", "aux", "nul"};
  if (std::any_of(plain.begin(), plain.end(),
                  [&](std::string_view device) { return equalsIgnoringCase(stem, device); })) {
    return true;
  }
  if (stem.size() != 4 || stem[3] < '1' || stem[3] > '9') return false;
  return equalsIgnoringCase(stem.substr(0, 3), "com") ||
         equalsIgnoringCase(stem.substr(0, 3), "lpt");
}

bool isUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    unsigned char low = 0;
    unsigned char high = 0;
    const size_t length = sequenceLength(static_cast<unsigned char>(text[at]), low, high);
    if (length == 0 || at + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i) {
      const auto byte = static_cast<unsigned char>(text[at + i]);
      if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return false;
    }
    at += length;
  }
  return true;
}

std::string deviceNameReason(std::string_view name) {
  return "\"" + std::string(name) +
         "\" names a device on Windows (CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, "
         "also with an extension)";
}

std::string cleanPackName(std::string_view name) {
  std::string clean(name);
  std::erase_if(clean, isForbiddenInPackName);
  clean.erase(0, clean.find_first_not_of(' '));
  clean.erase(clean.find_last_not_of(' ') + 1);
  return clean;
}

std::string packNameProblem(std::string_view name) {
  const std::string quoted = "\"" + std::string(name) + "\"";
  if (name.empty() || name.find_first_not_of(" _") == std::string_view::npos ||
      std::any_of(name.begin(), name.end(), isForbiddenInPackName) || name.front() == ' ' ||
      name.back() == ' ') {
    return "The pack name " + quoted + " cannot be used";
  }
  if (name.size() > maxPackNameBytes) {
    return "The pack name is too long: it has " + std::to_string(name.size()) +
           " bytes, the longest allowed has " + std::to_string(maxPackNameBytes);
  }
  if (!isUtf8(name)) return "The pack name " + std::string(notUtf8Reason);
  if (isDeviceName(name)) return "The pack name cannot be used: " + deviceNameReason(name);
  return {};
}

bool samePackName(std::string_view a, std::string_view b) {
  return cleanPackName(a) == cleanPackName(b);
}

}  // namespace namerule
