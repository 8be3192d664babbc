#include "sandbox/PluginLoader.h"

#include <dlfcn.h>
#include <fmt/format.h>

#include <exception>

std::string attachPlugin(sim::Host& host, BakkesMod::Plugin::BakkesModPlugin& plugin) {
  plugin.cvarManager = host.cvarManager();
  plugin.gameWrapper = host.gameWrapper();
  try {
    plugin.onLoad();
  } catch (const std::exception& error) {
    host.log(fmt::format("Plugin failed to load: {}", error.what()));
    return error.what();
  }
  host.announceRestoredValues();
  return {};
}

PluginLoader::~PluginLoader() { close(); }

bool PluginLoader::open(const std::string& libraryPath) {
  close();
  handle_ = dlopen(libraryPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) {
    const char* reason = dlerror();
    error_ = reason ? reason : "cannot open " + libraryPath;
    return false;
  }
  info_ = static_cast<BakkesMod::Plugin::PluginInfo*>(dlsym(handle_, "exports"));
  if (!info_ || !info_->initializeFunc || !info_->deleteFunc) {
    error_ = fmt::format("{} exports no plug-in record", libraryPath);
    close();
    return false;
  }
  return true;
}

bool PluginLoader::load(sim::Host& host) {
  if (!info_) return false;
  auto* owner =
      reinterpret_cast<std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin>*>(info_->initializeFunc());
  if (!owner || !*owner) {
    error_ = "the plug-in factory returned no object";
    return false;
  }
  plugin_ = *owner;
  loadError_ = attachPlugin(host, *plugin_);
  return true;
}

BakkesMod::Plugin::PluginWindow* PluginLoader::window() const {
  return dynamic_cast<BakkesMod::Plugin::PluginWindow*>(plugin_.get());
}

void PluginLoader::unload() {
  if (!plugin_) return;
  plugin_->onUnload();
  plugin_.reset();
  info_->deleteFunc();
}

void PluginLoader::close() {
  unload();
  if (handle_) dlclose(handle_);
  handle_ = nullptr;
  info_ = nullptr;
}
