#include "storage/PackText.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "storage/PackTextFormat.h"
#include "storage/ShotFileFormat.h"
#include "storage/ShotLine.h"
#include "storage/ShotName.h"

namespace {

using namerule::isControlCharacter;

std::string_view trimmed(std::string_view text, std::string_view blanks) {
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The lines that count: each trimmed of CR, spaces and tabs, blank ones left
// out.
std::vector<std::string_view> meaningfulLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = trimmed(text.substr(0, end), packtext::lineBlanks);
    if (!line.empty()) lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Splits at runs of white space, as the shot reader does.
std::vector<std::string_view> words(std::string_view line) {
  static constexpr std::string_view whiteSpace = " \t\n\v\f\r";
  std::vector<std::string_view> found;
  size_t at = 0;
  while ((at = line.find_first_not_of(whiteSpace, at)) != std::string_view::npos) {
    const size_t end = std::min(line.find_first_of(whiteSpace, at), line.size());
    found.push_back(line.substr(at, end - at));
    at = end;
  }
  return found;
}

bool allOf(std::string_view text, bool (*accepts)(char)) {
  return !text.empty() && std::all_of(text.begin(), text.end(), accepts);
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

uint32_t checksumOf(const std::vector<std::string_view>& lines) {
  uLong crc = crc32_z(0L, Z_NULL, 0);
  for (std::string_view line : lines) {
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(line.data()), line.size());
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>("\n"), 1);
  }
  return static_cast<uint32_t>(crc);
}

std::string hex(uint32_t value) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text(packtext::checksumDigits, '0');
  for (size_t i = text.size(); i-- > 0; value >>= 4) text[i] = digits[value & 0xF];
  return text;
}

std::string headerWords() {
  return std::string(packtext::magic) + " " + std::to_string(packtext::version);
}

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

DecodedPack refused(std::string reason) {
  DecodedPack pack;
  pack.error = std::move(reason);
  return pack;
}

// The first line: the format's word, the version, the name. Returns why it
// is not one this reader takes, or "".
std::string readHeader(std::string_view line, std::string& name) {
  const std::string notAPack =
      "This is not a training pack text: it must begin with " + inQuotes(headerWords());
  std::vector<std::string_view> parts = words(line);
  if (parts.size() < 2 || parts[0] != packtext::magic || !allOf(parts[1], isDigit)) return notAPack;
  if (parts[1] != std::to_string(packtext::version)) {
    return "This training pack text is of version " + std::string(parts[1]) +
           "; this plug-in reads version " + std::to_string(packtext::version) + " only";
  }
  name = trimmed(line.substr(static_cast<size_t>(parts[1].end() - line.begin())), " \t");
  // Every path is UTF-8 text: other bytes never reach a folder name.
  if (!namerule::isUtf8(name)) return "The pack's name on the first line is not UTF-8 text";
  return {};
}

}  // namespace

std::string encodePackText(std::string_view name, const std::vector<std::string>& shotLines) {
  std::string cleanName(name);
  std::erase_if(cleanName, isControlCharacter);
  std::string header = headerWords();
  if (std::string_view shown = trimmed(cleanName, " "); !shown.empty()) {
    header += " " + std::string(shown);
  }
  std::vector<std::string_view> lines{header};
  lines.insert(lines.end(), shotLines.begin(), shotLines.end());
  std::string text;
  for (std::string_view line : lines) (text += line) += '\n';
  text += std::string(packtext::magic) + " " + std::string(packtext::endWord) + " " +
          std::to_string(shotLines.size()) + " " + hex(checksumOf(lines)) + "\n";
  return text;
}

DecodedPack decodePackText(std::string_view text) {
  if (text.size() > packtext::maxTextBytes) {
    return refused("The text is too long for a training pack text");
  }
  if (text.starts_with(packtext::byteOrderMark)) text.remove_prefix(packtext::byteOrderMark.size());
  std::vector<std::string_view> lines = meaningfulLines(text);
  if (lines.empty()) return refused("The text is empty");

  std::string name;
  if (std::string why = readHeader(lines.front(), name); !why.empty()) return refused(why);

  const std::string endLine = std::string(packtext::magic) + " " + std::string(packtext::endWord);
  std::vector<std::string_view> last = words(lines.back());
  if (lines.size() < 2 || last.size() < 2 || last[0] != packtext::magic ||
      last[1] != packtext::endWord) {
    return refused("The text is cut short: its last line " + inQuotes(endLine + " ...") +
                   " is missing");
  }
  if (last.size() != 4 || !allOf(last[2], isDigit) || last[2].size() > 9 ||
      last[3].size() != packtext::checksumDigits || !allOf(last[3], isHexDigit)) {
    return refused("The last line is damaged: it must be " + inQuotes(endLine + " COUNT CHECKSUM"));
  }
  lines.pop_back();
  const size_t shotLines = lines.size() - 1;
  uint32_t count = 0;
  std::from_chars(last[2].data(), last[2].data() + last[2].size(), count);
  if (count != shotLines) {
    return refused("The text holds " + shotCountText(shotLines) + " but its last line says " +
                   std::to_string(count) + ": lines were lost or added");
  }
  std::string checksum(last[3]);
  std::transform(checksum.begin(), checksum.end(), checksum.begin(), [](char c) {
    return static_cast<char>(c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c);
  });
  if (checksum != hex(checksumOf(lines))) {
    return refused("The checksum does not match: the text was changed or damaged");
  }

  DecodedPack pack;
  pack.name = std::move(name);
  pack.shots.resize(shotLines);
  for (size_t i = 0; i < shotLines; ++i) {
    Shot& shot = pack.shots[i];
    std::string why = readShotLineStrictly(lines[i + 1], shot);
    if (!why.empty()) {
      return refused("Shot line " + std::to_string(i + 1) + " cannot be read: " + why);
    }
    // The token as a name, before the name rule cleaned it.
    const std::string shown = underscoresToSpaces(std::string(words(lines[i + 1])[10]));
    if (shown != shot.name && !shot.name.empty()) pack.changedNames.push_back({shown, shot.name});
  }
  return pack;
}

std::string readShotLineStrictly(std::string_view line, Shot& shot) {
  std::vector<std::string_view> fields = words(line);
  if (fields.size() != shotfile::fieldCount) {
    return "it has " + std::to_string(fields.size()) + " fields, a shot line has " +
           std::to_string(shotfile::fieldCount);
  }
  float* floats[] = {&shot.ballLocationZ, &shot.ballLocationX, &shot.ballLocationY,
                     &shot.ballVelocityX, &shot.ballVelocityY, &shot.ballVelocityZ,
                     &shot.carLocationX,  &shot.carLocationY,  &shot.carLocationZ};
  for (size_t i = 0; i < std::size(floats); ++i) {
    if (!shotline::parseFloat(fields[i], *floats[i]) || !std::isfinite(*floats[i])) {
      return "field " + std::to_string(i + 1) + " is not a finite number";
    }
  }
  const std::pair<size_t, int32_t*> integers[] = {
      {9, &shot.carYaw}, {11, &shot.ballSpeed}, {12, &shot.carPitch}, {13, &shot.carRoll}};
  for (const auto& [index, field] : integers) {
    if (!shotline::parseInt(fields[index], *field)) {
      return "field " + std::to_string(index + 1) + " is not a whole number";
    }
  }
  const std::string_view token = fields[10];
  if (!namerule::isUtf8(token)) return std::string("its name ") + namerule::notUtf8Reason;
  shot.name = shotname::cleanReadName(std::string(token));
  // The writer's token for a shot without a name is carried as such.
  if (shot.name.empty() && token != shotfile::emptyNameToken) return "the shot has no name";
  if (namerule::isDeviceName(shot.name)) {
    return "its name " + namerule::deviceNameReason(shot.name);
  }
  return {};
}

std::string nameChangesText(const DecodedPack& pack) {
  constexpr size_t shown = 10;
  std::vector<std::string> changes;
  if (const std::string clean = cleanPackName(pack.name); clean != pack.name) {
    changes.push_back(inQuotes(pack.name) + " to " + inQuotes(clean));
  }
  for (const NameChange& change : pack.changedNames) {
    if (changes.size() == shown) break;
    changes.push_back(inQuotes(change.from) + " to " + inQuotes(change.to));
  }
  if (changes.empty()) return {};
  std::string text = "Names changed to suit every platform: ";
  for (size_t i = 0; i < changes.size(); ++i) text += (i > 0 ? ", " : "") + changes[i];
  const size_t all = pack.changedNames.size() + (pack.name != cleanPackName(pack.name) ? 1 : 0);
  if (all > changes.size()) text += " and " + std::to_string(all - changes.size()) + " more";
  return text;
}

std::string shotCountText(size_t count) {
  return std::to_string(count) + (count == 1 ? " shot" : " shots");
}
