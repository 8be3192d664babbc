#include "pluginsdk/sim/Console.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>

#include "platform/Utf8Path.h"

namespace sim {

namespace {

constexpr int kMaxCfgDepth = 8;  // exec may nest, but never forever

std::string_view trim(std::string_view text) {
  const char* blanks = " \t\r\n";
  size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

// Splits at ';' outside double quotes.
std::vector<std::string_view> splitCommands(std::string_view line) {
  std::vector<std::string_view> commands;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ';' && !quoted) {
      commands.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  commands.push_back(line.substr(start));
  return commands;
}

std::string formatNumber(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15) return fmt::format("{}", static_cast<long long>(value));
  return fmt::format("{}", value);
}

void runCallbacks(CVarRecord& cvar) {
  // A callback may register more callbacks; iterate over a copy.
  auto callbacks = cvar.callbacks;
  for (auto& callback : callbacks) callback(cvar.value, CVarWrapper(&cvar));
}

}  // namespace

SplitWords splitQuotedWords(std::string_view line, bool escapes) {
  SplitWords split;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (escapes && quoted && c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
      word.push_back(line[++i]);
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (inWord) split.words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) split.words.push_back(std::move(word));
  split.quotesClosed = !quoted;
  return split;
}

std::vector<std::string> splitCommandLine(std::string_view line) { return splitQuotedWords(line, false).words; }

bool parseNumber(std::string_view text, double& value) {
  text = trim(text);
  if (text.empty()) return false;
  if (text.front() == '+') text.remove_prefix(1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

Console::Console(std::filesystem::path cfgDir, ConsoleHooks hooks)
    : cfgDir_(std::move(cfgDir)), hooks_(std::move(hooks)) {}

// ---- commands and variables ----

void Console::registerNotifier(NotifierRecord notifier) {
  std::string name = notifier.name;
  if (!notifiers_.count(name)) notifierOrder_.push_back(name);
  notifiers_[name] = std::move(notifier);
}

CVarRecord* Console::registerCvar(CVarRecord cvar) {
  if (auto found = cvars_.find(cvar.name); found != cvars_.end()) return found->second.get();
  cvar.console = this;
  auto record = std::make_unique<CVarRecord>(std::move(cvar));
  CVarRecord* result = record.get();
  cvarOrder_.push_back(result->name);
  cvars_.emplace(result->name, std::move(record));
  return result;
}

CVarRecord* Console::findCvar(std::string_view name) {
  auto found = cvars_.find(name);
  return found == cvars_.end() ? nullptr : found->second.get();
}

void Console::removeCvar(std::string_view name) {
  auto found = cvars_.find(name);
  if (found == cvars_.end()) return;
  std::erase(cvarOrder_, found->first);
  cvars_.erase(found);
}

const NotifierRecord* Console::findNotifier(std::string_view name) const {
  auto found = notifiers_.find(name);
  return found == notifiers_.end() ? nullptr : &found->second;
}

void Console::setCvar(CVarRecord& cvar, std::string value) {
  double number = 0;
  if ((cvar.hasMin || cvar.hasMax) && parseNumber(value, number)) {
    double clamped = number;
    if (cvar.hasMin) clamped = std::max(clamped, static_cast<double>(cvar.min));
    if (cvar.hasMax) clamped = std::min(clamped, static_cast<double>(cvar.max));
    if (clamped != number) value = formatNumber(clamped);
  }
  cvar.value = std::move(value);
  runCallbacks(cvar);
}

void Console::announceRestoredValues() {
  for (const std::string& name : cvarOrder_) {
    CVarRecord& cvar = *cvars_.at(name);
    if (!cvar.restored) continue;
    cvar.restored = false;
    runCallbacks(cvar);
  }
}

// ---- console lines ----

bool Console::execute(std::string_view line, bool echo) {
  if (echo) log(fmt::format("] {}", trim(line)));
  bool executed = true;
  for (std::string_view command : splitCommands(line)) {
    command = trim(command);
    if (command.empty() || command.substr(0, 2) == "//") continue;
    if (!executeCommand(splitCommandLine(command))) executed = false;
  }
  return executed;
}

bool Console::executeCommand(const std::vector<std::string>& words) {
  if (words.empty()) return true;
  const std::string& name = words[0];
  // A command word with the wrong number of arguments: says how it is used.
  auto usage = [&](size_t wordCount, const char* text) {
    if (words.size() != wordCount) log(fmt::format("usage: {}", text));
    return words.size() == wordCount;
  };
  if (name == "bind") {
    if (!usage(3, "bind KEY \"COMMAND\"")) return false;
    binds_[words[1]] = words[2];
    return true;
  }
  if (name == "unbind") {
    if (!usage(2, "unbind KEY")) return false;
    binds_.erase(words[1]);
    return true;
  }
  if (name == "togglemenu") {
    return usage(2, "togglemenu NAME") && (!hooks_.toggleMenu || hooks_.toggleMenu(words[1]));
  }
  if (name == "exec") {
    return usage(2, "exec FILE") && loadCfg(words[1]);
  }
  if (auto notifier = notifiers_.find(name); notifier != notifiers_.end()) {
    // Copy: the callback may register notifiers and invalidate the iterator.
    auto callback = notifier->second.callback;
    if (callback) callback(words);
    return true;
  }
  if (CVarRecord* cvar = findCvar(name)) return setFromConsole(*cvar, words);
  log(fmt::format("Unknown command: {}", name));
  return false;
}

// "NAME" shows the value, "NAME VALUE" sets it; a numeric variable takes
// only a number.
bool Console::setFromConsole(CVarRecord& cvar, const std::vector<std::string>& words) {
  if (words.size() == 1) {
    log(fmt::format("{} = \"{}\"", cvar.name, cvar.value));
    return true;
  }
  double number = 0;
  double ignored = 0;
  bool numeric = parseNumber(cvar.defaultValue, ignored) || cvar.hasMin || cvar.hasMax;
  if (numeric && !parseNumber(words[1], number)) {
    log(fmt::format("{}: \"{}\" is not a number", cvar.name, words[1]));
    return false;
  }
  setCvar(cvar, words[1]);
  return true;
}

bool Console::loadCfg(const std::string& fileName) {
  std::filesystem::path path = cfgDir_ / pathFromUtf8(fileName);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    log(fmt::format("Could not open cfg file: {}", utf8FromPath(path)));
    return false;
  }
  if (cfgDepth_ >= kMaxCfgDepth) {
    log(fmt::format("exec: too deeply nested: {}", fileName));
    return false;
  }
  ++cfgDepth_;
  std::string line;
  while (std::getline(in, line)) execute(line);
  --cfgDepth_;
  return true;
}

// ---- key binds ----

bool Console::pressKey(const std::string& key) {
  auto bound = binds_.find(key);
  if (bound == binds_.end()) return false;
  std::string command = bound->second;  // the command may rebind the key
  execute(command);
  return true;
}

// ---- log ----

void Console::log(std::string line) {
  logLines_.push_back(std::move(line));
  if (hooks_.logged) hooks_.logged(logLines_.back());
}

void Console::releaseCallbacks() {
  for (auto& [name, notifier] : notifiers_) notifier.callback = nullptr;
  for (auto& [name, cvar] : cvars_) cvar->callbacks.clear();
}

}  // namespace sim
