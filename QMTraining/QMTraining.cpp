// Entry points, load and unload. onLoad reads no file: packs, shots and key
// binds are loaded by the start-up work (storage/Migration.cpp), at the
// settings window's first frame or the first command, whichever comes first.

#include "QMTraining/QMTraining.h"

#include <filesystem>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Exports.h"
#include "QMTraining/Log.h"
#include "ui/WindowState.h"

std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin> pluginSingleton;
std::shared_ptr<CVarManagerWrapper> globalCvarManager;

extern "C" {

QM_EXPORT BakkesMod::Plugin::PluginInfo exports = {
    BakkesMod::Plugin::kApiBuild,
    __FILE_NAME__,
    "QMTraining",
    "Quellmark Training",
    "5.0.0.1848",
    BakkesMod::Plugin::kPluginTypeFreeplay,
    &getPlugin,
    &deleteMe,
};

QM_EXPORT uintptr_t getPlugin() {
  if (!pluginSingleton) pluginSingleton = std::make_shared<QMTraining>();
  return reinterpret_cast<uintptr_t>(&pluginSingleton);
}

QM_EXPORT void deleteMe() {
  if (pluginSingleton) pluginSingleton.reset();
}

}  // extern "C"

QMTraining::QMTraining() : windowState(std::make_unique<WindowState>()) {}

QMTraining::~QMTraining() = default;

void QMTraining::onLoad() {
  globalCvarManager = cvarManager;
  // Throws filesystem_error when the folder cannot be made; the host reports it.
  std::filesystem::create_directories(gameWrapper->GetDataFolder() / "QMShots");
  registerNotifiers();
  registerCvars();
  cvarManager->getCvar(cvarname::speedEnabled).setValue(static_cast<int>(SpeedMode::FromShot));
  hookGameEvents();
}

void QMTraining::onUnload() {
  unhookGameEvents();
  cvarManager->executeCommand(unbindCommand(controllerKeyNames.at(controllerKeyIndex)), true);
  cvarManager->executeCommand(unbindCommand(keyboardKeyNames.at(keyboardKeyIndex)), true);
  trainingActive = false;
  openAttempt.reset();
  flushResults();
}
