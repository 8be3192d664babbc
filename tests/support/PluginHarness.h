#pragma once
// The plug-in in a simulated host on a fresh folder, as the host runs it:
// the library's own getPlugin creates the object, the host's two objects are
// handed over and onLoad runs. The destructor unloads it (onUnload, then
// deleteMe). Helper verbs keep the tests short.

#include <functional>
#include <string>

#include "QMTraining/QMTraining.h"
#include "pluginsdk/sim/Host.h"
#include "tests/support/TempDir.h"

class PluginHarness {
 public:
  enum class Start { Loaded, NotLoaded };

  // NotLoaded lets a test lay files into dir() before calling load().
  explicit PluginHarness(Start start = Start::Loaded);
  // Runs prepare on the empty host folder before the host starts (to lay
  // down a saved configuration, for example), then loads the plug-in.
  explicit PluginHarness(const std::function<void(const TempDir&)>& prepare);
  // The host's folder is the sub-folder hostFolder (UTF-8 text, any
  // characters) of dir() rather than dir() itself.
  PluginHarness(Start start, const std::string& hostFolder);
  ~PluginHarness();
  PluginHarness(const PluginHarness&) = delete;
  PluginHarness& operator=(const PluginHarness&) = delete;

  // getPlugin and onLoad; returns what an exception leaving onLoad said.
  std::string load();
  // onUnload and deleteMe; the harness is then empty.
  void unload();

  sim::Host& host() { return host_; }
  QMTraining& plugin() { return *plugin_; }
  const TempDir& dir() const { return dir_; }

  // ---- verbs ----
  void console(const std::string& line) { host_.execute(line); }
  // "quellmark_enabled 1" and "car_enabled 1", as a player would type them.
  void enablePlugin();
  void startLocalMatch() { host_.startLocalMatch(); }
  void advance(double seconds) { host_.advance(seconds); }
  int cvarInt(const std::string& name);
  bool logged(const std::string& line) const;
  // The host's data folder, and a pack folder in it, with "/" separators.
  std::string dataFolder() const;
  std::string packFolder(const std::string& pack) const;

 private:
  TempDir dir_;
  sim::Host host_;
  QMTraining* plugin_ = nullptr;
};
