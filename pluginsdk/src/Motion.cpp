#include "pluginsdk/sim/Motion.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

bool isFinite(const Vector& v) { return std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z); }

float length(const Vector& v) { return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z); }

// Keeps one coordinate between two planes, turning the velocity back (with
// the loss of a bounce) when the ball reached a plane moving toward it.
void bounce(float& position, float& speed, float low, float high, float restitution) {
  if (position < low) {
    position = low;
    if (speed < 0) speed = -speed * restitution;
  } else if (position > high) {
    position = high;
    if (speed > 0) speed = -speed * restitution;
  }
}

}  // namespace

void stepBall(Ball& ball, double seconds, const BallMotion& motion) {
  Vector& p = ball.location;
  Vector& v = ball.velocity;
  if (!isFinite(v)) v = Vector{};
  if ((v.X == 0 && v.Y == 0 && v.Z == 0) || !isFinite(p) || !(seconds > 0)) return;

  const float dt = static_cast<float>(seconds);
  const float r = FieldSize::ballRadius;
  v.Z += motion.gravity * dt;
  p.X += v.X * dt;
  p.Y += v.Y * dt;
  p.Z += v.Z * dt;
  bounce(p.X, v.X, -FieldSize::sideWallX + r, FieldSize::sideWallX - r, motion.restitution);
  bounce(p.Y, v.Y, -FieldSize::backWallY + r, FieldSize::backWallY - r, motion.restitution);
  bounce(p.Z, v.Z, r, FieldSize::ceilingZ - r, motion.restitution);

  const bool onFloor = p.Z <= r && std::fabs(v.Z) < -motion.gravity * dt * 2;
  if (onFloor) {
    // Settled on the floor: rolling, no more hopping.
    v.Z = 0;
    const float keep = std::max(0.0f, 1 - motion.rollingDrag * dt);
    v.X *= keep;
    v.Y *= keep;
  }

  const float speed = length(v);
  if (ball.godBall && ball.targetSpeed > 0 && speed > 0) {
    const float scale = ball.targetSpeed / speed;
    v.X *= scale;
    v.Y *= scale;
    v.Z *= scale;
  } else if (onFloor && speed < motion.restSpeed) {
    v = Vector{};
  }
}

WorldStepper ballStepper(BallMotion motion) {
  return [motion](Server& server, double seconds) {
    if (server.ball) stepBall(*server.ball, seconds, motion);
  };
}

}  // namespace sim
