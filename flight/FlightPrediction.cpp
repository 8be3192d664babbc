#include "flight/FlightPrediction.h"

#include <algorithm>
#include <cmath>

namespace flight {

FlightPrediction predictFlight(const Launch& launch, const BallPhysics& physics) {
  FlightPrediction flight;
  flight.launch = launch;
  flight.placed = isFinite(launch.location);
  if (!flight.placed) return flight;

  const int ticksPerPoint = static_cast<int>(std::lround(FlightPrediction::pointSeconds / tickSeconds));
  const int points = static_cast<int>(std::lround(FlightPrediction::seconds / FlightPrediction::pointSeconds));
  // The start is held in the field as the flight holds every ball, so the
  // path and the apex are those of the flight that happens.
  BallState ball{heldInField(launch.location), launch.velocity, launch.heldSpeed};
  flight.path.reserve(static_cast<size_t>(points) + 1);
  flight.path.push_back(ball.location);
  flight.apex = ball.location.z;
  for (int tick = 1; tick <= points * ticksPerPoint; ++tick) {
    stepBall(ball, tickSeconds, physics);
    flight.apex = std::max(flight.apex, ball.location.z);
    if (!flight.landing && onFloor(ball.location)) flight.landing = ball.location;
    if (tick % ticksPerPoint == 0) flight.path.push_back(ball.location);
  }
  return flight;
}

const FlightPrediction& FlightCache::predict(const Launch& launch) {
  if (!filled_ || !(last_.launch == launch)) {
    last_ = predictFlight(launch);
    filled_ = true;
  }
  return last_;
}

}  // namespace flight
