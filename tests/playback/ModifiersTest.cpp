// The training modifiers as "LoadShot" applies them: which draws are made,
// in which order, and what each does to the working shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "tests/playback/PlaybackFixture.h"

namespace {

using Switch = bool QMTraining::*;
constexpr Switch active = &QMTraining::modifiersActive;
constexpr Switch mirror = &QMTraining::mirrorShots;
constexpr Switch split = &QMTraining::splitShot;
constexpr Switch mirrorCar = &QMTraining::mirrorCar;
constexpr Switch splitCar = &QMTraining::splitCar;
constexpr Switch ceiling = &QMTraining::makeCeiling;
constexpr Switch randomize = &QMTraining::randomizeSpawns;

class ModifiersTest : public PlaybackTest {
 protected:
  // Loads shot 0 with exactly the given switches on and the scripted draws.
  void load(const std::vector<Switch>& on, const std::vector<int32_t>& scripted) {
    for (Switch each : {active, mirror, split, mirrorCar, splitCar, ceiling, randomize}) plugin().*each = false;
    for (Switch each : on) plugin().*each = true;
    draws.queue(scripted);
    h.console("LoadShot");
    EXPECT_EQ(draws.left(), 0u) << "fewer draws than scripted";
  }

  // What the load changed in the working shot against cornerShot: "ball",
  // "direction", "car" (mirrored) and "ceiling", or "garbled ..." for a
  // part that is neither as stored nor as the modifier makes it.
  std::vector<std::string> changes() {
    const QMTraining& p = plugin();
    std::vector<std::string> parts;
    auto check = [&parts](const std::string& part, bool changed, bool asStored) {
      if (changed || !asStored) parts.push_back(changed ? part : "garbled " + part);
    };
    check("ball", p.ballLocationX == 1200, p.ballLocationX == -1200);
    check("direction", p.ballVelocityX == -300, p.ballVelocityX == 300);
    check("car", p.carLocationX == 1000, p.carLocationX == -1000);
    check("ceiling", p.carLocationZ == 2024.0f && p.carPitch == 0 && p.carRoll == 32764,
          p.carLocationZ == 17 && p.carPitch == 100 && p.carRoll == 200);
    return parts;
  }
};

auto mirroredParts(const Shot& s) {
  return std::tuple(s.ballLocationX, s.ballVelocityX, s.carLocationX, s.carLocationZ, s.carYaw, s.carPitch, s.carRoll);
}

TEST_F(ModifiersTest, EachSwitchChangesItsPartOfThePlacedShotOnItsOwnDraw) {
  const struct {
    std::vector<Switch> on;
    std::vector<int32_t> drawn;  // in the order ball, direction, car, ceiling
    std::vector<std::string> changes;
    int32_t yaw;
  } cases[] = {
      // Nothing without "activate modifiers", nor from a refining switch alone.
      {{mirror, split, mirrorCar, splitCar, ceiling, randomize}, {}, {}, 16384},
      {{active, split}, {}, {}, 16384},
      {{active, mirrorCar}, {}, {}, 16384},
      {{active, randomize}, {}, {}, 16384},
      // Mirror shots: one bit for both parts; split shot draws them apart.
      {{active, mirror}, {1}, {"ball", "direction"}, 16384},
      {{active, mirror}, {0}, {}, 16384},
      {{active, mirror, split}, {1, 0}, {"ball"}, 16384},
      {{active, mirror, split}, {0, 1}, {"direction"}, 16384},
      // Mirror car follows the ball's bit, or with split car its own.
      {{active, mirror, mirrorCar}, {1}, {"ball", "direction", "car"}, 32764 - 16384},
      {{active, mirror, mirrorCar}, {0}, {}, 16384},
      {{active, mirrorCar, splitCar}, {1}, {"car"}, 32764 - 16384},
      {{active, mirror, mirrorCar, splitCar}, {1, 0}, {"ball", "direction"}, 16384},
      {{active, mirror, split, mirrorCar, splitCar}, {0, 1, 1}, {"direction", "car"}, 32764 - 16384},
      // Ceiling adds its draw to the yaw; randomized, only draws 1 and 2 take it.
      {{active, ceiling}, {7}, {"ceiling"}, 16384 + 7},
      {{active, ceiling, randomize}, {0}, {}, 16384},
      {{active, ceiling, randomize}, {1}, {"ceiling"}, 16384 + 1},
      {{active, ceiling, randomize}, {2}, {"ceiling"}, 16384 + 2},
      {{active, ceiling, randomize}, {3}, {}, 16384 + 3},
      {{active, ceiling, randomize}, {10}, {}, 16384 + 10},
  };
  for (const auto& c : cases) {
    load(c.on, c.drawn);
    const std::string drawn = ::testing::PrintToString(c.drawn);
    EXPECT_EQ(changes(), c.changes) << drawn;
    EXPECT_EQ(plugin().carYaw, c.yaw) << drawn;
    EXPECT_EQ(mirroredParts(plugin().shots[0]), mirroredParts(cornerShot()));
  }
}

// Mirroring turns a yaw y into 32764 - y (-y - 32764 below zero) after the
// ceiling draw is added. Any int32 a shot file holds wraps instead of
// overflowing: wrapping by 2^32 is a whole number of turns.
TEST_F(ModifiersTest, YawsMirrorAboutTheConstant32764WrappingPastTheInt32Ends) {
  const std::vector<Switch> mirrored = {active, mirror, mirrorCar};
  const std::vector<Switch> mirroredOnCeiling = {active, mirror, mirrorCar, ceiling};
  const struct {
    int32_t stored;
    std::vector<Switch> on;
    std::vector<int32_t> drawn;
    int32_t yaw;
  } cases[] = {
      {0, mirrored, {1}, 32764},
      {-16000, mirrored, {1}, -16764},
      {32764, mirrored, {1}, 0},
      {-32764, mirrored, {1}, 0},
      {16384, mirroredOnCeiling, {1, 4}, 32764 - (16384 + 4)},
      {INT32_MAX, {active, ceiling}, {10}, INT32_MIN + 9},
      {INT32_MIN, mirrored, {1}, 2147450884},  // -(-2^31) - 32764
      {INT32_MAX, mirrored, {1}, 32764 - INT32_MAX},
      {INT32_MAX - 3, mirroredOnCeiling, {1, 10}, -(INT32_MIN + 6) - 32764},
  };
  for (const auto& c : cases) {
    plugin().shots[0].carYaw = c.stored;
    load(c.on, c.drawn);
    EXPECT_EQ(plugin().carYaw, c.yaw) << c.stored;
  }
}

}  // namespace
