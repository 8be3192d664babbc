#include "storage/ShotName.h"

#include <algorithm>

#include "storage/NameRule.h"
#include "storage/Shot.h"
#include "storage/ShotFileFormat.h"

namespace {

bool isSpace(char c) {
  // The classic locale's white space: what a stream skips between tokens.
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// `prefix` followed by one or more decimal digits, as a whole.
bool isPrefixAndDigits(std::string_view text, std::string_view prefix) {
  if (text.size() <= prefix.size() || text.substr(0, prefix.size()) != prefix) return false;
  return std::all_of(text.begin() + prefix.size(), text.end(), isDigit);
}

// "_" trimmed from both ends and "." from the end, in place: Windows drops
// trailing dots from file names, and "_" is a space in a name token.
void trimNameToken(std::string& token) {
  namerule::stripTrailingDotsAnd(token, '_');
  token.erase(0, token.find_first_not_of('_'));
}

}  // namespace

void stripForbiddenCharacters(std::string& text) { namerule::removeForbiddenCharacters(text); }

std::string underscoresToSpaces(std::string text) {
  std::replace(text.begin(), text.end(), '_', ' ');
  return text;
}

namespace shotname {

std::string trimUnderscores(std::string_view name) {
  const size_t first = name.find_first_not_of('_');
  if (first == std::string_view::npos) return {};
  const size_t last = name.find_last_not_of('_');
  return std::string(name.substr(first, last - first + 1));
}

std::string nameToken(std::string_view name) {
  std::string token(name);
  // White space first: a tab between two words is a space, not nothing.
  std::replace_if(token.begin(), token.end(), isSpace, '_');
  stripForbiddenCharacters(token);
  trimNameToken(token);
  if (token.empty()) return std::string(shotfile::emptyNameToken);
  return token;
}

std::string cleanReadName(std::string name) {
  stripForbiddenCharacters(name);
  // Trimmed in place: every shot of every load passes here.
  trimNameToken(name);
  return underscoresToSpaces(std::move(name));
}

std::string storedName(std::string_view name) { return cleanReadName(nameToken(name)); }

std::string fileNameFor(std::string_view name) {
  const std::string_view extension =
      isLegacyShotName(name) ? shotfile::legacyExtension : shotfile::shotExtension;
  return std::string(name) + std::string(extension);
}

std::string shotNameProblem(std::string_view name) {
  if (namerule::holdsForbiddenCharacter(name)) {
    return "A shot name cannot hold / \\ | * ? \" < > : or control characters";
  }
  if (trimUnderscores(name).empty()) return "A shot name needs more than spaces and underscores";
  if (namerule::isDeviceName(name)) return "The shot name cannot be used: " + namerule::deviceNameReason(name);
  return {};
}

bool isUsableShotName(std::string_view name) { return shotNameProblem(name).empty(); }

bool isLegacyShotName(std::string_view name) {
  return isPrefixAndDigits(name, shotfile::legacyStem);
}

bool isPlaceholderName(std::string_view name) {
  return name.empty() || name == shotfile::placeholderSpeedName ||
         isPrefixAndDigits(name, shotfile::placeholderStem);
}

std::string_view fileStem(std::string_view path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (slash == std::string_view::npos || dot == std::string_view::npos || dot < slash) return {};
  return path.substr(slash + 1, dot - slash - 1);
}

std::string folderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {};
  return std::string(path.substr(0, slash + 1));
}

std::string temporaryPathFor(std::string_view path) {
  const std::string folder = folderOf(path);
  std::string_view fileName = path.substr(folder.size());
  // Kept within one file-name length, so a shot whose own name is at the
  // limit can still be written.
  const size_t room = shotfile::maxFileNameBytes - 1 - shotfile::temporarySuffix.size();
  fileName = fileName.substr(0, std::min(fileName.size(), room));
  return folder + "." + std::string(fileName) + std::string(shotfile::temporarySuffix);
}

}  // namespace shotname
