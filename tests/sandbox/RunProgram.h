#pragma once
// The sandbox program run as a shell runs it: its exit status and
// everything it printed, standard error included.

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ProgramRun {
  int status;  // the exit status; -1 when it did not exit normally
  std::string output;
};

// `arguments` are shell words after the program's path; `prefix` goes
// before it (such as "env -u DISPLAY ").
inline ProgramRun runSandboxProgram(const std::string& arguments, const std::string& prefix = "") {
  const std::string command = prefix + "'" + QM_SANDBOX_PATH + "' " + arguments + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, "cannot start " + command};
  std::string output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
