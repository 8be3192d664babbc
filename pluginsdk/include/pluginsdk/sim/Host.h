#pragma once
// The simulated host behind the wrappers: console, variables, key binds,
// configuration files, a local or online match with one ball and the
// player's car, and a game clock. Everything a plug-in does to it is visible
// to tests, both as state and as an ordered call record.
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
#include "pluginsdk/GameWrapper.h"
#include "pluginsdk/Types.h"

namespace sim {

class Host;

struct CVarRecord {
  Host* host = nullptr;
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

enum class ActorKind { Server, Ball, Car };

// Every game object starts with this base so that a handle's memory address
// leads back to the host and the kind of object.
struct Actor {
  Host* host = nullptr;
  ActorKind kind = ActorKind::Ball;
  Vector location;
  Vector velocity;
};

struct Ball : Actor {
  uint8_t hitTeam = 0;
  bool godBall = true;
  uint8_t carHitTeam = 0;
  float targetSpeed = 0;
  int colorUpdates = 0;
  int hitTeamChangedEvents = 0;
};

struct Car : Actor {
  Rotator rotation;
};

struct Server : Actor {
  int maxScore = 3;
  std::unique_ptr<Ball> ball;
  std::unique_ptr<Car> car;
};

enum class Match { None, Local, Online };

// Optional motion of the simulated world, run once per clock tick.
using WorldStepper = std::function<void(Server& server, double seconds)>;

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
  void registerNotifier(NotifierRecord notifier);
  CVarRecord* registerCvar(CVarRecord cvar);
  CVarRecord* findCvar(std::string_view name);
  // Forgets a variable, as a host whose console lacks it: later lookups
  // return an invalid handle. Handles already taken must not be used again.
  void removeCvar(std::string_view name);
  // Sets a variable's text (clamped when numeric and bounded) and runs its
  // callbacks.
  void setCvar(CVarRecord& cvar, std::string value);
  bool hasNotifier(std::string_view name) const;

  // Runs one console line. Several commands may be separated by ';'. Words
  // are split at blanks; double quotes group words. A command the host
  // cannot execute (unknown, wrong arguments, a file it cannot read) gets
  // one console line saying why; false when any command of the line failed.
  bool execute(std::string_view line, bool echo = false);
  // Runs every line of cfgDir()/fileName; false when it cannot be read.
  bool loadCfg(const std::string& fileName);

  void log(std::string line);
  const std::vector<std::string>& logLines() const { return logLines_; }
  void clearLog() { logLines_.clear(); }
  // Receives every log line as it is written (the sandbox prints them).
  std::function<void(const std::string&)> logSink;

  const std::vector<std::string>& notifierOrder() const { return notifierOrder_; }
  const std::vector<std::string>& cvarOrder() const { return cvarOrder_; }
  const NotifierRecord* findNotifier(std::string_view name) const;

  // ---- key binds ----
  const std::map<std::string, std::string>& binds() const { return binds_; }
  // Runs the command bound to the key; false when the key is not bound.
  bool pressKey(const std::string& key);

  // Called for "togglemenu NAME"; false when no menu has that name (the
  // handler says so). Unset, the host only records the request.
  std::function<bool(const std::string&)> onToggleMenu;

  // Drops every callback a plug-in left with the host (notifiers, value-changed
  // callbacks, timeouts, queued executes), keeping names and values. A host
  // must do this before it closes the plug-in's library: the callbacks' code
  // lives there.
  void releaseCallbacks();

  // ---- saved configuration ----
  // Writes the saved variables and the key binds to cfg/config.cfg.
  void saveConfig();
  void announceRestoredValues();
  // Binds again exactly what the last saveConfig (or the start) found bound,
  // as a restart would.
  void restoreSavedBinds() { binds_ = savedBinds_; }

  // ---- the game ----
  void startLocalMatch();
  void startOnlineMatch();
  void leaveMatch();
  Match match() const { return match_; }
  // The running match's server, ball and car, or null.
  Server* server() { return server_.get(); }
  Ball* ball() { return server_ ? server_->ball.get() : nullptr; }
  Car* car() { return server_ ? server_->car.get() : nullptr; }
  void setWorldStepper(WorldStepper stepper) { stepper_ = std::move(stepper); }

  // ---- the clock ----
  // Seconds since the host started.
  double now() const { return static_cast<double>(nowMicros_) / 1e6; }
  // Advances the clock in ticks of at most 1/120 s. Each tick first runs the
  // callbacks queued with Execute, then moves the clock, then fires the
  // timeouts whose time has come, then steps the world.
  void advance(double seconds);
  void tick() { advance(1.0 / 120.0); }
  void addTimeout(std::function<void()> callback, double seconds);
  void addExecute(std::function<void()> callback);
  size_t pendingTimeouts() const { return timeouts_.size(); }
  size_t pendingExecutes() const { return executes_.size(); }

  // ---- call record ----
  // One entry per operation a plug-in performed on the game, in order, such
  // as "Ball.SetLocation(1, 2, 3)" or "Game.SetTimeout(0.2)".
  std::vector<std::string> calls;
  void record(std::string call) { calls.push_back(std::move(call)); }

 private:
  struct Timeout {
    int64_t dueMicros;
    uint64_t order;
    std::function<void()> callback;
  };

  bool executeCommand(const std::vector<std::string>& words);
  void readSavedConfig();
  void runDueTimeouts();

  std::filesystem::path hostDir_;
  std::shared_ptr<CVarManagerWrapper> cvarManager_;
  std::shared_ptr<GameWrapper> gameWrapper_;

  std::map<std::string, NotifierRecord, std::less<>> notifiers_;
  std::map<std::string, std::unique_ptr<CVarRecord>, std::less<>> cvars_;
  std::vector<std::string> notifierOrder_;
  std::vector<std::string> cvarOrder_;
  std::map<std::string, std::string> savedValues_;
  std::map<std::string, std::string> savedBinds_;
  std::vector<std::string> logLines_;
  std::map<std::string, std::string> binds_;

  Match match_ = Match::None;
  std::unique_ptr<Server> server_;
  WorldStepper stepper_;

  int64_t nowMicros_ = 0;
  uint64_t timeoutOrder_ = 0;
  std::vector<Timeout> timeouts_;
  std::vector<std::function<void()>> executes_;
  int cfgDepth_ = 0;
};

// Splits a console line into words: blanks separate, double quotes group.
std::vector<std::string> splitCommandLine(std::string_view line);

// Parses the whole text as a number; false for anything else.
bool parseNumber(std::string_view text, double& value);

}  // namespace sim
