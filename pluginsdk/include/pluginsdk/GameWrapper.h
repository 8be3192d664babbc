#pragma once
// The game as a plug-in sees it: the running match, timers on the game
// thread, and the host's folders.

#include <filesystem>
#include <functional>

#include "pluginsdk/Wrappers.h"

namespace sim {
class Host;
}

class GameWrapper {
 public:
  using Callback = std::function<void(GameWrapper*)>;

  explicit GameWrapper(sim::Host* host) : host_(host) {}

  bool IsInOnlineGame();
  // Invalid unless a local match runs.
  ServerWrapper GetCurrentGameState();

  // The host's data folder and its own (installation) folder.
  std::filesystem::path GetDataFolder();
  std::filesystem::path GetBakkesModPath();

  // Runs the callback once on the game thread when the game clock has
  // advanced by at least `seconds`.
  void SetTimeout(Callback callback, float seconds);
  // Runs the callback on the game thread at the next tick.
  void Execute(Callback callback);

 private:
  sim::Host* host_;
};
