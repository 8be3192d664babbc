#pragma once
// The simulated host's console: commands (notifiers), console variables, key
// binds, console lines and the log. It owns every variable record; a
// CVarWrapper is a handle to one of them.
//
// What the console reaches outside itself it reaches through the hooks given
// at construction: where each log line goes once kept, and what "togglemenu
// NAME" does. Files named by "exec" are read from the configuration folder.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pluginsdk/CVarManagerWrapper.h"
#include "pluginsdk/CVarWrapper.h"

namespace sim {

class Console;

struct CVarRecord {
  Console* console = nullptr;  // set by Console::registerCvar
  std::string name;
  std::string defaultValue;
  std::string description;
  bool searchable = true;
  bool hasMin = false;
  float min = 0;
  bool hasMax = false;
  float max = 0;
  bool saveToCfg = true;
  bool restored = false;  // the value came from the saved configuration
  std::string value;
  std::vector<CVarWrapper::ChangedCallback> callbacks;
};

struct NotifierRecord {
  std::string name;
  std::string description;
  uint8_t permissions = 0;
  CVarManagerWrapper::NotifierCallback callback;
};

struct ConsoleHooks {
  // Receives every log line after the console has kept it.
  std::function<void(const std::string&)> logged;
  // Runs "togglemenu NAME"; false when no menu has that name.
  std::function<bool(const std::string&)> toggleMenu;
};

class Console {
 public:
  Console(std::filesystem::path cfgDir, ConsoleHooks hooks);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // ---- commands and variables ----
  void registerNotifier(NotifierRecord notifier);
  // Registers the variable as given (its value included), or returns the one
  // already registered under its name, unchanged.
  CVarRecord* registerCvar(CVarRecord cvar);
  CVarRecord* findCvar(std::string_view name);
  // Forgets a variable: later lookups find nothing. Handles already taken
  // must not be used again.
  void removeCvar(std::string_view name);
  // Sets a variable's text (clamped when numeric and bounded) and runs its
  // callbacks.
  void setCvar(CVarRecord& cvar, std::string value);
  // Runs the callbacks of every variable whose value came from the saved
  // configuration, once, in registration order.
  void announceRestoredValues();
  const NotifierRecord* findNotifier(std::string_view name) const;
  const std::vector<std::string>& notifierOrder() const { return notifierOrder_; }
  const std::vector<std::string>& cvarOrder() const { return cvarOrder_; }

  // ---- console lines ----
  // Runs one console line. Several commands may be separated by ';'. Words
  // are split at blanks; double quotes group words. A command the console
  // cannot execute (unknown, wrong arguments, a file it cannot read) gets
  // one log line saying why; false when any command of the line failed.
  bool execute(std::string_view line, bool echo = false);
  // Runs every line of cfgDir/fileName; false when it cannot be read.
  bool loadCfg(const std::string& fileName);

  // ---- key binds ----
  const std::map<std::string, std::string>& binds() const { return binds_; }
  void replaceBinds(std::map<std::string, std::string> binds) { binds_ = std::move(binds); }
  // Runs the command bound to the key; false when the key is not bound.
  bool pressKey(const std::string& key);

  // ---- log ----
  void log(std::string line);
  const std::vector<std::string>& logLines() const { return logLines_; }
  void clearLog() { logLines_.clear(); }

  // Drops the notifiers' and the variables' callbacks, keeping names and
  // values.
  void releaseCallbacks();

 private:
  bool executeCommand(const std::vector<std::string>& words);
  bool setFromConsole(CVarRecord& cvar, const std::vector<std::string>& words);

  std::filesystem::path cfgDir_;
  ConsoleHooks hooks_;
  std::map<std::string, NotifierRecord, std::less<>> notifiers_;
  std::map<std::string, std::unique_ptr<CVarRecord>, std::less<>> cvars_;
  std::vector<std::string> notifierOrder_;
  std::vector<std::string> cvarOrder_;
  std::map<std::string, std::string> binds_;
  std::vector<std::string> logLines_;
  int cfgDepth_ = 0;
};

// Splits a console line into words: blanks separate, double quotes group.
std::vector<std::string> splitCommandLine(std::string_view line);

// The same split, and with `escapes` reading \" and \\ inside quotes as the
// character escaped (how the saved configuration writes its texts); whether
// the line's quotes closed.
struct SplitWords {
  std::vector<std::string> words;
  bool quotesClosed = true;
};
SplitWords splitQuotedWords(std::string_view line, bool escapes);

// Parses the whole text as a number; false for anything else.
bool parseNumber(std::string_view text, double& value);

}  // namespace sim
