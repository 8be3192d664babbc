#include "pluginsdk/sim/SavedConfig.h"

#include <fmt/format.h>

#include <fstream>
#include <iomanip>
#include <system_error>
#include <vector>

#include "platform/Utf8Path.h"
#include "pluginsdk/sim/Console.h"

namespace sim {

namespace {

// A line is read with escapes; one whose quotes then do not close was not
// written with escapes (an older file) and is read as the console reads it.
std::vector<std::string> splitSavedLine(std::string_view line) {
  SplitWords escaped = splitQuotedWords(line, true);
  return escaped.quotesClosed ? std::move(escaped.words) : splitCommandLine(line);
}

}  // namespace

SavedConfig::SavedConfig(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = splitSavedLine(line);
    if (words.size() == 2) values_[words[0]] = words[1];
    if (words.size() == 3 && words[0] == "bind") binds_[words[1]] = words[2];
  }
}

const std::string* SavedConfig::value(std::string_view name) const {
  auto found = values_.find(name);
  return found == values_.end() ? nullptr : &found->second;
}

std::optional<std::string> SavedConfig::write() const {
  std::error_code error;
  std::filesystem::create_directories(file_.parent_path(), error);
  std::filesystem::path temporary = file_;
  temporary += ".tmp";
  {
    // Binary: the same bytes on every platform (no CRLF on Windows).
    // std::quoted escapes '"' and '\' with a backslash.
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (auto& [name, value] : values_) out << name << ' ' << std::quoted(value) << '\n';
    for (auto& [key, command] : binds_) out << "bind " << key << ' ' << std::quoted(command) << '\n';
    if (!out.flush()) return fmt::format("Could not save the configuration to {}", utf8FromPath(file_));
  }
  std::filesystem::rename(temporary, file_, error);
  if (error) return fmt::format("Could not save the configuration to {}: {}", utf8FromPath(file_), error.message());
  return std::nullopt;
}

}  // namespace sim
