// qm-sandbox: runs the plug-in inside a simulated host.
//
//   qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i]
//              [--keep-going] [--console | --window | --headless-window]
//              [LINE...]
//
// Lines from --script run first, then each LINE argument, then standard
// input with -i. With no script and no lines, a short demo runs on the
// example pack "Demo Pack" (copied into the host folder when it has no pack
// of that name) and saves a screenshot of the settings window into the host
// folder, followed by an interactive prompt when standard input is a
// terminal.
//
// The run stops at the first script or argument line that fails and exits
// with 1, naming the line (file and line number, or argument number);
// --keep-going carries on past failing lines, names them at the end and
// exits with 0. Lines typed at a prompt or into the window only report.
//
// The demo and -i open a window (see WindowHost.h) where a desktop is
// available: the lines run in it, then it stays open until it is closed, its
// console panel taking the place of the prompt. --window opens it for a
// script too (closing when the lines are done), --console never opens it,
// --headless-window draws the window's frames with no display (for
// screenshots).

#include <fmt/format.h>
#include <unistd.h>

#include <filesystem>
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
#ifndef QM_DEMO_PACK
#define QM_DEMO_PACK "Demo Pack"
#endif

namespace {

void usage() {
  std::cout << "usage: qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i] [--keep-going]\n"
               "                  [--console | --window | --headless-window] [LINE...]\n";
}

void runInteractive(Sandbox& sandbox, bool prompt) {
  std::string line;
  for (;;) {
    if (prompt) std::cout << "> " << std::flush;
    if (!std::getline(std::cin, line) || sandbox.runLine(line) == Sandbox::LineResult::quit) break;
  }
}

enum class Mode { Automatic, Console, Window, HeadlessWindow };

// Puts the example pack into the host's packs folder unless a pack of its
// name is there; returns the demo's last line, the screenshot of the window.
std::string prepareDemo(const std::filesystem::path& hostDir) {
  const std::filesystem::path example = QM_DEMO_PACK;
  const std::filesystem::path pack = hostDir / "data/QMShots/TrainingPacks" / example.filename();
  std::error_code error;
  if (!std::filesystem::exists(pack, error)) {
    std::filesystem::create_directories(pack.parent_path(), error);
    std::filesystem::copy(example, pack, std::filesystem::copy_options::recursive, error);
    std::cout << (error ? fmt::format("Could not copy the example pack to {}: {}\n", pack.string(), error.message())
                        : fmt::format("Copied the example pack to {}\n", pack.string()));
  }
  return fmt::format("screenshot \"{}\"", (hostDir / "demo-window.png").string());
}

// Runs the scripts, then the argument lines; done when they all ran.
Sandbox::LineResult runLines(Sandbox& sandbox, const std::vector<std::string>& scripts,
                             const std::vector<std::string>& lines) {
  for (const std::string& script : scripts) {
    if (auto result = sandbox.runScript(script); result != Sandbox::LineResult::done) return result;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    auto result = sandbox.runScriptLine(lines[i], fmt::format("argument {}", i + 1));
    if (result != Sandbox::LineResult::done) return result;
  }
  return Sandbox::LineResult::done;
}

// Ends the run: the plug-in is unloaded and the host saves its
// configuration, then the failed lines are named. 1 when a line failed and
// the run was not told to keep going.
int finish(Sandbox& sandbox, bool keepGoing) {
  sandbox.shutdown();
  std::cout << sandbox.failureReport();
  return sandbox.failedLines().empty() || keepGoing ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path hostDir = defaultHostDir();
  std::string plugin = QM_PLUGIN_PATH;
  std::vector<std::string> scripts;
  std::vector<std::string> lines;
  bool interactive = false;
  bool keepGoing = false;
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
    } else if (arg == "--keep-going") {
      keepGoing = true;
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
  std::cout << "host folder: " << hostDir.string() << '\n';
  if (demo) {
    scripts.push_back(QM_DEMO_SCRIPT);
    lines.push_back(prepareDemo(std::filesystem::absolute(hostDir)));
  }
  // The window is for people: the demo and -i open it where a desktop is;
  // a script alone runs the same everywhere unless --window asks for it.
  if (mode == Mode::Automatic) {
    mode = (demo || interactive) && WindowHost::displayAvailable() ? Mode::Window : Mode::Console;
  }

  if (mode != Mode::Console) {
    ConsoleLog console(&std::cout);
    Sandbox sandbox(hostDir, console);
    sandbox.setKeepGoing(keepGoing);
    addPluginVerbs(sandbox);
    if (!sandbox.loadPlugin(plugin)) return 1;
    WindowHost window(sandbox, console);
    if (!window.open(mode == Mode::Window ? WindowHost::Display::Screen : WindowHost::Display::Offscreen)) {
      std::cout << "Could not open the window: " << window.error() << '\n';
      return 1;
    }
    // The window is the prompt: it stays open after the demo as after -i.
    // A window nobody can see closes when its lines are done.
    const bool stayOpen = (interactive || demo) && mode == Mode::Window;
    const bool ranAll = runLines(sandbox, scripts, lines) == Sandbox::LineResult::done;
    if (ranAll && stayOpen && !window.quitRequested()) window.run();
    const int status = finish(sandbox, keepGoing);
    window.close();
    return status;
  }

  if (demo) interactive = isatty(STDIN_FILENO);
  Sandbox sandbox(hostDir, std::cout);
  sandbox.setKeepGoing(keepGoing);
  addPluginVerbs(sandbox);
  if (!sandbox.loadPlugin(plugin)) return 1;
  if (runLines(sandbox, scripts, lines) == Sandbox::LineResult::done && interactive) {
    if (demo) std::cout << "Type help for the host verbs, quit to leave.\n";
    runInteractive(sandbox, isatty(STDIN_FILENO));
  }
  return finish(sandbox, keepGoing);
}
