// Variance of the ball's start: the arithmetic of each kind, the order of
// its draws, and the spread of the production draws.

#include "playback/ShotVariance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "tests/playback/PlaybackFixture.h"

namespace {

using ::testing::FloatNear;
using ::testing::IsEmpty;
using ::testing::Pointwise;

constexpr int32_t kFull = varianceSteps;  // a draw of the whole amount

// A ball whose fields all differ, with a signed zero the mirror modifiers
// can leave behind.
BallStart sampleBall() { return {-1200, 3500, 92.5f, 600, -0.0f, 800}; }

std::array<float, 6> fields(const BallStart& b) {
  return {b.locationX, b.locationY, b.locationZ, b.velocityX, b.velocityY, b.velocityZ};
}

class ShotVarianceTest : public ::testing::Test {
 protected:
  BallStart vary(VarianceAmounts amounts, std::vector<int32_t> scripted, BallStart ball = sampleBall()) {
    draws.queue(std::move(scripted));
    BallStart varied = varyBallStart(ball, amounts, draws.source());
    EXPECT_EQ(draws.left(), 0u) << "fewer draws than scripted";
    return varied;
  }
  ScriptedDraws draws;
};

TEST_F(ShotVarianceTest, AmountsThatAreOffLeaveTheStartUntouchedWithoutADraw) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (VarianceAmounts amounts : {VarianceAmounts{}, VarianceAmounts{-5, -1, -0.5f}, VarianceAmounts{nan, nan, nan}}) {
    EXPECT_FALSE(amounts.any());
    BallStart ball = sampleBall();
    BallStart varied = vary(amounts, {});
    EXPECT_EQ(std::memcmp(&varied, &ball, sizeof ball), 0);
  }
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

// Location moves X and Y within the editors' ranges, direction turns the
// flight about the vertical, speed scales it; drawn in that order.
TEST_F(ShotVarianceTest, EachKindMovesItsPartOfTheStartByItsDraws) {
  const struct {
    VarianceAmounts amounts;
    std::vector<int32_t> drawn;
    BallStart start, varied;
  } cases[] = {
      {{.locationUnits = 200}, {kFull, -kFull / 4}, sampleBall(), {-1000, 3450, 92.5f, 600, 0, 800}},
      {{.locationUnits = 1000}, {kFull, -kFull}, {4000, -5000, 17, 0, 0, 0}, {4096, -5120, 17, 0, 0, 0}},
      {{.locationUnits = 1000}, {-kFull, kFull}, {-4000, 5000, 17, 0, 0, 0}, {-4096, 5120, 17, 0, 0, 0}},
      {{.directionDegrees = 45}, {kFull}, sampleBall(), {-1200, 3500, 92.5f, 424.264f, 424.264f, 800}},
      {{.directionDegrees = 45}, {-kFull / 2}, sampleBall(), {-1200, 3500, 92.5f, 554.328f, -229.610f, 800}},
      {{.directionDegrees = 30}, {kFull}, sampleBall(), {-1200, 3500, 92.5f, 519.615f, 300, 800}},
      {{.speedPercent = 50}, {kFull}, sampleBall(), {-1200, 3500, 92.5f, 900, 0, 1200}},
      {{.speedPercent = 50}, {-kFull}, sampleBall(), {-1200, 3500, 92.5f, 300, 0, 400}},
      {{.speedPercent = 10}, {kFull / 2}, sampleBall(), {-1200, 3500, 92.5f, 630, 0, 840}},
      // 5000 units read as 1000, 90 degrees as 45, 80 percent as 50.
      {{5000, 90, 80}, {kFull / 2, -kFull / 2, kFull, kFull}, sampleBall(),
       {-700, 3000, 92.5f, 636.396f, 636.396f, 1200}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.drawn));
    EXPECT_TRUE(c.amounts.any());
    EXPECT_THAT(fields(vary(c.amounts, c.drawn, c.start)), Pointwise(FloatNear(0.01f), fields(c.varied)));
  }
}

}  // namespace
