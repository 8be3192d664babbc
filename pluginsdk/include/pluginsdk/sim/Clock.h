#pragma once
// The simulated host's game clock, in whole microseconds from the host's
// start, with the two kinds of work a plug-in hands to the game thread:
// timeouts (run once their delay has passed) and executes (run at the next
// tick).

#include <cstdint>
#include <functional>
#include <vector>

namespace sim {

class Clock {
 public:
  // Seconds since the host started.
  double now() const { return static_cast<double>(nowMicros_) / 1e6; }

  // Advances the clock in ticks of at most 1/120 s. Each tick first runs the
  // callbacks queued with addExecute, then moves the clock, then fires the
  // timeouts whose time has come (earliest first, then in the order added),
  // then calls afterTick with the tick's length in seconds. Zero seconds
  // still makes one tick, of no length, without afterTick.
  void advance(double seconds, const std::function<void(double seconds)>& afterTick);
  // A negative delay counts as 0.
  void addTimeout(std::function<void()> callback, double seconds);
  void addExecute(std::function<void()> callback);
  size_t pendingTimeouts() const { return timeouts_.size(); }
  size_t pendingExecutes() const { return executes_.size(); }
  // Drops every timeout and execute not yet run.
  void clear();

 private:
  struct Timeout {
    int64_t dueMicros;
    uint64_t order;
    std::function<void()> callback;
  };

  void runDueTimeouts();

  int64_t nowMicros_ = 0;
  uint64_t timeoutOrder_ = 0;
  std::vector<Timeout> timeouts_;
  std::vector<std::function<void()>> executes_;
};

}  // namespace sim
