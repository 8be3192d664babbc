#pragma once
// The sandbox host driven in this process on a fresh host folder, and
// programs (the sandbox's among them) run as a shell runs them.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "QMTraining/QMTraining.h"
#include "sandbox/Sandbox.h"
#include "tests/support/TempDir.h"

// The plug-in loaded into a sandbox on an empty host folder.
class SandboxFixture : public testing::Test {
 protected:
  SandboxFixture() : sandbox(dir.path(), out) {}
  void SetUp() override { ASSERT_TRUE(sandbox.loadPlugin(QM_PLUGIN_PATH)) << out.str(); }

  // Runs the lines and returns what they printed.
  std::string run(std::initializer_list<std::string> lines) {
    out.str("");
    for (const std::string& line : lines) sandbox.runLine(line);
    return out.str();
  }
  QMTraining& plugin() { return *static_cast<QMTraining*>(sandbox.loader().plugin()); }

  TempDir dir;
  std::ostringstream out;
  Sandbox sandbox;
};

// A shell command's exit status and everything it printed, standard error
// included.
struct ProgramRun {
  int status;  // -1 when it did not exit normally
  std::string output;
};

inline ProgramRun runCommand(const std::string& command) {
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return {-1, "cannot start " + command};
  std::string output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// `arguments` are shell words after the program's path.
inline ProgramRun runSandboxProgram(const std::string& arguments) {
  return runCommand(std::string("'") + QM_SANDBOX_PATH + "' " + arguments);
}
