#pragma once
// The simulated game: no match, an online match, or a local match with a
// server holding one ball and the player's car. The host steps the game once
// after each tick of its clock; the step is where the world changes by itself.

#include <cstdint>
#include <functional>
#include <memory>

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
  std::unique_ptr<Ball> ball;
  std::unique_ptr<Car> car;
};

enum class Match { None, Local, Online };

// Optional motion of the simulated world, run once per clock tick.
using WorldStepper = std::function<void(Server& server, double seconds)>;

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

 private:
  Host& host_;
  Match match_ = Match::None;
  std::unique_ptr<Server> server_;
  WorldStepper stepper_;
};

}  // namespace sim
