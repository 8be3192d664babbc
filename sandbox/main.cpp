// qm-sandbox: runs the plug-in inside a simulated host.
//
//   qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i]
//              [--console | --window | --headless-window] [LINE...]
//
// Lines from --script run first, then each LINE argument, then standard
// input with -i. With no script and no lines, a short demo runs, followed by
// an interactive prompt when standard input is a terminal.
//
// The demo and -i open a window (see WindowHost.h) where a desktop is
// available: the lines run in it, then it stays open until it is closed, its
// console panel taking the place of the prompt. --window opens it for a
// script too (closing when the lines are done), --console never opens it,
// --headless-window draws the window's frames with no display (for
// screenshots).

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "sandbox/ConsoleLog.h"
#include "sandbox/PluginVerbs.h"
#include "sandbox/Sandbox.h"
#include "sandbox/WindowHost.h"

#ifndef QM_PLUGIN_PATH
#define QM_PLUGIN_PATH "QMTraining.so"
#endif
#ifndef QM_DEMO_SCRIPT
#define QM_DEMO_SCRIPT "demo.script"
#endif

namespace {

void usage() {
  std::cout << "usage: qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i]\n"
               "                  [--console | --window | --headless-window] [LINE...]\n";
}

void runInteractive(Sandbox& sandbox, bool prompt) {
  std::string line;
  for (;;) {
    if (prompt) std::cout << "> " << std::flush;
    if (!std::getline(std::cin, line) || !sandbox.runLine(line)) break;
  }
}

enum class Mode { Automatic, Console, Window, HeadlessWindow };

// Runs the lines; false once one said quit.
bool runLines(Sandbox& sandbox, const std::vector<std::string>& scripts, const std::vector<std::string>& lines) {
  for (const std::string& script : scripts) {
    if (!sandbox.runScript(script)) return false;
  }
  for (const std::string& line : lines) {
    if (!sandbox.runLine(line)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path hostDir = defaultHostDir();
  std::string plugin = QM_PLUGIN_PATH;
  std::vector<std::string> scripts;
  std::vector<std::string> lines;
  bool interactive = false;
  Mode mode = Mode::Automatic;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        std::cout << arg << " needs a value\n";
        usage();
        std::exit(2);
      }
      return argv[++i];
    };
    if (arg == "--host-dir") {
      hostDir = value();
    } else if (arg == "--plugin") {
      plugin = value();
    } else if (arg == "--script") {
      scripts.push_back(value());
    } else if (arg == "-i" || arg == "--interactive") {
      interactive = true;
    } else if (arg == "--console") {
      mode = Mode::Console;
    } else if (arg == "--window") {
      mode = Mode::Window;
    } else if (arg == "--headless-window") {
      mode = Mode::HeadlessWindow;
    } else if (arg == "-h" || arg == "--help") {
      usage();
      return 0;
    } else {
      lines.push_back(arg);
    }
  }
  bool demo = scripts.empty() && lines.empty() && !interactive;
  if (demo) scripts.push_back(QM_DEMO_SCRIPT);
  // The window is for people: the demo and -i open it where a desktop is;
  // a script alone runs the same everywhere unless --window asks for it.
  if (mode == Mode::Automatic) {
    mode = (demo || interactive) && WindowHost::displayAvailable() ? Mode::Window : Mode::Console;
  }

  std::cout << "host folder: " << hostDir.string() << '\n';
  if (mode != Mode::Console) {
    ConsoleLog console(&std::cout);
    Sandbox sandbox(hostDir, console);
    addPluginVerbs(sandbox, console);
    if (!sandbox.loadPlugin(plugin)) return 1;
    WindowHost window(sandbox, console);
    if (!window.open(mode == Mode::Window ? WindowHost::Display::Screen : WindowHost::Display::Offscreen)) {
      std::cout << "Could not open the window: " << window.error() << '\n';
      return 1;
    }
    // The window is the prompt: it stays open after the demo as after -i.
    // A window nobody can see closes when its lines are done.
    const bool stayOpen = (interactive || demo) && mode == Mode::Window;
    if (runLines(sandbox, scripts, lines) && stayOpen && !window.quitRequested()) window.run();
    sandbox.shutdown();
    window.close();
    return 0;
  }

  if (demo) interactive = isatty(STDIN_FILENO);
  Sandbox sandbox(hostDir, std::cout);
  addPluginVerbs(sandbox, std::cout);
  if (!sandbox.loadPlugin(plugin)) return 1;
  bool going = runLines(sandbox, scripts, lines);
  if (going && interactive) {
    if (demo) std::cout << "Type help for the host verbs, quit to leave.\n";
    runInteractive(sandbox, isatty(STDIN_FILENO));
  }
  sandbox.shutdown();
  return 0;
}
