#pragma once
// The game as a plug-in sees it: the running match, timers on the game
// thread, and the host's folders.

#include <filesystem>
#include <functional>
#include <string>

#include "pluginsdk/Wrappers.h"

namespace sim {
class Host;
}

class GameWrapper {
 public:
  using Callback = std::function<void(GameWrapper*)>;
  using EventCallback = std::function<void(std::string eventName)>;

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

  // Runs the callback on the game thread each time the game event
  // `eventName` happens (names in pluginsdk/GameEvents.h); an event may have
  // several hooks, run in the order they were hooked.
  void HookEvent(std::string eventName, EventCallback callback);
  // Drops every hook of the event.
  void UnhookEvent(std::string eventName);

 private:
  sim::Host* host_;
};
