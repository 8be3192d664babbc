// The ball's flight as the sandbox's world and the shot preview use it, and
// the field fitted to scale from above and from the side.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "flight/Field.h"
#include "flight/FieldView.h"
#include "flight/FlightPrediction.h"

namespace {

using flight::BallState;
using flight::Field;
using flight::FieldProjection;
using flight::FlightPrediction;
using flight::ScreenPoint;
using flight::ScreenRect;
using flight::Vec3;
using flight::View;

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();

// The ball after `seconds` of ticks.
BallState fly(BallState ball, double seconds) {
  for (double t = 0; t < seconds - 1e-9; t += flight::tickSeconds) flight::stepBall(ball, flight::tickSeconds);
  return ball;
}

float length(const Vec3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

bool insideField(const Vec3& p) {
  const float r = Field::ballRadius;
  return std::fabs(p.x) <= Field::sideWallX - r && std::fabs(p.y) <= Field::backWallY - r && p.z >= r &&
         p.z <= Field::ceilingZ - r;
}

bool insideGoal(const Vec3& p) {
  const float r = Field::ballRadius;
  return std::fabs(p.x) <= Field::goalHalfWidth - r && std::fabs(p.y) <= Field::backWallY + Field::goalDepth - r &&
         p.z >= r && p.z <= Field::goalHeight - r;
}

TEST(BallFlight, BouncesOffEachSurfaceLosingSomeSpeed) {
  // Each ball reaches its plane well within the 0.2 s it flies.
  const struct {
    const char* plane;
    BallState ball;
    float Vec3::*axis;
  } cases[] = {
      {"floor", {{0, 0, 200}, {0, 0, -1000}}, &Vec3::z},
      {"side wall", {{3900, 0, 1000}, {3000, 0, 0}}, &Vec3::x},
      {"back wall", {{0, -4900, 1000}, {0, -3000, 0}}, &Vec3::y},
      {"back wall beside the goal mouth", {{1000, 4900, 200}, {0, 3000, 0}}, &Vec3::y},
      {"back of the goal", {{0, 5800, 200}, {0, 3000, 0}}, &Vec3::y},
      {"goal's side wall", {{700, -5500, 200}, {3000, 0, 0}}, &Vec3::x},
      {"goal's roof", {{0, 5500, 400}, {0, 0, 3000}}, &Vec3::z},
      {"ceiling", {{0, 0, 1800}, {0, 0, 3000}}, &Vec3::z},
  };
  for (const auto& c : cases) {
    const float before = c.ball.velocity.*c.axis;
    const float after = fly(c.ball, 0.2).velocity.*c.axis;
    EXPECT_LT(after * before, 0) << c.plane;
    EXPECT_LT(std::fabs(after), std::fabs(before)) << c.plane;
    EXPECT_GT(std::fabs(after), 0.3f * std::fabs(before)) << c.plane;
  }
}

TEST(BallFlight, StaysInTheFieldWhateverTheLaunch) {
  for (float s : {500.0f, 6000.0f, 1e6f}) {
    for (Vec3 direction : {Vec3{1, 0, 0}, Vec3{-0.6f, 0.8f, 0}, Vec3{0.3f, -0.4f, 0.87f}, Vec3{0, 0, -1}}) {
      // Some keep their speed and never settle.
      BallState ball{{100, -200, 300}, {direction.x * s, direction.y * s, direction.z * s}, s > 1000 ? s : 0};
      for (int tick = 0; tick < 600; ++tick) {
        flight::stepBall(ball, flight::tickSeconds);
        ASSERT_TRUE(insideField(ball.location) || insideGoal(ball.location)) << s << " after tick " << tick;
      }
    }
  }
}

TEST(BallFlight, ABallThroughAGoalMouthFliesIntoThatGoal) {
  for (const float side : {1.0f, -1.0f}) {
    // Past the line after 0.45 s, at the goal's back after 0.75 s.
    const BallState ball = fly({{0, side * 4000, 300}, {0, side * 2500, 0}, 2500}, 0.6);
    EXPECT_GT(ball.location.y * side, Field::backWallY) << side;
    EXPECT_TRUE(insideGoal(ball.location)) << side;
  }
}

TEST(BallFlight, ABallRollingOnTheFloorSettles) {
  const BallState rolled = fly({{0, 0, Field::ballRadius}, {300, 0, 0}}, 30);
  EXPECT_EQ(length(rolled.velocity), 0);
  EXPECT_FLOAT_EQ(rolled.location.z, Field::ballRadius);
  EXPECT_GT(rolled.location.x, 100);
}

TEST(BallFlight, ABallAtRestOrWithAVelocityThatIsNotANumberStaysWherePlaced) {
  for (const Vec3 velocity : {Vec3{}, Vec3{nan, 0, 0}, Vec3{0, inf, 0}, Vec3{0, 0, -inf}}) {
    const BallState ball = fly({{-1200, 3000, 800}, velocity, 3000}, 2);
    EXPECT_EQ(ball.location, (Vec3{-1200, 3000, 800}));
    EXPECT_EQ(length(ball.velocity), 0);
  }
}

// ---- the flight foretold ----

TEST(FlightPrediction, AVerticalThrowFollowsGravityBackToWhereItStarted) {
  const FlightPrediction flight = flight::predictFlight({{300, -400, 200}, {0, 0, 800}});
  ASSERT_TRUE(flight.placed);
  EXPECT_NEAR(flight.apex, 200 + 800.0 * 800 / (2 * 650), 5);
  ASSERT_TRUE(flight.landing);
  EXPECT_FLOAT_EQ(flight.landing->x, 300);
  EXPECT_FLOAT_EQ(flight.landing->y, -400);
  // A point every tenth of a second for three seconds, the start first.
  ASSERT_EQ(flight.path.size(), 31u);
  EXPECT_EQ(flight.path.front(), (Vec3{300, -400, 200}));
  EXPECT_NEAR(flight.path[10].z, 200 + 800 - 650 / 2.0, 5);
}

TEST(FlightPrediction, AGodBallFliesAtItsTargetSpeed) {
  const FlightPrediction flight = flight::predictFlight({{0, -3000, 1000}, {0, 300, 100}, 3000});
  for (size_t i = 1; i < 4; ++i) {
    const Vec3 step{flight.path[i + 1].x - flight.path[i].x, flight.path[i + 1].y - flight.path[i].y,
                    flight.path[i + 1].z - flight.path[i].z};
    EXPECT_NEAR(length(step), 300, 3) << i;
  }
}

TEST(FlightPrediction, ABallAtRestHasNoFlight) {
  const FlightPrediction inTheAir = flight::predictFlight({{10, 20, 800}, {}, 3000});
  EXPECT_FLOAT_EQ(inTheAir.apex, 800);
  EXPECT_FALSE(inTheAir.landing);
  EXPECT_EQ(inTheAir.path.back(), (Vec3{10, 20, 800}));

  const FlightPrediction onTheFloor = flight::predictFlight({{10, 20, 0}, {nan, 0, 0}});
  ASSERT_TRUE(onTheFloor.landing);
  EXPECT_EQ(*onTheFloor.landing, (Vec3{10, 20, Field::ballRadius}));  // held on the floor
}

TEST(FlightPrediction, AStartOutsideTheFieldCountsWhereTheFlightPutsItLaunchedOrNot) {
  for (const Vec3 velocity : {Vec3{}, Vec3{0, 0, 500}, Vec3{300, 0, -500}}) {
    const FlightPrediction above = flight::predictFlight({{5000, 0, 5000}, velocity, 3000});
    EXPECT_EQ(above.path.front(), (Vec3{4096 - Field::ballRadius, 0, 2044 - Field::ballRadius}));
    EXPECT_EQ(above.apex, above.path.front().z);
    EXPECT_EQ(fly({{5000, 0, 5000}, velocity, 3000}, 0.1).location, above.path[1]);
  }
}

TEST(FlightPrediction, AStartThatIsNotANumberHasNoPrediction) {
  for (const Vec3 start : {Vec3{nan, 0, 100}, Vec3{0, -inf, 100}, Vec3{0, 0, inf}}) {
    const FlightPrediction flight = flight::predictFlight({start, {0, 0, 500}});
    EXPECT_FALSE(flight.placed);
    EXPECT_TRUE(flight.path.empty());
    EXPECT_FALSE(flight.landing);
  }
}

// ---- the field drawn ----

bool within(const ScreenRect& inner, const ScreenRect& outer) {
  return inner.left >= outer.left - 1e-3f && inner.top >= outer.top - 1e-3f &&
         inner.right() <= outer.right() + 1e-3f && inner.bottom() <= outer.bottom() + 1e-3f;
}

bool overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

TEST(ViewFromAbove, FitsTheWholeFieldAtOneScaleWithPlusYUpPlusXLeft) {
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

TEST(CarHeading, TheMarkerPointsWhereTheCarDrivesOnTheDrawnField) {
  // A car at the origin facing yaw drives toward (cos, sin) in the world; the
  // marker's nose must point at that spot as the projection draws it.
  const FieldProjection projection = FieldProjection::fit(View::fromAbove, {0, 0, 600, 800}, 8);
  const ScreenPoint origin = projection.toScreen({0, 0, 0});
  for (int32_t yaw = -32768; yaw <= 32768; yaw += 4096) {
    const double angle = yaw * 2 * std::numbers::pi / 65536;
    const ScreenPoint ahead = projection.toScreen(
        {static_cast<float>(1000 * std::cos(angle)), static_cast<float>(1000 * std::sin(angle)), 0});
    const flight::CarMarker marker = flight::carMarker(projection, {}, yaw, 0, 0, 16);
    const float aheadLength = std::hypot(ahead.x - origin.x, ahead.y - origin.y);
    const float noseLength = std::hypot(marker.nose.x - origin.x, marker.nose.y - origin.y);
    EXPECT_NEAR((marker.nose.x - origin.x) / noseLength, (ahead.x - origin.x) / aheadLength, 1e-4) << yaw;
    EXPECT_NEAR((marker.nose.y - origin.y) / noseLength, (ahead.y - origin.y) / aheadLength, 1e-4) << yaw;
    EXPECT_FALSE(marker.upsideDown);
  }
}

TEST(CarUpsideDown, WhenTheRoofFacesTheFloor) {
  // Pitch, roll: the plug-in's ceiling car, two half turns (upright), and a
  // car on its side with its roof a little up, then a little down.
  const std::tuple<int32_t, int32_t, bool> cases[] = {
      {16384, 0, false},     {0, 32764, true},  {0, -32768, true}, {32768, 0, true},
      {32768, 32768, false}, {0, 16000, false}, {0, 17000, true},
  };
  for (auto [pitch, roll, upsideDown] : cases) EXPECT_EQ(flight::isUpsideDown(pitch, roll), upsideDown) << roll;
  const FieldProjection view = FieldProjection::fit(View::fromAbove, {0, 0, 100, 100}, 8);
  EXPECT_TRUE(flight::carMarker(view, {}, 0, 0, 32764, 16).upsideDown);
}

TEST(PreviewLayout, PutsEveryPartInThePanelWithoutOverlap) {
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
    for (const ScreenRect& part : {layout.topView, layout.sideView, text}) {
      EXPECT_TRUE(within(part, c.panel)) << c.panel.width;
    }
    EXPECT_FALSE(overlap(layout.topView, layout.sideView)) << c.panel.width;
    EXPECT_FALSE(overlap(layout.topView, text)) << c.panel.width;
    EXPECT_FALSE(overlap(layout.sideView, text)) << c.panel.width;
    EXPECT_EQ(layout.sideView.top == layout.topView.top, c.sideBySide) << c.panel.width;
    // Beside the view from above the side view takes the height its column
    // has, not only the field's low shape (a sixth of its width).
    if (c.sideBySide) {
      EXPECT_GT(layout.sideView.height, layout.sideView.width / 4) << c.panel.width;
    }
  }
}

}  // namespace
