#include "pluginsdk/sim/SavedConfig.h"

#include <fmt/format.h>

#include <fstream>
#include <system_error>
#include <vector>

#include "platform/Utf8Path.h"
#include "pluginsdk/sim/Console.h"

namespace sim {

SavedConfig::SavedConfig(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = splitCommandLine(line);
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
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (auto& [name, value] : values_) out << name << " \"" << value << "\"\n";
    for (auto& [key, command] : binds_) out << "bind " << key << " \"" << command << "\"\n";
    if (!out.flush()) return fmt::format("Could not save the configuration to {}", utf8FromPath(file_));
  }
  std::filesystem::rename(temporary, file_, error);
  if (error) return fmt::format("Could not save the configuration to {}: {}", utf8FromPath(file_), error.message());
  return std::nullopt;
}

}  // namespace sim
