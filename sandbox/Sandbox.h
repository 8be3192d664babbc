#pragma once
// The sandbox host: a simulated host with one plug-in loaded, driven by text
// lines. A line is either a host verb (see help() and VerbList.h) or a host
// console line, as a player would type it into the host console.
//
// A line fails when its verb is unknown or cannot do what it says (bad
// arguments, a text to click that is not shown, a wait that runs out) or the
// host cannot execute it. At a prompt the failure is printed and that is all;
// in a script it is also remembered, and the script stops there unless
// keepGoing is set, so that a run can end with a non-zero status naming the
// line.

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
  // The host saves its configuration (with the keys the plug-in bound),
  // then onUnload, deleteMe, and the library is closed. Runs at most once;
  // the destructor runs it too.
  void shutdown();

  enum class LineResult { done, failed, quit };
  // Runs one line as typed at a prompt; a failure has been printed.
  LineResult runLine(const std::string& line);
  // Runs one line of a script, which `where` names ("my.script:12"). A
  // failure is printed and remembered in failedLines(); failed means the
  // script stops here (keepGoing unset), else it carries on with done.
  LineResult runScriptLine(const std::string& line, const std::string& where);
  // Runs the lines of a script file, up to "quit" or a line that stops it;
  // failed also when the file cannot be read.
  LineResult runScript(const std::filesystem::path& script);
  // With keepGoing a failing script line is remembered and the script goes
  // on.
  void setKeepGoing(bool keepGoing) { keepGoing_ = keepGoing; }

  struct FailedLine {
    std::string where;
    std::string line;
  };
  const std::vector<FailedLine>& failedLines() const { return failedLines_; }
  // The failed script lines, one per line under a heading; "" when none.
  std::string failureReport() const;

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

  // The verbs, name to handler; later front ends add their own. A verb
  // returns "" when its line worked, else what went wrong, which the
  // sandbox prints. Only verbs of VerbList.h can be added.
  using Verb = std::function<std::string(const std::vector<std::string>& words)>;
  void addVerb(const std::string& name, Verb verb);
  void removeVerb(const std::string& name) { verbs_.erase(name); }
  bool hasVerb(const std::string& name) const { return verbs_.count(name) != 0; }
  // The verbs that work here, from VerbList.h, and what else a line can be.
  std::string help() const;

 private:
  void addHostVerbs();
  bool toggleMenu(const std::string& name);
  void setWindowShown(bool shown);
  std::string printActors(const std::string& which);
  void listRegistrations();

  std::ostream& out_;
  sim::Host host_;
  PluginLoader loader_;
  std::unique_ptr<uidriver::UiDriver> gui_;
  std::function<void()> frameDrawer_;
  bool windowShown_ = false;
  bool shutDown_ = false;
  bool keepGoing_ = false;
  std::vector<FailedLine> failedLines_;
  std::map<std::string, Verb> verbs_;
};

// The host folder used when none is given: under the user's XDG data home.
std::filesystem::path defaultHostDir();
