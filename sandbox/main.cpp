// qm-sandbox: runs the plug-in inside a simulated host.
//
//   qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i] [LINE...]
//
// Lines from --script run first, then each LINE argument, then standard
// input with -i. With no script and no lines, a short demo runs, followed by
// an interactive prompt when standard input is a terminal.

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "sandbox/PluginVerbs.h"
#include "sandbox/Sandbox.h"

#ifndef QM_PLUGIN_PATH
#define QM_PLUGIN_PATH "QMTraining.so"
#endif
#ifndef QM_DEMO_SCRIPT
#define QM_DEMO_SCRIPT "demo.script"
#endif

namespace {

void usage() {
  std::cout << "usage: qm-sandbox [--host-dir DIR] [--plugin FILE] [--script FILE] [-i] [LINE...]\n";
}

void runInteractive(Sandbox& sandbox, bool prompt) {
  std::string line;
  for (;;) {
    if (prompt) std::cout << "> " << std::flush;
    if (!std::getline(std::cin, line) || !sandbox.runLine(line)) break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path hostDir = defaultHostDir();
  std::string plugin = QM_PLUGIN_PATH;
  std::vector<std::string> scripts;
  std::vector<std::string> lines;
  bool interactive = false;
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
    } else if (arg == "-h" || arg == "--help") {
      usage();
      return 0;
    } else {
      lines.push_back(arg);
    }
  }
  bool demo = scripts.empty() && lines.empty() && !interactive;
  if (demo) {
    scripts.push_back(QM_DEMO_SCRIPT);
    interactive = isatty(STDIN_FILENO);
  }

  std::cout << "host folder: " << hostDir.string() << '\n';
  Sandbox sandbox(hostDir, std::cout);
  addPluginVerbs(sandbox, std::cout);
  if (!sandbox.loadPlugin(plugin)) return 1;
  bool going = true;
  for (const std::string& script : scripts) {
    if (going) going = sandbox.runScript(script);
  }
  for (const std::string& line : lines) {
    if (going) going = sandbox.runLine(line);
  }
  if (going && interactive) {
    if (demo) std::cout << "Type help for the host verbs, quit to leave.\n";
    runInteractive(sandbox, isatty(STDIN_FILENO));
  }
  sandbox.shutdown();
  return 0;
}
