#pragma once
// The simulated world's motion, so that a launched shot can be watched: the
// match's ball moves as the flight model has it (flight/BallFlight.h), the
// same model the plug-in's window foretells a shot with. The car does not
// move.

#include "flight/BallFlight.h"
#include "pluginsdk/sim/Game.h"

namespace sim {

// The world stepper for Host::setWorldStepper: steps the match's ball. A god
// ball holds its target speed; any other ball keeps none.
WorldStepper ballStepper(flight::BallPhysics physics = {});

}  // namespace sim
