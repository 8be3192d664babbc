#include "pluginsdk/sim/Motion.h"

namespace sim {

WorldStepper ballStepper(flight::BallPhysics physics) {
  return [physics](Server& server, double seconds) {
    if (!server.ball) return;
    Ball& ball = *server.ball;
    flight::BallState state{{ball.location.X, ball.location.Y, ball.location.Z},
                            {ball.velocity.X, ball.velocity.Y, ball.velocity.Z},
                            ball.godBall ? ball.targetSpeed : 0};
    flight::stepBall(state, seconds, physics);
    ball.location = {state.location.x, state.location.y, state.location.z};
    ball.velocity = {state.velocity.x, state.velocity.y, state.velocity.z};
  };
}

}  // namespace sim
