// The arena view's numbers and the ball's trail (the field's geometry is
// the flight library's, tested with it).

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sandbox/ArenaView.h"
#include "tests/support/TempDir.h"

namespace {

using ::testing::ElementsAre;

TEST(ArenaReadout, ShowsBallHeightAndSpeedAndAnUpsideDownCar) {
  BallTrail trail;
  EXPECT_THAT(arenaReadout(nullptr, trail), ElementsAre(::testing::HasSubstr("match local")));

  TempDir dir;
  sim::Host host(dir.path());
  host.startLocalMatch();
  host.ball()->location = {10, 20, 500};
  host.ball()->velocity = {300, 0, -400};
  host.ball()->targetSpeed = 2985;
  host.car()->rotation = {0, -16764, 32764};
  trail.record({10, 20, 700.4f}, false);
  trail.record({10, 20, 500}, true);
  EXPECT_THAT(arenaReadout(host.server(), trail),
              ElementsAre("Ball height 500  highest 700", "Ball speed 500  target speed 2985",
                          "Car yaw -16764  pitch 0  roll 32764  upside down"));
}

TEST(BallTrail, StartsWhereTheBallRestedAndFollowsItsFlightUntilPlacedAnew) {
  BallTrail trail;
  trail.record({100, 200, 300}, false);
  trail.record({100, 200, 300}, false);
  trail.record({110, 180, 309}, true);
  ASSERT_EQ(trail.points().size(), 2u);
  EXPECT_EQ(trail.points().front().X, 100);
  EXPECT_EQ(trail.highest(), 309);

  trail.record({-3000, 4000, 500}, true);
  ASSERT_EQ(trail.points().size(), 1u);
  // The highest point outlives the points dropped for length.
  for (int i = 0; i < 2000; ++i) trail.record({-3000, 4000 - static_cast<float>(i), 500 + (i == 10 ? 90.0f : 0)}, true);
  EXPECT_LE(trail.points().size(), BallTrail::kMaxPoints);
  EXPECT_EQ(trail.points().back().Y, 4000 - 1999);
  EXPECT_EQ(trail.highest(), 590);
}

}  // namespace
