#pragma once
// The host console as a plug-in sees it: commands (notifiers), console
// variables, configuration files and log lines.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pluginsdk/CVarWrapper.h"

namespace sim {
class Host;
}

class CVarManagerWrapper {
 public:
  using NotifierCallback = std::function<void(std::vector<std::string>)>;

  explicit CVarManagerWrapper(sim::Host* host) : host_(host) {}

  // The callback runs each time the command is executed: from the console, a
  // key bind or executeCommand. It gets the command line split into words.
  void registerNotifier(std::string name, NotifierCallback callback, std::string description,
                        uint8_t permissions);

  // Registers (or returns the already registered) variable. The bounds apply
  // only where the matching flag is set. A saved value from the host's
  // configuration replaces the default.
  CVarWrapper registerCvar(std::string name, std::string defaultValue, std::string description = "",
                           bool searchable = true, bool hasMin = false, float min = 0,
                           bool hasMax = false, float max = 0, bool saveToCfg = true);

  // An invalid handle for a name never registered.
  CVarWrapper getCvar(std::string name);

  // Runs one console line; with log set the host echoes the line first.
  void executeCommand(std::string command, bool log = true);

  // Runs every line of a file in the host's cfg folder.
  void loadCfg(std::string fileName);

  // Writes one line to the host console.
  void log(std::string text);

 private:
  sim::Host* host_;
};
