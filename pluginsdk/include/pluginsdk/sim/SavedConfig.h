#pragma once
// The host's saved configuration, the file cfg/"config.cfg": the values of
// the saved console variables, as `NAME "VALUE"` lines, and the key binds, as
// `bind KEY "COMMAND"` lines. The quoted text escapes '"' and '\' with a
// backslash, so that every value and command reads back exactly.
//
// A line an older host wrote, without escapes, reads as it always did: a
// backslash not followed by '"' or '\' stands for itself, and a line whose
// quotes do not close when read with escapes is read without them (so
// `path "C:\games\"` still reads as C:\games\).
//
// Values of variables the running host never registered are kept and written
// again, as the file had them.

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

class SavedConfig {
 public:
  // Reads the file; a missing or unreadable file reads as empty.
  explicit SavedConfig(std::filesystem::path file);

  // The saved value of a variable, or null.
  const std::string* value(std::string_view name) const;
  const std::map<std::string, std::string>& binds() const { return binds_; }

  void keepValue(const std::string& name, std::string value) { values_[name] = std::move(value); }
  void keepBinds(std::map<std::string, std::string> binds) { binds_ = std::move(binds); }

  // Writes every value and bind kept (through a temporary file renamed over
  // the old one, creating the folder if needed). Returns the console line
  // saying why the file could not be written, or nothing when it was.
  std::optional<std::string> write() const;

 private:
  std::filesystem::path file_;
  std::map<std::string, std::string, std::less<>> values_;
  std::map<std::string, std::string> binds_;
};

}  // namespace sim
