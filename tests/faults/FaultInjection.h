#pragma once
// File-system faults injected into this process at the Nth call, the way the
// standard library reaches the C library: streams through fopen64, read,
// write and fclose; std::filesystem through stat, lstat, openat, readdir,
// mkdir, rename, remove, unlinkat, fchmodat and sendfile; durable writes
// (platform/DurableFile) through open, write and fsync. FaultInjection.cpp
// replaces the C library's definitions for the whole process (the program
// exports them) and passes each call on unless it is the one chosen to fail.
//
// Only calls on paths inside the armed tree count, and reads and
// writes on files opened there while armed; everything else passes untouched.

#include <filesystem>
#include <string>
#include <vector>

namespace faultinjection {

enum class Fault {
  accessDenied,    // the call fails with EACCES
  noSpace,         // a call that creates or writes fails with ENOSPC
  ioError,         // the call fails with EIO
  folderVanished,  // the folder of the path is moved away just before the call
  danglingLink,    // a link to nowhere appears where the call creates something
};

inline constexpr Fault allFaults[] = {Fault::accessDenied, Fault::noSpace, Fault::ioError,
                                      Fault::folderVanished, Fault::danglingLink};

const char* faultName(Fault fault);

// Counts, for every kind of fault at once, the calls under `tree` it could
// be injected into, injecting none.
void countCalls(const std::filesystem::path& tree);

// Injects `fault` into the nth call (from 1) it could be injected into.
// Vanished folders are moved into `aside`, and links lead into it.
void injectAt(Fault fault, int nth, const std::filesystem::path& tree, const std::filesystem::path& aside);

// Ends the process with _exit(crashExitCode) just before the nth call (from
// 1) counted in `tree`, of any kind: no destructor runs and no stream is
// flushed, as when the game is killed or the power goes.
inline constexpr int crashExitCode = 86;
void crashAt(int nth, const std::filesystem::path& tree);

void disarm();

// Every call counted in the tree since the last arming, in order, as
// "CALL PATH" (for a call on a descriptor, the path it was opened with;
// "rename FROM -> TO").
const std::vector<std::string>& calls();
// The numbers (from 1) of the calls among them that change the tree or a
// file in it (all but look-ups and reads).
std::vector<int> changingCalls();

// Calls counted for `fault` since the last arming.
int eligibleCalls(Fault fault);

// Whether the chosen call was reached, what it was ("rename") and the path
// it was given (empty for a call on a descriptor).
bool fired();
const std::string& firedCall();
const std::string& firedPath();

}  // namespace faultinjection
