#pragma once
// The last seconds of a local match, tick by tick, so that a moment just
// played can become a shot: the ball's location and velocity and the
// player's car's location and rotation. A fixed ring allocated once: a tick
// costs a few stores, never an allocation or a file access. Standard library
// only; the plug-in feeds it from the host's tick event.
//
// Units: game seconds for times, game units for locations and velocities,
// engine rotation units (65536 a turn) for the car's rotation.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

struct Moment {
  double time = 0;  // the game clock at the tick
  std::array<float, 3> ballLocation{};
  std::array<float, 3> ballVelocity{};
  std::array<float, 3> carLocation{};
  std::array<int32_t, 3> carRotation{};  // pitch, yaw, roll
};

class MomentRing {
 public:
  // What the ring keeps: every tick of the last keptSeconds, at any tick
  // rate up to capacity / keptSeconds ticks a second; faster ticks are
  // thinned to one per minSpacing so that the ring still spans keptSeconds.
  static constexpr double keptSeconds = 10;
  static constexpr size_t capacity = 4096;
  static constexpr double minSpacing = keptSeconds / static_cast<double>(capacity - 1);

  // Adds a tick. A time earlier than the newest (the clock went back: a new
  // match) starts the ring afresh; a tick whose time is not finite is
  // ignored.
  void record(const Moment& moment);
  void clear();

  bool empty() const { return count_ == 0; }
  // Seconds from the oldest kept tick to the newest: 0 for one tick or none.
  double recordedSeconds() const;
  // The kept tick nearest to `secondsAgo` before the newest (the earlier of
  // two equally near); secondsAgo outside 0..recordedSeconds() is held to
  // it. Nothing when the ring is empty or secondsAgo is not a number.
  std::optional<Moment> at(double secondsAgo) const;

 private:
  const Moment& nth(size_t i) const;  // 0 = the oldest kept
  void dropOlderThan(double time);

  std::array<Moment, capacity> moments_{};
  size_t first_ = 0;  // the oldest kept
  size_t count_ = 0;
};
