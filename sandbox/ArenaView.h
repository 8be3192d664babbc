#pragma once
// The arena view: the simulated field seen from above and drawn to scale,
// with the ball, an arrow for its velocity, the car as a marker pointing
// where it faces, and the ball's height and speed as numbers.
//
// Seen from above, the engine's world is left-handed: with +Y drawn up the
// screen (toward the goal in the back wall at y = +5120), +X is drawn to the
// left, and a growing yaw turns the car clockwise. Yaw 0 faces +X.
//
// The geometry is plain functions of numbers so that it can be checked
// without a window; drawArena turns it into Dear ImGui draw commands.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pluginsdk/Types.h"
#include "pluginsdk/sim/Host.h"

struct ImDrawList;

struct ScreenPoint {
  float x = 0;
  float y = 0;
};

// Pixels; width and height may be zero or negative for an area with no room.
struct ScreenRect {
  float left = 0;
  float top = 0;
  float width = 0;
  float height = 0;
};

// World X/Y to screen pixels, one scale for both axes.
class ArenaProjection {
 public:
  // The field with both goals fitted into `area`, centred, proportions kept,
  // `margin` pixels left free on every side. An area with no room gets a tiny
  // positive scale rather than none.
  static ArenaProjection fit(ScreenRect area, float margin = 8);

  ScreenPoint toScreen(float worldX, float worldY) const;
  float pixelsPerUnit() const { return scale_; }
  // The floor between the walls, and the goal in the back wall at +Y or -Y.
  ScreenRect field() const;
  ScreenRect goal(bool positiveY) const;

 private:
  ArenaProjection(ScreenPoint centre, float scale) : centre_(centre), scale_(scale) {}
  ScreenPoint centre_;
  float scale_;
};

// The unit vector on screen along which a car with this yaw faces.
ScreenPoint headingOnScreen(int32_t yaw);

// True when the car's roof faces the floor (as on the ceiling): its up axis,
// after pitch and roll, points down.
bool isUpsideDown(const Rotator& rotation);

// The lines of numbers shown over the field, such as
// "Ball height 93  speed 0  target speed 2985". Without a match: one line
// saying how to start one.
std::vector<std::string> arenaReadout(const sim::Server* server);

// The ball's recent path, so that a player sees where a shot started and
// how it flew. A ball at rest is a path of one point, its start; a ball that
// jumps further than it could fly in a frame was placed anew and starts a
// new path. Holds at most the last kMaxPoints points.
class BallTrail {
 public:
  static constexpr size_t kMaxPoints = 600;
  static constexpr float kJump = 1500;  // game units between two frames

  // Once per frame: where the ball is and whether it moves.
  void record(const Vector& location, bool moving);
  void clear() { points_.clear(); }
  const std::vector<Vector>& points() const { return points_; }

 private:
  std::vector<Vector> points_;
};

// Draws the arena into `area` of the draw list. `server` is the local match,
// or null; `trail` the ball's recent path (its first point marked as the
// start when the ball has left it).
void drawArena(ImDrawList& drawList, ScreenRect area, const sim::Server* server, const std::vector<Vector>& trail);
