#pragma once
// The simulated field and a simple motion of the ball in it, so that a
// launched shot can be watched. Units are game units and seconds; the origin
// is the centre spot on the floor, X runs across the field between the side
// walls, Y along it between the back walls (the goals sit in the back walls),
// Z up.
//
// The motion is deliberately simple: gravity, the floor, the four walls and
// the ceiling as flat planes the ball bounces off, and a god ball that keeps
// its target speed. The car does not move.

#include "pluginsdk/sim/Host.h"

namespace sim {

struct FieldSize {
  static constexpr float sideWallX = 4096;  // side walls at x = ±4096
  static constexpr float backWallY = 5120;  // back walls at y = ±5120
  static constexpr float ceilingZ = 2044;
  static constexpr float goalHalfWidth = 893;  // goal mouth in each back wall
  static constexpr float goalDepth = 880;
  static constexpr float goalHeight = 643;
  static constexpr float ballRadius = 92.75f;
};

struct BallMotion {
  float gravity = -650;        // along Z, units per second squared
  float restitution = 0.6f;    // share of the speed into a wall kept after the bounce
  float rollingDrag = 0.3f;    // share of the speed lost per second while rolling on the floor
  float restSpeed = 20;        // below this a ball on the floor stops
};

// Moves the ball by `seconds` (best at most a tick of 1/120 s). A ball at rest
// (zero velocity) stays where it was put, as the game holds a freshly placed
// ball until something moves it; a moving ball never leaves the box between
// the floor, the walls and the ceiling. A god ball with a positive target
// speed keeps that speed once it moves. A velocity that is not finite stops
// the ball.
void stepBall(Ball& ball, double seconds, const BallMotion& motion = {});

// The world stepper for Host::setWorldStepper: steps the match's ball.
WorldStepper ballStepper(BallMotion motion = {});

}  // namespace sim
