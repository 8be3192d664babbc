// Entry points, load and unload, and the start-up data work. onLoad reads no
// file: packs, shots and key binds are loaded by the settings window's first
// frame or by the first command, whichever comes first.

#include "QMTraining/QMTraining.h"

#include <exception>
#include <filesystem>

#include "QMTraining/Exports.h"
#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "binds/KeyNames.h"

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

void reportStoppedByError(const std::string& where, const char* what) noexcept {
  try {
    logLine("{} stopped by an error: {}", where, what);
  } catch (...) {
    // Nothing more can be said; the host goes on.
  }
}

QMTraining::QMTraining()
    : controllerKeyNames(controllerKeyTable()), keyboardKeyNames(keyboardKeyTable()) {}

QMTraining::~QMTraining() = default;

void QMTraining::onLoad() {
  globalCvarManager = cvarManager;
  // Throws filesystem_error when the folder cannot be made; the host reports it.
  std::filesystem::create_directories(gameWrapper->GetDataFolder() / "QMShots");
  registerNotifiers();
  registerCvars();
  cvarManager->getCvar("speed_enabled").setValue(1);
}

void QMTraining::onUnload() {
  cvarManager->executeCommand(unbindCommand(controllerKeyNames.at(controllerKeyIndex)), true);
  cvarManager->executeCommand(unbindCommand(keyboardKeyNames.at(keyboardKeyIndex)), true);
  trainingActive = false;
}

void QMTraining::runStartUpWork() {
  if (oldDataMigrated != 0) return;
  // A file-system error here would otherwise leave the host's callback and
  // take the game down. It is reported once and not retried; "Reload Packs"
  // reads the packs again.
  try {
    migrateOldData();
  } catch (const std::exception& error) {
    oldDataMigrated = 1;
    logLine("Training pack error: {}", error.what());
  }
}
