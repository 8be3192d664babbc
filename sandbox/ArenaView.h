#pragma once
// The arena view: the simulated field seen from above and drawn to scale,
// with the ball, an arrow for its velocity, the car as a marker pointing
// where it faces, and the ball's height and speed as numbers. The geometry
// is the flight library's (flight/FieldView.h), as in the plug-in's shot
// preview; drawArena turns it into Dear ImGui draw commands.

#include <cstddef>
#include <string>
#include <vector>

#include "flight/FieldView.h"
#include "pluginsdk/Types.h"
#include "pluginsdk/sim/Host.h"

struct ImDrawList;

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
  // The greatest height of the path since it started, points dropped for
  // length included; 0 for an empty path.
  float highest() const { return points_.empty() ? 0 : highest_; }

 private:
  void restart(const Vector& location);

  std::vector<Vector> points_;
  float highest_ = 0;
};

// The lines of numbers shown over the field, such as
// "Ball height 93  highest 93" (highest: of the trail) and
// "Ball speed 0  target speed 2985". Without a match: one line saying how to
// start one.
std::vector<std::string> arenaReadout(const sim::Server* server, const BallTrail& trail);

// Draws the arena into `area` of the draw list. `server` is the local match,
// or null; `trail` the ball's recent path (its first point marked as the
// start when the ball has left it).
void drawArena(ImDrawList& drawList, flight::ScreenRect area, const sim::Server* server, const BallTrail& trail);
