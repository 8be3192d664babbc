#include "sandbox/PluginLoader.h"

#include <fmt/format.h>

#include <exception>

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf8Path.h"
#else
#include <dlfcn.h>
#endif

namespace {

#ifdef _WIN32
// The path is UTF-8 text; the wide API takes every character of it.
void* openLibrary(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryW(pathFromUtf8(path).c_str());
  if (!module) error = fmt::format("cannot open {} (error {})", path, GetLastError());
  return reinterpret_cast<void*>(module);
}
void* librarySymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeLibrary(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#else
void* openLibrary(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "cannot open " + path;
  }
  return handle;
}
void* librarySymbol(void* handle, const char* name) { return dlsym(handle, name); }
void closeLibrary(void* handle) { dlclose(handle); }
#endif

}  // namespace

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
  handle_ = openLibrary(libraryPath, error_);
  if (!handle_) return false;
  info_ = static_cast<BakkesMod::Plugin::PluginInfo*>(librarySymbol(handle_, "exports"));
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
  if (handle_) closeLibrary(handle_);
  handle_ = nullptr;
  info_ = nullptr;
}
