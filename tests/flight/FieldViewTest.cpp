// The field's geometry: fitted to scale from above and from the side, world
// to screen, the car's heading and marker, and where a preview panel puts
// its views.

#include <gtest/gtest.h>

#include <cmath>

#include "flight/Field.h"
#include "flight/FieldView.h"

namespace {

using flight::Field;
using flight::ScreenPoint;
using flight::ScreenRect;
using flight::FieldProjection;
using flight::View;

bool within(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left - 1e-3f && inner.top >= outer.top - 1e-3f &&
         inner.right() <= outer.right() + 1e-3f && inner.bottom() <= outer.bottom() + 1e-3f;
}

bool overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

TEST(ViewFromAbove, FitsFieldAndGoalsAtOneScaleWithPlusYUpAndPlusXLeft) {
  const ScreenRect area{100, 50, 400, 1000};
  const FieldProjection projection = FieldProjection::fit(View::fromAbove, area, 8);
  const float scale = projection.pixelsPerUnit();
  const ScreenRect field = projection.field();
  const ScreenRect top = projection.goal(true);
  // The width is what limits a tall area: wall to wall fills it but for the margin.
  EXPECT_FLOAT_EQ(field.left, 108);
  EXPECT_FLOAT_EQ(field.right(), 492);
  EXPECT_FLOAT_EQ(field.height / field.width, 2 * Field::backWallY / Field::width);
  // The goals sit in the back walls, the +Y goal at the top of the screen.
  EXPECT_FLOAT_EQ(top.bottom(), field.top);
  EXPECT_FLOAT_EQ(projection.goal(false).top, field.bottom());
  EXPECT_FLOAT_EQ(top.width, 2 * Field::goalHalfWidth * scale);
  EXPECT_FLOAT_EQ(top.height, Field::goalDepth * scale);
  EXPECT_FLOAT_EQ(top.left + top.width / 2, 300);
  EXPECT_TRUE(within(top, area));
  EXPECT_TRUE(within(projection.goal(false), area));
  // The centre spot in the middle of the area; the car's usual spot at
  // y = -4608 near the bottom goal, x = 1000 to the left.
  EXPECT_FLOAT_EQ(projection.toScreen({0, 0, 0}).x, 300);
  EXPECT_FLOAT_EQ(projection.toScreen({0, 0, 0}).y, 550);
  EXPECT_FLOAT_EQ(projection.toScreen({1000, -4608, 0}).x, 300 - 1000 * scale);
  EXPECT_FLOAT_EQ(projection.toScreen({1000, -4608, 0}).y, 550 + 4608 * scale);

  // A wide area is fitted by its height.
  const FieldProjection wide = FieldProjection::fit(View::fromAbove, {0, 0, 2000, 608}, 4);
  EXPECT_FLOAT_EQ(wide.goal(true).top, 4);
  EXPECT_FLOAT_EQ(wide.goal(false).bottom(), 604);
  EXPECT_FLOAT_EQ(wide.field().left + wide.field().width / 2, 1000);
}

TEST(ViewFromTheSide, ShowsTheFieldFromFloorToCeilingWithPlusYRight) {
  const ScreenRect area{20, 10, 1200, 400};
  const FieldProjection projection = FieldProjection::fit(View::fromSide, area, 4);
  const ScreenRect field = projection.field();
  // A long, low area: the length with both goals fills its width.
  EXPECT_FLOAT_EQ(projection.goal(false).left, 24);
  EXPECT_FLOAT_EQ(projection.goal(true).right(), 1216);
  EXPECT_FLOAT_EQ(field.height / field.width, Field::ceilingZ / (2 * Field::backWallY));
  EXPECT_FLOAT_EQ(projection.toScreen({0, Field::backWallY, Field::ceilingZ}).x, field.right());
  EXPECT_FLOAT_EQ(projection.toScreen({0, 0, Field::ceilingZ}).y, field.top);
  EXPECT_FLOAT_EQ(projection.toScreen({0, 0, 0}).y, field.bottom());
  // The goals stand on the floor, each in its back wall.
  EXPECT_FLOAT_EQ(projection.goal(true).bottom(), field.bottom());
  EXPECT_FLOAT_EQ(projection.goal(true).left, field.right());
  EXPECT_FLOAT_EQ(projection.goal(true).height, Field::goalHeight * projection.pixelsPerUnit());
  EXPECT_TRUE(within(field, area));
}

TEST(Projections, AnAreaWithNoRoomStillHasAUsableScale) {
  for (const ScreenRect area : {ScreenRect{0, 0, 0, 0}, ScreenRect{10, 10, -50, 300}, ScreenRect{0, 0, 12, 12}}) {
    for (const View view : {View::fromAbove, View::fromSide}) {
      EXPECT_GT(FieldProjection::fit(view, area, 8).pixelsPerUnit(), 0);
      EXPECT_TRUE(std::isfinite(FieldProjection::fit(view, area, 8).toScreen({4096, 5120, 2044}).x));
    }
  }
}

TEST(CarHeading, FollowsTheYawClockwiseFromPlusX) {
  const struct {
    int32_t yaw;
    float x;
    float y;
  } cases[] = {{0, -1, 0}, {16384, 0, -1}, {-16384, 0, 1}, {32768, 1, 0}, {-32768, 1, 0}, {65536, -1, 0}};
  for (const auto& c : cases) {
    const ScreenPoint heading = flight::headingOnScreen(c.yaw);
    EXPECT_NEAR(heading.x, c.x, 1e-6) << c.yaw;
    EXPECT_NEAR(heading.y, c.y, 1e-6) << c.yaw;
  }
}

TEST(CarHeading, TheMarkerPointsWhereTheCarDrivesOnTheDrawnField) {
  // A car at the origin facing yaw drives toward (cos, sin) in the world; the
  // marker's nose must point at that spot as the projection draws it.
  const FieldProjection projection = FieldProjection::fit(View::fromAbove, {0, 0, 600, 800}, 8);
  const ScreenPoint origin = projection.toScreen({0, 0, 0});
  for (int32_t yaw = -32768; yaw <= 32768; yaw += 4096) {
    const double angle = yaw * 2 * 3.14159265358979323846 / 65536;
    const ScreenPoint ahead =
        projection.toScreen({static_cast<float>(1000 * std::cos(angle)), static_cast<float>(1000 * std::sin(angle)), 0});
    const flight::CarMarker marker = flight::carMarker(projection, {}, yaw, 0, 0, 16);
    const float aheadLength = std::hypot(ahead.x - origin.x, ahead.y - origin.y);
    const float noseLength = std::hypot(marker.nose.x - origin.x, marker.nose.y - origin.y);
    EXPECT_NEAR((marker.nose.x - origin.x) / noseLength, (ahead.x - origin.x) / aheadLength, 1e-4) << yaw;
    EXPECT_NEAR((marker.nose.y - origin.y) / noseLength, (ahead.y - origin.y) / aheadLength, 1e-4) << yaw;
    EXPECT_FALSE(marker.upsideDown);
  }
}

TEST(CarUpsideDown, WhenTheRoofFacesTheFloor) {
  EXPECT_FALSE(flight::isUpsideDown(16384, 0));
  EXPECT_TRUE(flight::isUpsideDown(0, 32764));  // how the plug-in puts a car on the ceiling
  EXPECT_TRUE(flight::isUpsideDown(0, -32768));
  EXPECT_TRUE(flight::isUpsideDown(32768, 0));
  EXPECT_FALSE(flight::isUpsideDown(32768, 32768));  // two half turns make an upright car
  EXPECT_FALSE(flight::isUpsideDown(0, 16000));      // on its side, roof still up a little
  EXPECT_TRUE(flight::isUpsideDown(0, 17000));
  EXPECT_TRUE(flight::carMarker(FieldProjection::fit(View::fromAbove, {0, 0, 100, 100}, 8), {}, 0, 0, 32764, 16).upsideDown);
}

TEST(PreviewLayout, PutsBothViewsAndTheTextInThePanelWithoutOverlap) {
  const float textWidth = 140;
  const float textHeight = 42;
  const struct {
    ScreenRect panel;
    bool sideBySide;
  } cases[] = {
      {{0, 0, 450, 330}, true},    // beside short fields
      {{0, 0, 450, 740}, false},   // beside tall fields: one over the other
      {{10, 20, 780, 220}, true},  // over the fields of a narrow window
      {{0, 0, 260, 200}, true},    // beside the shot list: the text goes under both
  };
  for (const auto& c : cases) {
    const flight::PreviewLayout layout = flight::layoutPreview(c.panel, textWidth, textHeight, 8);
    const ScreenRect text{layout.text.x, layout.text.y, textWidth, textHeight};
    EXPECT_TRUE(within(layout.topView, c.panel)) << c.panel.width;
    EXPECT_TRUE(within(layout.sideView, c.panel)) << c.panel.width;
    EXPECT_TRUE(within(text, c.panel)) << c.panel.width;
    EXPECT_FALSE(overlap(layout.topView, layout.sideView)) << c.panel.width;
    EXPECT_FALSE(overlap(layout.topView, text)) << c.panel.width;
    EXPECT_FALSE(overlap(layout.sideView, text)) << c.panel.width;
    EXPECT_EQ(layout.sideView.top == layout.topView.top, c.sideBySide) << c.panel.width;
  }
}

}  // namespace
