#include "flight/BallFlight.h"

#include <algorithm>
#include <cmath>

#include "flight/Field.h"

namespace flight {

namespace {

float length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

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

Vec3 heldInField(Vec3 location) {
  if (!isFinite(location)) return location;
  const float r = Field::ballRadius;
  location.x = std::clamp(location.x, -Field::sideWallX + r, Field::sideWallX - r);
  location.y = std::clamp(location.y, -Field::backWallY + r, Field::backWallY - r);
  location.z = std::clamp(location.z, r, Field::ceilingZ - r);
  return location;
}

bool onFloor(const Vec3& location) { return location.z <= Field::ballRadius; }

bool isFinite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void stepBall(BallState& ball, double seconds, const BallPhysics& physics) {
  Vec3& p = ball.location;
  Vec3& v = ball.velocity;
  if (!isFinite(v)) v = Vec3{};
  p = heldInField(p);
  if (v == Vec3{} || !isFinite(p) || !(seconds > 0)) return;

  const float dt = static_cast<float>(seconds);
  const float r = Field::ballRadius;
  v.z += physics.gravity * dt;
  p.x += v.x * dt;
  p.y += v.y * dt;
  p.z += v.z * dt;
  bounce(p.x, v.x, -Field::sideWallX + r, Field::sideWallX - r, physics.restitution);
  bounce(p.y, v.y, -Field::backWallY + r, Field::backWallY - r, physics.restitution);
  bounce(p.z, v.z, r, Field::ceilingZ - r, physics.restitution);

  const bool rolling = onFloor(p) && std::fabs(v.z) < -physics.gravity * dt * 2;
  if (rolling) {
    // Settled on the floor: rolling, no more hopping.
    v.z = 0;
    const float keep = std::max(0.0f, 1 - physics.rollingDrag * dt);
    v.x *= keep;
    v.y *= keep;
  }

  const float speed = length(v);
  if (ball.heldSpeed > 0 && speed > 0) {
    const float scale = ball.heldSpeed / speed;
    v.x *= scale;
    v.y *= scale;
    v.z *= scale;
  } else if (rolling && speed < physics.restSpeed) {
    v = Vec3{};
  }
}

}  // namespace flight
