#pragma once
// A shot's flight foretold: the ball put at its start, launched, and moved
// tick by tick with the same model the sandbox's world uses (BallFlight.h),
// for the first few seconds.

#include <optional>
#include <vector>

#include "flight/BallFlight.h"

namespace flight {

// What a shot gives the ball: where it starts, the velocity it is launched
// with, and the god ball's target speed (0: none held).
struct Launch {
  Vec3 location;
  Vec3 velocity;
  float heldSpeed = 0;
  bool operator==(const Launch&) const = default;
};

struct FlightPrediction {
  static constexpr double seconds = 3;         // how far ahead
  static constexpr double pointSeconds = 0.1;  // time between two path points

  Launch launch;
  // False when the start is not a finite point: such a ball cannot be
  // placed, and nothing below is known.
  bool placed = false;
  // Where the ball is at 0, 0.1, 0.2, ... 3 seconds after the launch.
  std::vector<Vec3> path;
  // The highest the ball's centre gets, its start included. A start outside
  // the field counts where the flight puts it: inside (heldInField).
  float apex = 0;
  // Where the ball first touches the floor after the launch (a ball resting
  // there touches it at once); none within the seconds foretold.
  std::optional<Vec3> landing;
};

FlightPrediction predictFlight(const Launch& launch, const BallPhysics& physics = {});

// Keeps the last prediction until asked about another launch, so that a
// window drawing the same shot every frame foretells it once.
class FlightCache {
 public:
  const FlightPrediction& predict(const Launch& launch);

 private:
  bool filled_ = false;
  FlightPrediction last_;
};

}  // namespace flight
