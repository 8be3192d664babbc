#include "pluginsdk/sim/Game.h"

#include <cmath>

#include "flight/Field.h"
#include "pluginsdk/GameEvents.h"
#include "pluginsdk/sim/Host.h"

namespace sim {

namespace {

// The ball's centre went from in front of a goal line to behind it, inside
// that goal's mouth.
bool crossedGoalLine(const Vector& before, const Vector& after) {
  using flight::Field;
  for (const float side : {1.0f, -1.0f}) {
    const float from = before.Y * side;
    const float to = after.Y * side;
    if (from > Field::backWallY || to <= Field::backWallY) continue;
    const float share = (Field::backWallY - from) / (to - from);
    const float x = before.X + (after.X - before.X) * share;
    const float z = before.Z + (after.Z - before.Z) * share;
    if (std::fabs(x) < Field::goalHalfWidth && z < Field::goalHeight) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string> Game::hookedEvents() const {
  std::vector<std::string> names;
  for (const auto& [name, hooks] : hooks_) names.push_back(name);
  return names;
}

void Game::fire(const std::string& eventName) {
  // A hook may hook or unhook events while it runs: each turn looks the
  // event up again and runs a copy of the hook, never a whole list copied
  // every tick.
  for (size_t i = 0;; ++i) {
    auto found = hooks_.find(eventName);
    if (found == hooks_.end() || i >= found->second.size()) return;
    const EventHook hook = found->second[i];
    hook(eventName);
  }
}

void Game::endLocalMatch() {
  const bool wasLocal = match_ == Match::Local;
  match_ = Match::None;
  server_.reset();
  if (wasLocal) fire(gameevents::matchEnded);
}

void Game::startLocalMatch() {
  endLocalMatch();
  match_ = Match::Local;
  server_ = std::make_unique<Server>();
  server_->host = &host_;
  server_->kind = ActorKind::Server;
  server_->startedAt = host_.now();
  server_->ball = std::make_unique<Ball>();
  server_->ball->host = &host_;
  server_->ball->kind = ActorKind::Ball;
  server_->ball->location = {0, 0, 92.75f};
  server_->car = std::make_unique<Car>();
  server_->car->host = &host_;
  server_->car->kind = ActorKind::Car;
  server_->car->location = {0, -4608, 17};
  server_->car->rotation = {0, 16384, 0};
}

void Game::startOnlineMatch() {
  endLocalMatch();
  match_ = Match::Online;
}

void Game::leaveMatch() { endLocalMatch(); }

void Game::step(double seconds) {
  if (!server_) return;
  const Vector before = server_->ball ? server_->ball->location : Vector{};
  if (stepper_) stepper_(*server_, seconds);
  if (server_ && server_->ball && crossedGoalLine(before, server_->ball->location)) fire(gameevents::goalScored);
  if (server_) fire(gameevents::tick);
}

}  // namespace sim
