#pragma once
// Loads a plug-in the way the host does: open the library, read its exported
// record, ask its factory for the plug-in object, hand it the host's two
// objects and call onLoad.

#include <memory>
#include <string>

#include "pluginsdk/Plugin.h"
#include "pluginsdk/sim/Host.h"

class PluginLoader {
 public:
  PluginLoader() = default;
  ~PluginLoader();
  PluginLoader(const PluginLoader&) = delete;
  PluginLoader& operator=(const PluginLoader&) = delete;

  // Opens the library and reads its record; creates no plug-in object.
  // False, with error() saying why, when the library or a symbol is missing.
  bool open(const std::string& libraryPath);

  // Asks the factory for the plug-in object, fills its host pointers and
  // calls onLoad. An exception leaving onLoad is reported on the host
  // console; the plug-in stays attached. False when there is no object.
  bool load(sim::Host& host);

  // onUnload, then the library's deleteMe; the library stays open.
  void unload();

  // Closes the library; unloads first if needed.
  void close();

  const BakkesMod::Plugin::PluginInfo* info() const { return info_; }
  BakkesMod::Plugin::BakkesModPlugin* plugin() const { return plugin_.get(); }
  // The plug-in's window, when it offers one.
  BakkesMod::Plugin::PluginWindow* window() const;
  const std::string& error() const { return error_; }
  // The what() of the exception that left onLoad, if one did.
  const std::string& loadError() const { return loadError_; }

 private:
  void* handle_ = nullptr;
  BakkesMod::Plugin::PluginInfo* info_ = nullptr;
  std::shared_ptr<BakkesMod::Plugin::BakkesModPlugin> plugin_;
  std::string error_;
  std::string loadError_;
};

// Hands a plug-in object the host's objects and calls onLoad, reporting an
// exception on the host console. Returns the exception's text, or "".
std::string attachPlugin(sim::Host& host, BakkesMod::Plugin::BakkesModPlugin& plugin);
