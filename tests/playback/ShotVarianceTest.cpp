// Variance of the ball's start: the arithmetic of each kind, the order of
// its draws, and the spread of the production draws.

#include "playback/ShotVariance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <numbers>

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

// Location moves X and Y by their own draws within the editors' ranges;
// direction turns the flight about the vertical; speed scales the whole
// velocity; all three draw in that order, each amount held to its range.
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
