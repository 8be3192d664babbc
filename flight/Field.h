#pragma once
// The field a shot is played on, in game units. The origin is the centre
// spot on the floor; X runs across the field between the side walls, Y along
// it between the back walls (a goal sits in each back wall, the orange one
// at +Y), Z up from the floor to the ceiling.

namespace flight {

struct Field {
  static constexpr float sideWallX = 4096;  // side walls at x = ±4096
  static constexpr float backWallY = 5120;  // back walls at y = ±5120
  static constexpr float ceilingZ = 2044;
  static constexpr float goalHalfWidth = 893;  // goal mouth in each back wall
  static constexpr float goalDepth = 880;      // behind the back wall
  static constexpr float goalHeight = 643;
  static constexpr float centreCircleRadius = 1000;
  static constexpr float ballRadius = 92.75f;

  // Extents as drawn: wall to wall across, goal back to goal back along.
  static constexpr float width = 2 * sideWallX;
  static constexpr float lengthWithGoals = 2 * (backWallY + goalDepth);
};

}  // namespace flight
