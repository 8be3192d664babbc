#pragma once
// The simulated host behind the wrappers, made of four parts: the console
// (commands, variables, key binds, console lines, the log; sim/Console.h),
// the saved configuration (sim/SavedConfig.h), the game (a match with one
// ball and the player's car; sim/Game.h) and the game clock (sim/Clock.h).
// Everything a plug-in does to it is visible to tests, both as state and as
// an ordered call record.
//
// Folders: hostDir is the host's own folder; its data folder is
// hostDir/"data" and its configuration folder hostDir/"cfg".
//
// Saved variables: values of variables registered with saveToCfg are written
// to cfg/"config.cfg" by saveConfig and read back when the next Host starts.
// A saved value replaces the default at registration time, before the
// plug-in can attach callbacks; once the plug-in's onLoad has returned, the
// loader calls announceRestoredValues, which runs the value-changed callbacks
// of every variable whose value came from the file, so that the plug-in's
// mirrors agree with what the console shows.
//
// Key binds are kept the same way: saveConfig writes them into the same
// file, and the next Host starts with them bound, before any plug-in loads.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "pluginsdk/CVarManagerWrapper.h"
#include "pluginsdk/GameWrapper.h"
#include "pluginsdk/sim/Clock.h"
#include "pluginsdk/sim/Console.h"
#include "pluginsdk/sim/Game.h"
#include "pluginsdk/sim/SavedConfig.h"

namespace sim {

class Host {
 public:
  explicit Host(std::filesystem::path hostDir);
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

  const std::filesystem::path& hostDir() const { return hostDir_; }
  std::filesystem::path dataDir() const { return hostDir_ / "data"; }
  std::filesystem::path cfgDir() const { return hostDir_ / "cfg"; }

  // The two objects a plug-in receives; one of each per host.
  std::shared_ptr<CVarManagerWrapper> cvarManager() { return cvarManager_; }
  std::shared_ptr<GameWrapper> gameWrapper() { return gameWrapper_; }

  // ---- console ----
  void registerNotifier(NotifierRecord notifier) { console_.registerNotifier(std::move(notifier)); }
  // A saved value replaces the default of a variable registered with
  // saveToCfg.
  CVarRecord* registerCvar(CVarRecord cvar);
  CVarRecord* findCvar(std::string_view name) { return console_.findCvar(name); }
  // Forgets a variable, as a host whose console lacks it: later lookups
  // return an invalid handle. Handles already taken must not be used again.
  void removeCvar(std::string_view name) { console_.removeCvar(name); }
  void setCvar(CVarRecord& cvar, std::string value) { console_.setCvar(cvar, std::move(value)); }
  bool hasNotifier(std::string_view name) const { return findNotifier(name) != nullptr; }
  const NotifierRecord* findNotifier(std::string_view name) const { return console_.findNotifier(name); }
  const std::vector<std::string>& notifierOrder() const { return console_.notifierOrder(); }
  const std::vector<std::string>& cvarOrder() const { return console_.cvarOrder(); }

  // See Console::execute.
  bool execute(std::string_view line, bool echo = false) { return console_.execute(line, echo); }
  // Runs every line of cfgDir()/fileName; false when it cannot be read.
  bool loadCfg(const std::string& fileName) { return console_.loadCfg(fileName); }

  void log(std::string line) { console_.log(std::move(line)); }
  const std::vector<std::string>& logLines() const { return console_.logLines(); }
  void clearLog() { console_.clearLog(); }
  // Receives every log line as it is written (the sandbox prints them).
  std::function<void(const std::string&)> logSink;

  // ---- key binds ----
  const std::map<std::string, std::string>& binds() const { return console_.binds(); }
  // Runs the command bound to the key; false when the key is not bound.
  bool pressKey(const std::string& key) { return console_.pressKey(key); }

  // Called for "togglemenu NAME"; false when no menu has that name (the
  // handler says so). Unset, the host only records the request.
  std::function<bool(const std::string&)> onToggleMenu;

  // Drops every callback a plug-in left with the host (notifiers, value-changed
  // callbacks, timeouts, queued executes, the world's stepper, event hooks),
  // keeping names and values. A host must do this before it closes the plug-in's library:
  // the callbacks' code lives there.
  void releaseCallbacks();

  // ---- saved configuration ----
  // Writes the saved variables and the key binds to cfg/config.cfg; a
  // failure is logged.
  void saveConfig();
  void announceRestoredValues() { console_.announceRestoredValues(); }
  // Binds again exactly what the last saveConfig (or the start) found bound,
  // as a restart would.
  void restoreSavedBinds() { console_.replaceBinds(savedConfig_.binds()); }

  // ---- the game ----
  void startLocalMatch() { game_.startLocalMatch(); }
  void startOnlineMatch() { game_.startOnlineMatch(); }
  void leaveMatch() { game_.leaveMatch(); }
  Match match() const { return game_.match(); }
  // The running match's server, ball and car, or null.
  Server* server() { return game_.server(); }
  Ball* ball() { return game_.ball(); }
  Car* car() { return game_.car(); }
  void setWorldStepper(WorldStepper stepper) { game_.setWorldStepper(std::move(stepper)); }
  void hookEvent(std::string eventName, EventHook hook) { game_.hookEvent(std::move(eventName), std::move(hook)); }
  void unhookEvent(const std::string& eventName) { game_.unhookEvent(eventName); }
  std::vector<std::string> hookedEvents() const { return game_.hookedEvents(); }
  // Runs the event's hooks as if the game event happened.
  void fireEvent(const std::string& eventName) { game_.fire(eventName); }

  // ---- the clock ----
  // Seconds since the host started.
  double now() const { return clock_.now(); }
  // Advances the clock in ticks of at most 1/120 s (see Clock::advance); the
  // game steps once after each tick.
  void advance(double seconds);
  void tick() { advance(1.0 / 120.0); }
  void addTimeout(std::function<void()> callback, double seconds) { clock_.addTimeout(std::move(callback), seconds); }
  void addExecute(std::function<void()> callback) { clock_.addExecute(std::move(callback)); }
  size_t pendingTimeouts() const { return clock_.pendingTimeouts(); }
  size_t pendingExecutes() const { return clock_.pendingExecutes(); }

  // ---- call record ----
  // One entry per operation a plug-in performed on the game, in order, such
  // as "Ball.SetLocation(1, 2, 3)" or "Game.SetTimeout(0.2)".
  std::vector<std::string> calls;
  void record(std::string call) { calls.push_back(std::move(call)); }

 private:
  std::filesystem::path hostDir_;
  std::shared_ptr<CVarManagerWrapper> cvarManager_;
  std::shared_ptr<GameWrapper> gameWrapper_;
  Console console_;
  SavedConfig savedConfig_;
  Game game_;
  Clock clock_;
};

}  // namespace sim
