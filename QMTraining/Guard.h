#pragma once
// No exception may leave the plug-in for the host: between every callback
// and the game lies the host's own code, and an exception there ends the
// game. Every callback the plug-in hands the host (commands, value-changed
// callbacks, timeouts, deferred work, each frame of the window) runs under
// runGuarded. Failures the plug-in expects are handled where they happen,
// with their own message; this is the net under everything else.

#include <exception>
#include <string>
#include <utility>

// The console line for an exception that reached the net: "WHERE stopped by
// an error: WHAT". Never throws.
void reportStoppedByError(const std::string& where, const char* what) noexcept;

// Runs body(); an exception leaving it ends it with one console line.
template <typename Body>
void runGuarded(const std::string& where, Body&& body) noexcept {
  try {
    body();
  } catch (const std::exception& error) {
    reportStoppedByError(where, error.what());
  } catch (...) {
    reportStoppedByError(where, "an unknown error");
  }
}

// `callback` wrapped for the host: called with any arguments, it runs under
// runGuarded and returns nothing.
template <typename Callback>
auto guarded(std::string where, Callback callback) {
  return [where = std::move(where), callback = std::move(callback)](auto&&... args) mutable {
    runGuarded(where, [&] { callback(std::forward<decltype(args)>(args)...); });
  };
}
