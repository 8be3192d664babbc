// The arena's geometry: the field fitted to scale, world to screen, the
// car's heading and whether it is upside down, the numbers shown.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "pluginsdk/sim/Motion.h"
#include "sandbox/ArenaView.h"
#include "tests/support/TempDir.h"

namespace {

using sim::FieldSize;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr float kFieldWidth = 2 * FieldSize::sideWallX;
constexpr float kFieldLength = 2 * FieldSize::backWallY;

float bottom(const ScreenRect& r) { return r.top + r.height; }
float right(const ScreenRect& r) { return r.left + r.width; }

TEST(ArenaProjection, FitsFieldAndGoalsIntoATallAreaAtOneScale) {
  const ScreenRect area{100, 50, 400, 1000};
  const ArenaProjection projection = ArenaProjection::fit(area, 8);
  const ScreenRect field = projection.field();
  const ScreenRect top = projection.goal(true);
  const ScreenRect low = projection.goal(false);

  // The width is what limits a tall area: wall to wall fills it but for the margin.
  EXPECT_FLOAT_EQ(field.left, 108);
  EXPECT_FLOAT_EQ(right(field), 492);
  EXPECT_FLOAT_EQ(field.height / field.width, kFieldLength / kFieldWidth);
  // The goals sit in the back walls, the +Y goal at the top of the screen.
  EXPECT_FLOAT_EQ(bottom(top), field.top);
  EXPECT_FLOAT_EQ(low.top, bottom(field));
  EXPECT_FLOAT_EQ(top.width, 2 * FieldSize::goalHalfWidth * projection.pixelsPerUnit());
  EXPECT_FLOAT_EQ(top.height, FieldSize::goalDepth * projection.pixelsPerUnit());
  EXPECT_FLOAT_EQ(top.left + top.width / 2, 300);
  EXPECT_GE(top.top, area.top);
  EXPECT_LE(bottom(low), bottom(area));
}

TEST(ArenaProjection, FitsAWideAreaByItsHeight) {
  const ScreenRect area{0, 0, 2000, 608};
  const ArenaProjection projection = ArenaProjection::fit(area, 4);
  EXPECT_FLOAT_EQ(projection.goal(true).top, 4);
  EXPECT_FLOAT_EQ(bottom(projection.goal(false)), 604);
  EXPECT_FLOAT_EQ(projection.field().left + projection.field().width / 2, 1000);
}

TEST(ArenaProjection, MapsWorldSeenFromAboveWithPlusYUpAndPlusXLeft) {
  const ArenaProjection projection = ArenaProjection::fit({0, 0, 500, 700});
  const ScreenPoint centre = projection.toScreen(0, 0);
  EXPECT_FLOAT_EQ(centre.x, 250);
  EXPECT_FLOAT_EQ(centre.y, 350);

  const ScreenRect field = projection.field();
  const ScreenPoint plusCorner = projection.toScreen(FieldSize::sideWallX, FieldSize::backWallY);
  const ScreenPoint minusCorner = projection.toScreen(-FieldSize::sideWallX, -FieldSize::backWallY);
  EXPECT_FLOAT_EQ(plusCorner.x, field.left);
  EXPECT_FLOAT_EQ(plusCorner.y, field.top);
  EXPECT_FLOAT_EQ(minusCorner.x, right(field));
  EXPECT_FLOAT_EQ(minusCorner.y, bottom(field));

  // The car's usual spot at y = -4608 is near the bottom goal.
  EXPECT_GT(projection.toScreen(0, -4608).y, centre.y);
  EXPECT_NEAR(projection.toScreen(0, -4608).y - centre.y, 4608 * projection.pixelsPerUnit(), 1e-3);
}

TEST(ArenaProjection, AnAreaWithNoRoomStillHasAUsableScale) {
  for (const ScreenRect area : {ScreenRect{0, 0, 0, 0}, ScreenRect{10, 10, -50, 300}, ScreenRect{0, 0, 12, 12}}) {
    const ArenaProjection projection = ArenaProjection::fit(area, 8);
    EXPECT_GT(projection.pixelsPerUnit(), 0);
    EXPECT_TRUE(std::isfinite(projection.toScreen(4096, 5120).x));
  }
}

TEST(CarHeading, FollowsTheYawClockwiseFromPlusX) {
  const struct {
    int32_t yaw;
    float x;
    float y;
  } cases[] = {{0, -1, 0}, {16384, 0, -1}, {-16384, 0, 1}, {32768, 1, 0}, {-32768, 1, 0}, {65536, -1, 0}};
  for (const auto& c : cases) {
    const ScreenPoint heading = headingOnScreen(c.yaw);
    EXPECT_NEAR(heading.x, c.x, 1e-6) << c.yaw;
    EXPECT_NEAR(heading.y, c.y, 1e-6) << c.yaw;
  }
}

TEST(CarHeading, PointsWhereTheCarDrivesOnTheDrawnField) {
  // A car at the origin facing yaw drives toward (cos, sin) in the world; the
  // marker must point at that spot as the projection draws it.
  const ArenaProjection projection = ArenaProjection::fit({0, 0, 600, 800});
  const ScreenPoint origin = projection.toScreen(0, 0);
  for (int32_t yaw = -32768; yaw <= 32768; yaw += 4096) {
    const double angle = yaw * 2 * 3.14159265358979323846 / 65536;
    const ScreenPoint ahead =
        projection.toScreen(static_cast<float>(1000 * std::cos(angle)), static_cast<float>(1000 * std::sin(angle)));
    const float length = std::hypot(ahead.x - origin.x, ahead.y - origin.y);
    const ScreenPoint heading = headingOnScreen(yaw);
    EXPECT_NEAR(heading.x, (ahead.x - origin.x) / length, 1e-4) << yaw;
    EXPECT_NEAR(heading.y, (ahead.y - origin.y) / length, 1e-4) << yaw;
  }
}

TEST(CarUpsideDown, WhenTheRoofFacesTheFloor) {
  EXPECT_FALSE(isUpsideDown({0, 16384, 0}));
  EXPECT_TRUE(isUpsideDown({0, 0, 32764}));  // how the plug-in puts a car on the ceiling
  EXPECT_TRUE(isUpsideDown({0, 0, -32768}));
  EXPECT_TRUE(isUpsideDown({32768, 0, 0}));
  EXPECT_FALSE(isUpsideDown({32768, 0, 32768}));  // two half turns make an upright car
  EXPECT_FALSE(isUpsideDown({0, 0, 16000}));      // on its side, roof still up a little
  EXPECT_TRUE(isUpsideDown({0, 0, 17000}));
}

TEST(ArenaReadout, ShowsBallHeightAndSpeedAndAnUpsideDownCar) {
  EXPECT_THAT(arenaReadout(nullptr), ElementsAre(HasSubstr("match local")));

  TempDir dir;
  sim::Host host(dir.path());
  host.startLocalMatch();
  host.ball()->location = {10, 20, 500};
  host.ball()->velocity = {300, 0, -400};
  host.ball()->targetSpeed = 2985;
  host.car()->rotation = {0, -16764, 32764};
  EXPECT_THAT(arenaReadout(host.server()), ElementsAre("Ball height 500  speed 500  target speed 2985",
                                                       "Car yaw -16764  pitch 0  roll 32764  upside down"));
}

}  // namespace

namespace {

TEST(BallTrail, StartsWhereTheBallRestedAndFollowsItsFlight) {
  BallTrail trail;
  trail.record({100, 200, 300}, false);
  trail.record({100, 200, 300}, false);
  ASSERT_EQ(trail.points().size(), 1u);

  trail.record({110, 180, 305}, true);
  trail.record({120, 160, 309}, true);
  ASSERT_EQ(trail.points().size(), 3u);
  EXPECT_EQ(trail.points().front().X, 100);
  EXPECT_EQ(trail.points().back().Y, 160);

  // Placed somewhere else: the old path goes.
  trail.record({-3000, 4000, 500}, true);
  ASSERT_EQ(trail.points().size(), 1u);
  EXPECT_EQ(trail.points().front().X, -3000);

  for (int i = 0; i < 2000; ++i) trail.record({-3000, 4000 - static_cast<float>(i), 500}, true);
  EXPECT_LE(trail.points().size(), BallTrail::kMaxPoints);
  EXPECT_EQ(trail.points().back().Y, 4000 - 1999);
}

}  // namespace
