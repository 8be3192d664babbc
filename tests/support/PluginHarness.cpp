#include "tests/support/PluginHarness.h"

#include <algorithm>

#include "QMTraining/Exports.h"
#include "sandbox/PluginLoader.h"
#include "platform/Utf8Path.h"

PluginHarness::PluginHarness(Start start) : host_(dir_.path()) {
  if (start == Start::Loaded) load();
}

namespace {
const std::filesystem::path& prepared(const TempDir& dir, const std::function<void(const TempDir&)>& prepare) {
  prepare(dir);
  return dir.path();
}
}  // namespace

PluginHarness::PluginHarness(const std::function<void(const TempDir&)>& prepare)
    : host_(prepared(dir_, prepare)) {
  load();
}

PluginHarness::PluginHarness(Start start, const std::string& hostFolder)
    : host_(dir_.path() / pathFromUtf8(hostFolder)) {
  if (start == Start::Loaded) load();
}

PluginHarness::~PluginHarness() { unload(); }

std::string PluginHarness::load() {
  auto& owner = *reinterpret_cast<std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin>*>(getPlugin());
  plugin_ = static_cast<QMTraining*>(owner.get());
  // The trash names its entries by the time: a clock that stands still
  // makes two runs of an action leave the same folders.
  plugin_->clockSeconds = [] { return int64_t{1796000000}; };
  return attachPlugin(host_, *plugin_);
}

void PluginHarness::unload() {
  if (!plugin_) return;
  plugin_->onUnload();
  plugin_ = nullptr;
  deleteMe();
}

void PluginHarness::enablePlugin() {
  console("quellmark_enabled 1");
  console("car_enabled 1");
}

int PluginHarness::cvarInt(const std::string& name) {
  return host_.cvarManager()->getCvar(name).getIntValue();
}

bool PluginHarness::logged(const std::string& line) const {
  const auto& lines = host_.logLines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string PluginHarness::dataFolder() const { return host_.dataDir().string(); }

std::string PluginHarness::packFolder(const std::string& pack) const {
  return dataFolder() + "/QMShots/TrainingPacks/" + pack;
}
