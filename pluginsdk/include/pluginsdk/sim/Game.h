#pragma once
// The simulated game: no match, an online match, or a local match with a
// server holding one ball and the player's car. The host steps the game once
// after each tick of its clock; the step is where the world changes by itself
// and where the game's events happen (pluginsdk/GameEvents.h): a goal when
// the ball's centre crosses a goal line inside its mouth, then the tick. A
// local match that ends fires the match-ended event.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "pluginsdk/Types.h"

namespace sim {

class Host;

enum class ActorKind { Server, Ball, Car };

// Every game object starts with this base so that a handle's memory address
// leads back to the host (its call record) and the kind of object.
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
  double startedAt = 0;  // the host's clock when the match started
  std::unique_ptr<Ball> ball;
  std::unique_ptr<Car> car;
};

enum class Match { None, Local, Online };

// Optional motion of the simulated world, run once per clock tick.
using WorldStepper = std::function<void(Server& server, double seconds)>;

using EventHook = std::function<void(std::string eventName)>;

class Game {
 public:
  // The objects of a match point back to host.
  explicit Game(Host& host) : host_(host) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // A local match starts with the ball at rest on the centre spot and the
  // car on its goal line facing the other goal.
  void startLocalMatch();
  void startOnlineMatch();
  void leaveMatch();
  Match match() const { return match_; }
  // The running local match's server, ball and car, or null.
  Server* server() { return server_.get(); }
  Ball* ball() { return server_ ? server_->ball.get() : nullptr; }
  Car* car() { return server_ ? server_->car.get() : nullptr; }

  void setWorldStepper(WorldStepper stepper) { stepper_ = std::move(stepper); }
  // One tick of the world, `seconds` long (more than 0).
  void step(double seconds);

  void hookEvent(std::string eventName, EventHook hook) { hooks_[std::move(eventName)].push_back(std::move(hook)); }
  void unhookEvent(const std::string& eventName) { hooks_.erase(eventName); }
  void unhookAll() { hooks_.clear(); }
  // The events that have at least one hook.
  std::vector<std::string> hookedEvents() const;
  // Runs the event's hooks, as the game does when it happens.
  void fire(const std::string& eventName);

 private:
  void endLocalMatch();

  Host& host_;
  Match match_ = Match::None;
  std::unique_ptr<Server> server_;
  WorldStepper stepper_;
  std::map<std::string, std::vector<EventHook>> hooks_;
};

}  // namespace sim
