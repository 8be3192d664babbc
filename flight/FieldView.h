#pragma once
// The field drawn to scale, from above and from the side, as plain numbers:
// world to screen, where the goals and lines go, the car's marker and the
// velocity's arrow. The sandbox's arena view and the settings window's shot
// preview both draw from these, so both show the field the same way.
//
// From above, the engine's world is left-handed: with +Y drawn up the
// screen (toward the goal in the back wall at y = +5120), +X is drawn to the
// left, and a growing yaw turns the car clockwise. Yaw 0 faces +X. From the
// side, +Y is drawn to the right and height up.

#include <cstdint>

#include "flight/BallFlight.h"

namespace flight {

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
  float right() const { return left + width; }
  float bottom() const { return top + height; }
};

// The two ways the field is seen: from above (world X/Y on screen) or from
// a side wall (world Y/Z on screen, floor to ceiling).
enum class View { fromAbove, fromSide };

// World to screen pixels for one view, one scale for both axes.
class FieldProjection {
 public:
  // The field with both goals (from the side: floor to ceiling) fitted into
  // `area`, centred, proportions kept, `margin` pixels left free on every
  // side. An area with no room gets a tiny positive scale rather than none.
  static FieldProjection fit(View view, ScreenRect area, float margin);
  // The side view filling `area`: the length fitted as fit() does, the
  // height stretched to the area's height (never squeezed), so that a wide
  // and low area still shows how high the ball flies.
  static FieldProjection fitSideStretched(ScreenRect area, float margin);

  ScreenPoint toScreen(const Vec3& world) const;
  float pixelsPerUnit() const { return scale_; }
  // Pixels per unit of height seen from the side; pixelsPerUnit() but where
  // stretched.
  float heightPixelsPerUnit() const { return heightScale_; }
  // From above, the floor between the walls; from the side, the space
  // between the back walls, floor and ceiling.
  ScreenRect field() const;
  // The goal in the back wall at +Y or -Y.
  ScreenRect goal(bool positiveY) const;

 private:
  FieldProjection(View view, ScreenPoint centre, float scale, float heightScale)
      : view_(view), centre_(centre), scale_(scale), heightScale_(heightScale) {}
  View view_;
  ScreenPoint centre_;
  float scale_;
  float heightScale_;
};

// The unit vector on screen, seen from above, along which a car with this
// yaw faces.
ScreenPoint headingOnScreen(int32_t yaw);

// True when the car's roof faces the floor (as on the ceiling): its up axis,
// after pitch and roll, points down.
bool isUpsideDown(int32_t pitch, int32_t roll);

// The car seen from above: an arrowhead along its yaw, drawn hollow and
// crossed (from each back corner to the middle of the far side) when it is
// upside down.
struct CarMarker {
  ScreenPoint nose;
  ScreenPoint left;
  ScreenPoint right;
  bool upsideDown = false;
};
// A car is about carLength units long; the marker is never shorter than
// `minPixels`, so that its direction stays readable on a small view.
inline constexpr float carLength = 118;
// `projection` is a view from above.
CarMarker carMarker(const FieldProjection& projection, const Vec3& location, int32_t yaw, int32_t pitch,
                    int32_t roll, float minPixels);

// An arrow for a velocity: from the ball to where it would be
// arrowSeconds later, with a head of at most `maxHead` pixels (none when the
// arrow is shorter than a pixel).
inline constexpr float arrowSeconds = 0.5f;
struct Arrow {
  ScreenPoint from;
  ScreenPoint tip;
  bool hasHead = false;
  ScreenPoint headLeft;
  ScreenPoint headRight;
};
Arrow velocityArrow(const FieldProjection& projection, const Vec3& at, const Vec3& velocity, float maxHead);

// Where a preview panel puts its two views and its lines of text: the view
// from above on the left, the side view to its right with the text under it
// (under both views when that column is narrower than the text); or, when
// that makes the view from above larger, the view from above over the side
// view, with the text under both.
struct PreviewLayout {
  ScreenRect topView;
  ScreenRect sideView;
  ScreenPoint text;  // top left corner of the first line
};
PreviewLayout layoutPreview(ScreenRect panel, float textWidth, float textHeight, float gap);

}  // namespace flight
