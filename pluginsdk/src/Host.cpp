#include "pluginsdk/sim/Host.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <system_error>

#include "platform/Utf8Path.h"

namespace sim {

namespace {

constexpr const char* kConfigFile = "config.cfg";
constexpr int kMaxCfgDepth = 8;  // exec may nest, but never forever
constexpr int64_t kTickMicros = 8333;

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

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word.push_back(c);
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

bool parseNumber(std::string_view text, double& value) {
  text = trim(text);
  if (text.empty()) return false;
  if (text.front() == '+') text.remove_prefix(1);
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

Host::Host(std::filesystem::path hostDir)
    : hostDir_(std::move(hostDir)),
      cvarManager_(std::make_shared<CVarManagerWrapper>(this)),
      gameWrapper_(std::make_shared<GameWrapper>(this)) {
  readSavedConfig();
}

Host::~Host() = default;

// ---- console ----

void Host::registerNotifier(NotifierRecord notifier) {
  std::string name = notifier.name;
  if (!notifiers_.count(name)) notifierOrder_.push_back(name);
  notifiers_[name] = std::move(notifier);
}

CVarRecord* Host::registerCvar(CVarRecord cvar) {
  if (auto found = cvars_.find(cvar.name); found != cvars_.end()) return found->second.get();
  cvar.host = this;
  cvar.value = cvar.defaultValue;
  if (auto saved = savedValues_.find(cvar.name); cvar.saveToCfg && saved != savedValues_.end()) {
    cvar.value = saved->second;
    cvar.restored = true;
  }
  auto record = std::make_unique<CVarRecord>(std::move(cvar));
  CVarRecord* result = record.get();
  cvarOrder_.push_back(result->name);
  cvars_.emplace(result->name, std::move(record));
  return result;
}

CVarRecord* Host::findCvar(std::string_view name) {
  auto found = cvars_.find(name);
  return found == cvars_.end() ? nullptr : found->second.get();
}

void Host::removeCvar(std::string_view name) {
  auto found = cvars_.find(name);
  if (found == cvars_.end()) return;
  std::erase(cvarOrder_, found->first);
  cvars_.erase(found);
}

const NotifierRecord* Host::findNotifier(std::string_view name) const {
  auto found = notifiers_.find(name);
  return found == notifiers_.end() ? nullptr : &found->second;
}

bool Host::hasNotifier(std::string_view name) const { return findNotifier(name) != nullptr; }

void Host::setCvar(CVarRecord& cvar, std::string value) {
  double number = 0;
  if ((cvar.hasMin || cvar.hasMax) && parseNumber(value, number)) {
    double clamped = number;
    if (cvar.hasMin) clamped = std::max(clamped, static_cast<double>(cvar.min));
    if (cvar.hasMax) clamped = std::min(clamped, static_cast<double>(cvar.max));
    if (clamped != number) value = formatNumber(clamped);
  }
  cvar.value = std::move(value);
  // A callback may register more callbacks; iterate over a copy.
  auto callbacks = cvar.callbacks;
  for (auto& callback : callbacks) callback(cvar.value, CVarWrapper(&cvar));
}

bool Host::execute(std::string_view line, bool echo) {
  if (echo) log(fmt::format("] {}", trim(line)));
  bool executed = true;
  for (std::string_view command : splitCommands(line)) {
    command = trim(command);
    if (command.empty() || command.substr(0, 2) == "//") continue;
    if (!executeCommand(splitCommandLine(command))) executed = false;
  }
  return executed;
}

bool Host::executeCommand(const std::vector<std::string>& words) {
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
    if (!usage(2, "togglemenu NAME")) return false;
    record(fmt::format("Host.togglemenu({})", words[1]));
    return !onToggleMenu || onToggleMenu(words[1]);
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
  if (CVarRecord* cvar = findCvar(name)) {
    if (words.size() == 1) {
      log(fmt::format("{} = \"{}\"", cvar->name, cvar->value));
      return true;
    }
    double number = 0;
    double ignored = 0;
    bool numeric = parseNumber(cvar->defaultValue, ignored) || cvar->hasMin || cvar->hasMax;
    if (numeric && !parseNumber(words[1], number)) {
      log(fmt::format("{}: \"{}\" is not a number", cvar->name, words[1]));
      return false;
    }
    setCvar(*cvar, words[1]);
    return true;
  }
  log(fmt::format("Unknown command: {}", name));
  return false;
}

bool Host::loadCfg(const std::string& fileName) {
  std::filesystem::path path = cfgDir() / pathFromUtf8(fileName);
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

void Host::log(std::string line) {
  logLines_.push_back(line);
  if (logSink) logSink(logLines_.back());
}

bool Host::pressKey(const std::string& key) {
  auto bound = binds_.find(key);
  if (bound == binds_.end()) return false;
  std::string command = bound->second;  // the command may rebind the key
  execute(command);
  return true;
}

void Host::releaseCallbacks() {
  for (auto& [name, notifier] : notifiers_) notifier.callback = nullptr;
  for (auto& [name, cvar] : cvars_) cvar->callbacks.clear();
  timeouts_.clear();
  executes_.clear();
  stepper_ = nullptr;
}

// ---- saved configuration ----

void Host::readSavedConfig() {
  std::ifstream in(cfgDir() / kConfigFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = splitCommandLine(line);
    if (words.size() == 2) savedValues_[words[0]] = words[1];
    if (words.size() == 3 && words[0] == "bind") savedBinds_[words[1]] = words[2];
  }
  binds_ = savedBinds_;
}

void Host::saveConfig() {
  for (auto& [name, cvar] : cvars_) {
    if (cvar->saveToCfg) savedValues_[name] = cvar->value;
  }
  savedBinds_ = binds_;
  std::error_code error;
  std::filesystem::create_directories(cfgDir(), error);
  std::filesystem::path path = cfgDir() / kConfigFile;
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    // Binary: the same bytes on every platform (no CRLF on Windows).
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    for (auto& [name, value] : savedValues_) out << name << " \"" << value << "\"\n";
    for (auto& [key, command] : savedBinds_) out << "bind " << key << " \"" << command << "\"\n";
    if (!out.flush()) {
      log(fmt::format("Could not save the configuration to {}", utf8FromPath(path)));
      return;
    }
  }
  std::filesystem::rename(temporary, path, error);
  if (error) log(fmt::format("Could not save the configuration to {}: {}", utf8FromPath(path), error.message()));
}

void Host::announceRestoredValues() {
  for (const std::string& name : cvarOrder_) {
    CVarRecord& cvar = *cvars_.at(name);
    if (!cvar.restored) continue;
    cvar.restored = false;
    auto callbacks = cvar.callbacks;
    for (auto& callback : callbacks) callback(cvar.value, CVarWrapper(&cvar));
  }
}

// ---- the game ----

void Host::startLocalMatch() {
  match_ = Match::Local;
  server_ = std::make_unique<Server>();
  server_->host = this;
  server_->kind = ActorKind::Server;
  server_->ball = std::make_unique<Ball>();
  server_->ball->host = this;
  server_->ball->kind = ActorKind::Ball;
  server_->ball->location = {0, 0, 92.75f};
  server_->car = std::make_unique<Car>();
  server_->car->host = this;
  server_->car->kind = ActorKind::Car;
  server_->car->location = {0, -4608, 17};
  server_->car->rotation = {0, 16384, 0};
}

void Host::startOnlineMatch() {
  match_ = Match::Online;
  server_.reset();
}

void Host::leaveMatch() {
  match_ = Match::None;
  server_.reset();
}

// ---- the clock ----

void Host::addTimeout(std::function<void()> callback, double seconds) {
  auto delay = static_cast<int64_t>(std::llround(std::max(0.0, seconds) * 1e6));
  timeouts_.push_back({nowMicros_ + delay, timeoutOrder_++, std::move(callback)});
}

void Host::addExecute(std::function<void()> callback) { executes_.push_back(std::move(callback)); }

void Host::runDueTimeouts() {
  for (;;) {
    auto due = std::min_element(timeouts_.begin(), timeouts_.end(), [](const Timeout& a, const Timeout& b) {
      return a.dueMicros != b.dueMicros ? a.dueMicros < b.dueMicros : a.order < b.order;
    });
    if (due == timeouts_.end() || due->dueMicros > nowMicros_) return;
    auto callback = std::move(due->callback);
    timeouts_.erase(due);
    callback();
  }
}

void Host::advance(double seconds) {
  auto remaining = static_cast<int64_t>(std::llround(std::max(0.0, seconds) * 1e6));
  do {
    auto queued = std::move(executes_);
    executes_.clear();
    for (auto& callback : queued) callback();
    int64_t step = std::min(remaining, kTickMicros);
    nowMicros_ += step;
    remaining -= step;
    runDueTimeouts();
    if (stepper_ && server_ && step > 0) stepper_(*server_, static_cast<double>(step) / 1e6);
  } while (remaining > 0);
}

}  // namespace sim
