// The wrappers forward to the simulated host and leave a call record entry
// for every operation that changes the game.

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

#include "pluginsdk/CVarManagerWrapper.h"
#include "pluginsdk/CVarWrapper.h"
#include "pluginsdk/GameWrapper.h"
#include "pluginsdk/Plugin.h"
#include "pluginsdk/Wrappers.h"
#include "pluginsdk/sim/Host.h"

namespace BakkesMod::Plugin {
BakkesModPlugin::~BakkesModPlugin() = default;
PluginWindow::~PluginWindow() = default;
}  // namespace BakkesMod::Plugin

// ---- CVarWrapper ----

float CVarWrapper::getFloatValue() const {
  if (!record_) return 0;
  const char* text = record_->value.c_str();
  char* end = nullptr;
  double value = std::strtod(text, &end);
  if (end == text || !std::isfinite(value)) return 0;
  return static_cast<float>(value);
}

int CVarWrapper::getIntValue() const {
  float value = getFloatValue();
  if (value >= 2147483647.0f) return INT32_MAX;
  if (value <= -2147483648.0f) return INT32_MIN;
  return static_cast<int>(value);
}

bool CVarWrapper::getBoolValue() const { return getIntValue() != 0; }

std::string CVarWrapper::getStringValue() const { return record_ ? record_->value : std::string(); }

std::string CVarWrapper::getName() const { return record_ ? record_->name : std::string(); }

void CVarWrapper::setValue(int value) { setValue(std::to_string(value)); }

void CVarWrapper::setValue(float value) { setValue(fmt::format("{}", value)); }

void CVarWrapper::setValue(std::string value) {
  if (record_) record_->console->setCvar(*record_, std::move(value));
}

void CVarWrapper::addOnValueChanged(ChangedCallback callback) {
  if (record_) record_->callbacks.push_back(std::move(callback));
}

// ---- CVarManagerWrapper ----

void CVarManagerWrapper::registerNotifier(std::string name, NotifierCallback callback,
                                          std::string description, uint8_t permissions) {
  host_->registerNotifier(
      {std::move(name), std::move(description), permissions, std::move(callback)});
}

CVarWrapper CVarManagerWrapper::registerCvar(std::string name, std::string defaultValue,
                                             std::string description, bool searchable,
                                             bool hasMin, float min, bool hasMax, float max,
                                             bool saveToCfg) {
  sim::CVarRecord record;
  record.name = std::move(name);
  record.defaultValue = std::move(defaultValue);
  record.description = std::move(description);
  record.searchable = searchable;
  record.hasMin = hasMin;
  record.min = min;
  record.hasMax = hasMax;
  record.max = max;
  record.saveToCfg = saveToCfg;
  return CVarWrapper(host_->registerCvar(std::move(record)));
}

CVarWrapper CVarManagerWrapper::getCvar(std::string name) {
  return CVarWrapper(host_->findCvar(name));
}

void CVarManagerWrapper::executeCommand(std::string command, bool log) {
  host_->execute(command, log);
}

void CVarManagerWrapper::loadCfg(std::string fileName) { host_->loadCfg(fileName); }

void CVarManagerWrapper::log(std::string text) { host_->log(std::move(text)); }

// ---- GameWrapper ----

bool GameWrapper::IsInOnlineGame() { return host_->match() == sim::Match::Online; }

ServerWrapper GameWrapper::GetCurrentGameState() {
  if (host_->match() != sim::Match::Local) return ServerWrapper(0);
  return ServerWrapper(reinterpret_cast<uintptr_t>(host_->server()));
}

std::filesystem::path GameWrapper::GetDataFolder() { return host_->dataDir(); }

std::filesystem::path GameWrapper::GetBakkesModPath() { return host_->hostDir(); }

void GameWrapper::SetTimeout(Callback callback, float seconds) {
  host_->record(fmt::format("Game.SetTimeout({})", seconds));
  host_->addTimeout([this, callback = std::move(callback)] { callback(this); }, seconds);
}

void GameWrapper::Execute(Callback callback) {
  host_->record("Game.Execute()");
  host_->addExecute([this, callback = std::move(callback)] { callback(this); });
}

void GameWrapper::HookEvent(std::string eventName, EventCallback callback) {
  host_->hookEvent(std::move(eventName), std::move(callback));
}

void GameWrapper::UnhookEvent(std::string eventName) { host_->unhookEvent(eventName); }

// ---- game objects ----

namespace {

sim::Actor& actorAt(uintptr_t address) { return *reinterpret_cast<sim::Actor*>(address); }

const char* kindName(sim::ActorKind kind) {
  switch (kind) {
    case sim::ActorKind::Server:
      return "Server";
    case sim::ActorKind::Ball:
      return "Ball";
    case sim::ActorKind::Car:
      return "Car";
  }
  return "Actor";
}

void record(uintptr_t address, std::string_view operation) {
  sim::Actor& actor = actorAt(address);
  actor.host->record(fmt::format("{}.{}", kindName(actor.kind), operation));
}

sim::Ball& ballAt(uintptr_t address) { return static_cast<sim::Ball&>(actorAt(address)); }

}  // namespace

Vector ActorWrapper::GetLocation() const { return actorAt(memory_address).location; }

Vector ActorWrapper::GetVelocity() const { return actorAt(memory_address).velocity; }

void ActorWrapper::SetLocation(Vector location) {
  record(memory_address, fmt::format("SetLocation({}, {}, {})", location.X, location.Y, location.Z));
  actorAt(memory_address).location = location;
}

void ActorWrapper::SetVelocity(Vector velocity) {
  record(memory_address, fmt::format("SetVelocity({}, {}, {})", velocity.X, velocity.Y, velocity.Z));
  actorAt(memory_address).velocity = velocity;
}

void ActorWrapper::Stop() {
  record(memory_address, "Stop()");
  actorAt(memory_address).velocity = Vector{};
}

void BallWrapper::SetHitTeamNum(uint8_t team) {
  record(memory_address, fmt::format("SetHitTeamNum({})", team));
  ballAt(memory_address).hitTeam = team;
}

bool BallWrapper::IsGodBall() const { return ballAt(memory_address).godBall; }

void BallGodWrapper::SetCarHitTeamNum(uint8_t team) {
  sim::Ball& ball = ballAt(memory_address);
  ball.host->record(fmt::format("GodBall.SetCarHitTeamNum({})", team));
  ball.carHitTeam = team;
}

void BallGodWrapper::OnHitTeamNumChanged() {
  sim::Ball& ball = ballAt(memory_address);
  ball.host->record("GodBall.OnHitTeamNumChanged()");
  ++ball.hitTeamChangedEvents;
}

void BallGodWrapper::UpdateColor() {
  sim::Ball& ball = ballAt(memory_address);
  ball.host->record("GodBall.UpdateColor()");
  ++ball.colorUpdates;
}

void BallGodWrapper::SetTargetSpeed(float speed) {
  sim::Ball& ball = ballAt(memory_address);
  ball.host->record(fmt::format("GodBall.SetTargetSpeed({})", speed));
  ball.targetSpeed = speed;
}

Rotator CarWrapper::GetRotation() const {
  return static_cast<sim::Car&>(actorAt(memory_address)).rotation;
}

void CarWrapper::SetCarRotation(Rotator rotation) {
  record(memory_address,
         fmt::format("SetCarRotation({}, {}, {})", rotation.Pitch, rotation.Yaw, rotation.Roll));
  static_cast<sim::Car&>(actorAt(memory_address)).rotation = rotation;
}

BallWrapper ServerWrapper::GetBall() {
  auto& server = static_cast<sim::Server&>(actorAt(memory_address));
  return BallWrapper(reinterpret_cast<uintptr_t>(server.ball.get()));
}

CarWrapper ServerWrapper::GetGameCar() {
  auto& server = static_cast<sim::Server&>(actorAt(memory_address));
  return CarWrapper(reinterpret_cast<uintptr_t>(server.car.get()));
}

int ServerWrapper::GetMaxScore() { return static_cast<sim::Server&>(actorAt(memory_address)).maxScore; }

float ServerWrapper::GetSecondsElapsed() {
  const auto& server = static_cast<sim::Server&>(actorAt(memory_address));
  return static_cast<float>(server.host->now() - server.startedAt);
}

void ServerWrapper::SetMaxScore(int maxScore) {
  record(memory_address, fmt::format("SetMaxScore({})", maxScore));
  static_cast<sim::Server&>(actorAt(memory_address)).maxScore = maxScore;
}
