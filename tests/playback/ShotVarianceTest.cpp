// Variance of the ball's start: the arithmetic of each kind, the order of
// its draws, and the spread of the production draws.

#include "playback/ShotVariance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

#include "tests/playback/PlaybackFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::FloatNear;
using ::testing::IsEmpty;

constexpr int32_t kFull = varianceSteps;  // a draw of the whole amount

// A ball whose fields all differ, with a signed zero the mirror modifiers
// can leave behind.
BallStart sampleBall() { return {-1200, 3500, 92.5f, 600, -0.0f, 800}; }

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

TEST_F(ShotVarianceTest, AmountsThatAreOffDrawNothingAndKeepEveryBit) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (VarianceAmounts amounts : {VarianceAmounts{}, VarianceAmounts{-5, -1, -0.5f}, VarianceAmounts{nan, nan, nan}}) {
    EXPECT_FALSE(amounts.any());
    BallStart ball = sampleBall();
    BallStart varied = vary(amounts, {});
    EXPECT_EQ(std::memcmp(&varied, &ball, sizeof ball), 0);
  }
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ShotVarianceTest, LocationMovesXAndYByTheirOwnDrawsAndKeepsZAndTheFlight) {
  BallStart varied = vary({.locationUnits = 200}, {kFull, -kFull / 4});
  EXPECT_EQ(varied.locationX, -1000);
  EXPECT_EQ(varied.locationY, 3450);
  EXPECT_EQ(varied.locationZ, 92.5f);
  EXPECT_EQ(varied.velocityX, 600);
  EXPECT_TRUE(std::signbit(varied.velocityY));
  EXPECT_THAT(draws.ranges(), ElementsAre("-1000000..1000000", "-1000000..1000000"));
}

TEST_F(ShotVarianceTest, LocationIsHeldWithinTheEditorsRanges) {
  BallStart varied = vary({.locationUnits = 1000}, {kFull, -kFull}, {4000, -5000, 17, 0, 0, 0});
  EXPECT_EQ(varied.locationX, 4096);
  EXPECT_EQ(varied.locationY, -5120);
  varied = vary({.locationUnits = 1000}, {-kFull, kFull}, {-4000, 5000, 17, 0, 0, 0});
  EXPECT_EQ(varied.locationX, -4096);
  EXPECT_EQ(varied.locationY, 5120);
}

TEST_F(ShotVarianceTest, DirectionTurnsTheFlightAboutTheVerticalKeepingItsLength) {
  struct Case {
    float degrees;
    int32_t drawn;
    float x, y;
  } cases[] = {
      {45, kFull, 424.264f, 424.264f},        // 45 degrees to the left
      {45, -kFull / 2, 554.328f, -229.610f},  // 22.5 degrees to the right
      {30, kFull, 519.615f, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.degrees);
    BallStart varied = vary({.directionDegrees = c.degrees}, {c.drawn});
    EXPECT_THAT(varied.velocityX, FloatNear(c.x, 0.01f));
    EXPECT_THAT(varied.velocityY, FloatNear(c.y, 0.01f));
    EXPECT_EQ(varied.velocityZ, 800);
    EXPECT_THAT(std::hypot(varied.velocityX, varied.velocityY), FloatNear(600, 0.01f));
    EXPECT_EQ(varied.locationX, -1200);
  }
}

TEST_F(ShotVarianceTest, SpeedScalesTheWholeVelocity) {
  BallStart varied = vary({.speedPercent = 50}, {kFull});
  EXPECT_EQ(varied.velocityX, 900);
  EXPECT_EQ(varied.velocityZ, 1200);
  varied = vary({.speedPercent = 50}, {-kFull});
  EXPECT_EQ(varied.velocityX, 300);
  EXPECT_EQ(varied.velocityZ, 400);
  varied = vary({.speedPercent = 10}, {kFull / 2});
  EXPECT_THAT(varied.velocityX, FloatNear(630, 0.001f));
}

TEST_F(ShotVarianceTest, AllThreeDrawInOrderAndAmountsAreHeldToTheirRanges) {
  // 5000 units reads as 1000, 90 degrees as 45, 80 percent as 50.
  BallStart varied = vary({5000, 90, 80}, {kFull / 2, -kFull / 2, kFull, kFull});
  EXPECT_EQ(varied.locationX, -700);
  EXPECT_EQ(varied.locationY, 3000);
  EXPECT_THAT(varied.velocityX, FloatNear(636.396f, 0.01f));  // 600 turned 45 degrees, then * 1.5
  EXPECT_THAT(varied.velocityY, FloatNear(636.396f, 0.01f));
  EXPECT_EQ(varied.velocityZ, 1200);
  EXPECT_EQ(draws.ranges().size(), 4u);
}

// With the production draws each kind reaches over its whole range: of 10
// equal parts of [-amount, +amount], each gets about a tenth of the draws.
// Bounds are 8 standard deviations wide (about 1 in 10^14 to fail by chance).
TEST_F(ShotVarianceTest, ProductionDrawsSpreadOverTheWholeRange) {
  struct Kind {
    const char* name;
    VarianceAmounts amounts;
    // Where in [-1, 1] of its amount a varied ball landed.
    std::function<double(const BallStart&)> fraction;
  } kinds[] = {
      {"location", {.locationUnits = 100}, [](const BallStart& b) { return (b.locationX + 1200) / 100.0; }},
      {"direction", {.directionDegrees = 40},
       [](const BallStart& b) { return std::atan2(b.velocityY, b.velocityX) * 180 / std::numbers::pi / 40; }},
      {"speed", {.speedPercent = 20}, [](const BallStart& b) { return (b.velocityZ / 800.0 - 1) / 0.2; }},
  };
  DrawNumber source = randomDeviceDraws();
  constexpr int kDraws = 5000;
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    std::vector<int> parts(10, 0);
    for (int i = 0; i < kDraws; ++i) {
      double fraction = kind.fraction(varyBallStart({-1200, 3500, 92.5f, 600, 0, 800}, kind.amounts, source));
      ASSERT_GE(fraction, -1.0001);
      ASSERT_LE(fraction, 1.0001);
      ++parts[std::min<size_t>(9, static_cast<size_t>((fraction + 1) * 5))];
    }
    // Mean 500, sd 21.2.
    for (int count : parts) {
      EXPECT_GT(count, 330);
      EXPECT_LT(count, 670);
    }
  }
}

}  // namespace
