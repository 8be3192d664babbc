// The ball's flight, stepped as the sandbox's world steps it and foretold
// as the shot preview foretells it: it moves along its velocity and falls,
// bounces, stays in the field, holds a god ball's speed, rests, and stops on
// a velocity that is not a number.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "flight/Field.h"
#include "flight/FlightPrediction.h"
#include "pluginsdk/sim/Motion.h"
#include "tests/support/TempDir.h"

namespace {

using flight::BallState;
using flight::Field;
using flight::FlightPrediction;
using flight::Vec3;

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

TEST(BallFlight, BouncesOffFloorWallsAndCeilingLosingSomeSpeed) {
  // Each ball reaches its plane well within the 0.2 s it flies.
  const struct {
    const char* plane;
    BallState ball;
    float Vec3::*axis;
  } cases[] = {
      {"floor", {{0, 0, 200}, {0, 0, -1000}}, &Vec3::z},
      {"side wall", {{3900, 0, 1000}, {3000, 0, 0}}, &Vec3::x},
      {"back wall", {{0, -4900, 1000}, {0, -3000, 0}}, &Vec3::y},
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
        ASSERT_TRUE(insideField(ball.location)) << s << " after tick " << tick;
      }
    }
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

// The sandbox's world: a god ball holds its target speed, any other ball
// holds none whatever its target speed says.
TEST(BallFlight, TheWorldStepperMovesTheMatchBall) {
  TempDir dir;
  sim::Host host(dir.path());
  host.startLocalMatch();
  host.setWorldStepper(sim::ballStepper());
  sim::Ball& ball = *host.ball();
  for (const bool god : {true, false}) {
    ball.godBall = god;
    ball.targetSpeed = 2000;
    ball.location = {0, 0, 500};
    ball.velocity = {100, 0, 0};
    host.advance(1);
    EXPECT_NEAR(ball.location.X, fly({{0, 0, 500}, {100, 0, 0}, god ? 2000.0f : 0.0f}, 1).location.x, 1) << god;
  }
}

// ---- the flight foretold ----

TEST(FlightPrediction, AVerticalThrowPeaksWhereGravityTurnsItAndLandsWhereItStarted) {
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

TEST(FlightPrediction, ABallAtRestHasNoFlightAndAStartThatIsNotANumberNothingAtAll) {
  const FlightPrediction inTheAir = flight::predictFlight({{10, 20, 800}, {}, 3000});
  EXPECT_FLOAT_EQ(inTheAir.apex, 800);
  EXPECT_FALSE(inTheAir.landing);
  EXPECT_EQ(inTheAir.path.back(), (Vec3{10, 20, 800}));

  const FlightPrediction onTheFloor = flight::predictFlight({{10, 20, 0}, {nan, 0, 0}});
  ASSERT_TRUE(onTheFloor.landing);
  EXPECT_EQ(*onTheFloor.landing, (Vec3{10, 20, 0}));

  for (const Vec3 start : {Vec3{nan, 0, 100}, Vec3{0, -inf, 100}, Vec3{0, 0, inf}}) {
    const FlightPrediction flight = flight::predictFlight({start, {0, 0, 500}});
    EXPECT_FALSE(flight.placed);
    EXPECT_TRUE(flight.path.empty());
    EXPECT_FALSE(flight.landing);
  }
}

TEST(FlightCache, ForetellsEachNewLaunch) {
  flight::FlightCache cache;
  const flight::Launch low{{0, 0, 200}, {0, 0, 500}};
  const float lowApex = cache.predict(low).apex;
  EXPECT_GT(cache.predict({{0, 0, 200}, {0, 0, 900}}).apex, lowApex + 200);
  EXPECT_FLOAT_EQ(cache.predict(low).apex, lowApex);
}

}  // namespace
