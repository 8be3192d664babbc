#include "pluginsdk/sim/Clock.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int64_t kTickMicros = 8333;

int64_t microsOf(double seconds) { return static_cast<int64_t>(std::llround(std::max(0.0, seconds) * 1e6)); }

}  // namespace

void Clock::addTimeout(std::function<void()> callback, double seconds) {
  timeouts_.push_back({nowMicros_ + microsOf(seconds), timeoutOrder_++, std::move(callback)});
}

void Clock::addExecute(std::function<void()> callback) { executes_.push_back(std::move(callback)); }

void Clock::clear() {
  timeouts_.clear();
  executes_.clear();
}

void Clock::runDueTimeouts() {
  for (;;) {
    auto due = std::min_element(timeouts_.begin(), timeouts_.end(), [](const Timeout& a, const Timeout& b) {
      return a.dueMicros != b.dueMicros ? a.dueMicros < b.dueMicros : a.order < b.order;
    });
    if (due == timeouts_.end() || due->dueMicros > nowMicros_) return;
    auto callback = std::move(due->callback);
    timeouts_.erase(due);
    callback();
  }
}

void Clock::advance(double seconds, const std::function<void(double seconds)>& afterTick) {
  int64_t remaining = microsOf(seconds);
  do {
    auto queued = std::move(executes_);
    executes_.clear();
    for (auto& callback : queued) callback();
    int64_t step = std::min(remaining, kTickMicros);
    nowMicros_ += step;
    remaining -= step;
    runDueTimeouts();
    if (step > 0) afterTick(static_cast<double>(step) / 1e6);
  } while (remaining > 0);
}

}  // namespace sim
