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

// Where the ball may go: the field, and behind each back wall the goal box
// it can only enter through the goal mouth.
struct Bounds {
  float lowX, highX, lowY, highY, highZ;
};

// A ball whose centre is past the goal line plane's near side by less than
// its radius is already inside a goal box (it passed through the mouth).
bool inGoalBox(const Vec3& p) { return std::fabs(p.y) > Field::backWallY - Field::ballRadius; }

bool fitsMouth(const Vec3& p) {
  const float r = Field::ballRadius;
  return std::fabs(p.x) <= Field::goalHalfWidth - r && p.z <= Field::goalHeight - r;
}

Bounds boundsFor(const Vec3& p, bool wasInGoalBox) {
  const float r = Field::ballRadius;
  if (wasInGoalBox) {
    const float depth = Field::backWallY + Field::goalDepth - r;
    return {-Field::goalHalfWidth + r, Field::goalHalfWidth - r, -depth, depth, Field::goalHeight - r};
  }
  const float back = fitsMouth(p) ? Field::backWallY + Field::goalDepth - r : Field::backWallY - r;
  return {-Field::sideWallX + r, Field::sideWallX - r, -back, back, Field::ceilingZ - r};
}

Vec3 heldInPlay(Vec3 location) {
  if (!isFinite(location) || !inGoalBox(location) || !fitsMouth(location)) return heldInField(location);
  const Bounds box = boundsFor(location, true);
  location.y = std::clamp(location.y, box.lowY, box.highY);
  location.z = std::max(location.z, Field::ballRadius);
  return location;
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
  p = heldInPlay(p);
  if (v == Vec3{} || !isFinite(p) || !(seconds > 0)) return;

  const float dt = static_cast<float>(seconds);
  const float r = Field::ballRadius;
  const bool wasInGoalBox = inGoalBox(p);
  v.z += physics.gravity * dt;
  p.x += v.x * dt;
  p.y += v.y * dt;
  p.z += v.z * dt;
  const Bounds bounds = boundsFor(p, wasInGoalBox);
  bounce(p.x, v.x, bounds.lowX, bounds.highX, physics.restitution);
  bounce(p.y, v.y, bounds.lowY, bounds.highY, physics.restitution);
  bounce(p.z, v.z, r, bounds.highZ, physics.restitution);

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
