#pragma once
// How the ball moves: gravity, the floor, the four walls and the ceiling as
// flat planes it bounces off, a goal box behind each goal mouth that a ball
// fitting through the mouth flies into (and bounces about inside), and a god
// ball that keeps its target speed.
// The sandbox's world moves its ball with this, and the settings window
// predicts a shot's flight with it, so both show the same flight.
//
// Units: game units (see Field.h) and seconds.

namespace flight {

struct Vec3 {
  float x = 0;
  float y = 0;
  float z = 0;
  bool operator==(const Vec3&) const = default;
};

struct BallState {
  Vec3 location;
  Vec3 velocity;
  // A god ball's target speed, held once the ball moves; 0 (or less) for a
  // ball that keeps no speed.
  float heldSpeed = 0;
};

struct BallPhysics {
  float gravity = -650;      // along Z, units per second squared
  float restitution = 0.6f;  // share of the speed into a wall kept after the bounce
  float rollingDrag = 0.3f;  // share of the speed lost per second while rolling on the floor
  float restSpeed = 20;      // below this a ball on the floor stops
};

// The game's tick; stepBall is meant for steps no longer than this.
inline constexpr double tickSeconds = 1.0 / 120.0;

// Moves the ball by `seconds`. A ball at rest (zero velocity) stays where it
// was put, as the game holds a freshly placed ball until something moves it,
// but no ball is ever outside the box between the floor, the walls and the
// ceiling, or a goal box: one put outside them is first moved to the nearest
// point inside (heldInField, or the goal box it is in). A velocity that is not finite stops the ball; a location
// that is not finite is left alone.
void stepBall(BallState& ball, double seconds, const BallPhysics& physics = {});

// The nearest point to `location` where the ball's centre can be: the ball
// touching or clear of the floor, the walls and the ceiling. A location that
// is not finite is returned as it is.
Vec3 heldInField(Vec3 location);

// True when the ball touches the floor.
bool onFloor(const Vec3& location);

bool isFinite(const Vec3& v);

}  // namespace flight
