#include "pluginsdk/sim/Game.h"

namespace sim {

void Game::startLocalMatch() {
  match_ = Match::Local;
  server_ = std::make_unique<Server>();
  server_->host = &host_;
  server_->kind = ActorKind::Server;
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
  match_ = Match::Online;
  server_.reset();
}

void Game::leaveMatch() {
  match_ = Match::None;
  server_.reset();
}

void Game::step(double seconds) {
  if (stepper_ && server_) stepper_(*server_, seconds);
}

}  // namespace sim
