// The simulated ball motion, run through the host's clock as the window runs
// it: a launched ball moves along its velocity, bounces, stays in the field.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "pluginsdk/sim/Motion.h"
#include "tests/support/TempDir.h"

namespace {

using sim::FieldSize;

class BallMotion : public ::testing::Test {
 protected:
  BallMotion() : host_(dir_.path()) {
    host_.startLocalMatch();
    host_.setWorldStepper(sim::ballStepper());
    ball().godBall = false;
  }

  sim::Ball& ball() { return *host_.ball(); }
  void launch(Vector at, Vector velocity) {
    ball().location = at;
    ball().velocity = velocity;
  }
  bool insideField() {
    const Vector& p = ball().location;
    const float r = FieldSize::ballRadius;
    return std::fabs(p.X) <= FieldSize::sideWallX - r && std::fabs(p.Y) <= FieldSize::backWallY - r && p.Z >= r &&
           p.Z <= FieldSize::ceilingZ - r;
  }
  float speed() {
    const Vector& v = ball().velocity;
    return std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
  }

  TempDir dir_;
  sim::Host host_;
};

TEST_F(BallMotion, ALaunchedBallMovesAlongItsVelocityAndFalls) {
  launch({0, 0, 1000}, {1000, -500, 0});
  host_.advance(0.1);
  EXPECT_NEAR(ball().location.X, 100, 0.5);
  EXPECT_NEAR(ball().location.Y, -50, 0.5);
  EXPECT_NEAR(ball().location.Z, 1000 - 0.5 * 650 * 0.01, 0.5);
  EXPECT_NEAR(ball().velocity.Z, -65, 0.5);
}

TEST_F(BallMotion, ABallAtRestStaysWherePlacedEvenInTheAir) {
  launch({-1200, 3000, 800}, {0, 0, 0});
  host_.advance(2);
  EXPECT_EQ(ball().location.X, -1200);
  EXPECT_EQ(ball().location.Y, 3000);
  EXPECT_EQ(ball().location.Z, 800);
}

TEST_F(BallMotion, BouncesOffTheFloorAndLosesSomeSpeed) {
  launch({0, 0, 400}, {0, 0, -1000});
  bool bounced = false;
  for (int tick = 0; tick < 60 && !bounced; ++tick) {
    host_.tick();
    EXPECT_GE(ball().location.Z, FieldSize::ballRadius);
    bounced = ball().velocity.Z > 0;
  }
  ASSERT_TRUE(bounced);
  EXPECT_LT(ball().velocity.Z, 1000);
  EXPECT_GT(ball().velocity.Z, 300);
}

TEST_F(BallMotion, BouncesOffASideWallBackWallAndCeiling) {
  launch({3900, 0, 1000}, {3000, 0, 0});
  host_.advance(0.2);
  EXPECT_LT(ball().velocity.X, 0);
  EXPECT_LE(ball().location.X, FieldSize::sideWallX - FieldSize::ballRadius);

  launch({0, -4900, 1000}, {0, -3000, 0});
  host_.advance(0.2);
  EXPECT_GT(ball().velocity.Y, 0);

  launch({0, 0, 1800}, {0, 0, 3000});
  host_.advance(0.2);
  EXPECT_LT(ball().velocity.Z, 0);
  EXPECT_LE(ball().location.Z, FieldSize::ceilingZ - FieldSize::ballRadius);
}

TEST_F(BallMotion, StaysInTheFieldWhateverTheLaunch) {
  const float speeds[] = {500, 6000, 1e6f};
  for (float s : speeds) {
    for (Vector direction : {Vector{1, 0, 0}, Vector{-0.6f, 0.8f, 0}, Vector{0.3f, -0.4f, 0.87f}, Vector{0, 0, -1}}) {
      launch({100, -200, 300}, {direction.X * s, direction.Y * s, direction.Z * s});
      ball().godBall = s > 1000;  // some keep their speed and never settle
      ball().targetSpeed = s;
      for (int tick = 0; tick < 600; ++tick) {
        host_.tick();
        ASSERT_TRUE(insideField()) << s << " after tick " << tick;
      }
    }
  }
}

TEST_F(BallMotion, AGodBallKeepsItsTargetSpeed) {
  ball().godBall = true;
  ball().targetSpeed = 2000;
  launch({0, 0, 500}, {100, 0, 0});
  host_.advance(3);
  EXPECT_NEAR(speed(), 2000, 1);

  // Without a target speed a god ball moves like any other.
  ball().targetSpeed = 0;
  launch({0, 0, 500}, {100, 0, 0});
  host_.advance(0.5);
  EXPECT_GT(speed(), 100);
}

TEST_F(BallMotion, ARollingBallComesToRestOnTheFloor) {
  launch({0, 0, FieldSize::ballRadius}, {300, 0, 0});
  host_.advance(30);
  EXPECT_EQ(speed(), 0);
  EXPECT_FLOAT_EQ(ball().location.Z, FieldSize::ballRadius);
  EXPECT_GT(ball().location.X, 100);
}

TEST_F(BallMotion, AVelocityThatIsNotANumberStopsTheBall) {
  launch({10, 20, 300}, {std::numeric_limits<float>::quiet_NaN(), 0, 0});
  host_.advance(0.5);
  EXPECT_EQ(speed(), 0);
  EXPECT_EQ(ball().location.X, 10);

  launch({10, 20, 300}, {std::numeric_limits<float>::infinity(), 0, 0});
  host_.advance(0.5);
  EXPECT_EQ(speed(), 0);
}

}  // namespace
