#include "pluginsdk/sim/Host.h"

#include <fmt/format.h>

namespace sim {

Host::Host(std::filesystem::path hostDir)
    : hostDir_(std::move(hostDir)),
      cvarManager_(std::make_shared<CVarManagerWrapper>(this)),
      gameWrapper_(std::make_shared<GameWrapper>(this)),
      console_(cfgDir(), {[this](const std::string& line) {
                            if (logSink) logSink(line);
                          },
                          [this](const std::string& menu) {
                            record(fmt::format("Host.togglemenu({})", menu));
                            return !onToggleMenu || onToggleMenu(menu);
                          }}),
      savedConfig_(cfgDir() / "config.cfg"),
      game_(*this) {
  console_.replaceBinds(savedConfig_.binds());
}

Host::~Host() = default;

CVarRecord* Host::registerCvar(CVarRecord cvar) {
  if (CVarRecord* known = console_.findCvar(cvar.name)) return known;
  cvar.value = cvar.defaultValue;
  if (const std::string* saved = savedConfig_.value(cvar.name); saved && cvar.saveToCfg) {
    cvar.value = *saved;
    cvar.restored = true;
  }
  return console_.registerCvar(std::move(cvar));
}

void Host::releaseCallbacks() {
  console_.releaseCallbacks();
  clock_.clear();
  game_.setWorldStepper(nullptr);
  game_.unhookAll();
}

void Host::saveConfig() {
  for (const std::string& name : console_.cvarOrder()) {
    if (const CVarRecord* cvar = console_.findCvar(name); cvar->saveToCfg) savedConfig_.keepValue(name, cvar->value);
  }
  savedConfig_.keepBinds(console_.binds());
  if (std::optional<std::string> failure = savedConfig_.write()) log(std::move(*failure));
}

void Host::advance(double seconds) {
  clock_.advance(seconds, [this](double tick) { game_.step(tick); });
}

}  // namespace sim
