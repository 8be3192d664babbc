#pragma once
// The sandbox host: a simulated host with one plug-in loaded, driven by text
// lines. A line is either a host verb (see help()) or a host console line,
// as a player would type it into the host console.

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "pluginsdk/sim/Host.h"
#include "sandbox/PluginLoader.h"
#include "uidriver/UiDriver.h"

class Sandbox {
 public:
  // Output of verbs and every host log line go to `out`.
  Sandbox(std::filesystem::path hostDir, std::ostream& out);
  ~Sandbox();

  // Loads the plug-in library; false (with a printed reason) on failure.
  bool loadPlugin(const std::string& libraryPath);
  // onUnload, deleteMe, the host saves its configuration, the library is
  // closed. Runs at most once; the destructor runs it too.
  void shutdown();

  // Runs one line. False only for "quit".
  bool runLine(const std::string& line);
  // Runs the lines of a script file; false when it cannot be read or a
  // line said "quit".
  bool runScript(const std::filesystem::path& script);

  sim::Host& host() { return host_; }
  PluginLoader& loader() { return loader_; }
  bool windowShown() const { return windowShown_; }
  // Draws one frame of the plug-in's window when it is shown; the game
  // advances one tick first.
  void drawFrame();
  // Whether drawFrame draws at all: always with a display of its own, else
  // while the plug-in's window is shown.
  bool drawsFrames() const { return frameDrawer_ || (gui_ && windowShown_); }
  // Drives the plug-in's window in the headless context; null when the
  // plug-in has no window. Every frame it draws is a drawFrame. Not for use
  // while a frame drawer is set: the plug-in then draws into that display's
  // context.
  uidriver::UiDriver* gui() { return gui_.get(); }
  // A front end with a display of its own draws every frame instead (its
  // whole view, the plug-in's window in it while shown); unset, frames go to
  // the headless context and only while the plug-in's window is shown.
  void setFrameDrawer(std::function<void()> drawer) { frameDrawer_ = std::move(drawer); }
  bool hasFrameDrawer() const { return static_cast<bool>(frameDrawer_); }

  // The verbs, name to handler; later front ends add their own.
  using Verb = std::function<void(const std::vector<std::string>& words)>;
  void addVerb(std::string name, std::string usage, Verb verb);
  void removeVerb(const std::string& name) { verbs_.erase(name); }
  std::string help() const;

 private:
  void addHostVerbs();
  void toggleMenu(const std::string& name);
  void setWindowShown(bool shown);
  void printActors(const std::string& which);
  void listRegistrations();

  std::ostream& out_;
  sim::Host host_;
  PluginLoader loader_;
  std::unique_ptr<uidriver::UiDriver> gui_;
  std::function<void()> frameDrawer_;
  bool windowShown_ = false;
  bool shutDown_ = false;
  struct VerbEntry {
    std::string usage;
    Verb run;
  };
  std::map<std::string, VerbEntry> verbs_;
};

// The host folder used when none is given: under the user's XDG data home.
std::filesystem::path defaultHostDir();
