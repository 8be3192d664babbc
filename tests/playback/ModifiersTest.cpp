// The training modifiers as "LoadShot" applies them: which draws are made,
// in which order, and what each does to the working shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>

#include "tests/playback/PlaybackFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class ModifiersTest : public PlaybackTest {
 protected:
  ModifiersTest() {
    loadShots({cornerShot()});
    selectShot(0);
  }

  void load(std::vector<int32_t> scripted = {}) {
    draws.queue(std::move(scripted));
    h.console("LoadShot");
    EXPECT_EQ(draws.left(), 0u) << "fewer draws than scripted";
  }
  void setStoredYaw(int32_t yaw) { plugin().shots[0].carYaw = yaw; }

  // The working shot, against cornerShot: which parts were mirrored.
  bool ballMirrored() { return plugin().ballLocationX == 1200; }
  bool directionMirrored() { return plugin().ballVelocityX == -300; }
  bool carMirrored() { return plugin().carLocationX == 1000; }
  bool onCeiling() {
    return plugin().carLocationZ == 2024.0f && plugin().carPitch == 0 && plugin().carRoll == 32764;
  }
};

TEST_F(ModifiersTest, WithoutActivateModifiersNoSwitchDrawsOrChangesAnything) {
  QMTraining& p = plugin();
  p.mirrorShots = p.splitShot = p.mirrorCar = p.splitCar = p.makeCeiling = p.randomizeSpawns = true;
  load();
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_EQ(p.ballLocationZ, 92.5f);
  EXPECT_EQ(p.ballLocationX, -1200);
  EXPECT_EQ(p.ballLocationY, 3500);
  EXPECT_EQ(p.ballVelocityX, 300);
  EXPECT_EQ(p.ballVelocityY, -2500);
  EXPECT_EQ(p.ballVelocityZ, 800);
  EXPECT_EQ(p.carLocationX, -1000);
  EXPECT_EQ(p.carLocationY, -4608);
  EXPECT_EQ(p.carLocationZ, 17);
  EXPECT_EQ(p.carYaw, 16384);
  EXPECT_EQ(p.carPitch, 100);
  EXPECT_EQ(p.carRoll, 200);
  EXPECT_EQ(p.ballSpeed, 3200);
  EXPECT_EQ(p.currentShotName, "Corner Shot");
}

TEST_F(ModifiersTest, MirrorShotsFlipsPositionAndDirectionTogetherOnOneBit) {
  activateModifiers();
  plugin().mirrorShots = true;
  load({1});
  EXPECT_TRUE(ballMirrored());
  EXPECT_TRUE(directionMirrored());
  EXPECT_FALSE(carMirrored()) << "the car follows only with Mirror Car";
  EXPECT_EQ(plugin().carYaw, 16384);

  load({0});
  EXPECT_FALSE(ballMirrored());
  EXPECT_FALSE(directionMirrored());
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1", "0..1"));
}

TEST_F(ModifiersTest, SplitShotDrawsTheDirectionSeparately) {
  activateModifiers();
  plugin().mirrorShots = plugin().splitShot = true;
  load({1, 0});
  EXPECT_TRUE(ballMirrored());
  EXPECT_FALSE(directionMirrored());
  load({0, 1});
  EXPECT_FALSE(ballMirrored());
  EXPECT_TRUE(directionMirrored());
}

TEST_F(ModifiersTest, SplitShotWithoutMirrorShotsChangesNothing) {
  activateModifiers();
  plugin().splitShot = true;
  load();
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_FALSE(directionMirrored());
}

TEST_F(ModifiersTest, MirrorCarFollowsTheBallAndMirrorsTheYaw) {
  activateModifiers();
  plugin().mirrorShots = plugin().mirrorCar = true;
  load({1});
  EXPECT_TRUE(ballMirrored());
  EXPECT_TRUE(carMirrored());
  EXPECT_EQ(plugin().carYaw, 32764 - 16384);

  load({0});
  EXPECT_FALSE(carMirrored());
  EXPECT_EQ(plugin().carYaw, 16384);
}

TEST_F(ModifiersTest, MirrorCarAloneNeverMirrorsTheCar) {
  activateModifiers();
  plugin().mirrorCar = true;
  load();
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_FALSE(carMirrored());
  EXPECT_EQ(plugin().carYaw, 16384);
}

TEST_F(ModifiersTest, SplitCarGivesTheCarItsOwnBit) {
  activateModifiers();
  plugin().mirrorCar = plugin().splitCar = true;
  load({1});
  EXPECT_FALSE(ballMirrored());
  EXPECT_TRUE(carMirrored());

  plugin().mirrorShots = true;
  load({1, 0});
  EXPECT_TRUE(ballMirrored());
  EXPECT_FALSE(carMirrored());
}

TEST_F(ModifiersTest, AllMirrorSwitchesDrawBallThenDirectionThenCar) {
  activateModifiers();
  QMTraining& p = plugin();
  p.mirrorShots = p.splitShot = p.mirrorCar = p.splitCar = true;
  load({0, 1, 1});
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1", "0..1", "0..1"));
  EXPECT_FALSE(ballMirrored());
  EXPECT_TRUE(directionMirrored());
  EXPECT_TRUE(carMirrored());
}

TEST_F(ModifiersTest, MakeCeilingPutsTheCarUpsideDownAtTheRoofAndAddsTheDrawToTheYaw) {
  activateModifiers();
  plugin().makeCeiling = true;
  load({7});
  EXPECT_THAT(draws.ranges(), ElementsAre("0..10"));
  EXPECT_TRUE(onCeiling());
  EXPECT_EQ(plugin().carYaw, 16384 + 7);
  EXPECT_EQ(plugin().carLocationX, -1000);
}

TEST_F(ModifiersTest, RandomizeSpawnsTakesTheCeilingOnlyForDrawsOneAndTwo) {
  activateModifiers();
  plugin().makeCeiling = plugin().randomizeSpawns = true;
  for (int32_t drawn = 0; drawn <= 10; ++drawn) {
    load({drawn});
    EXPECT_EQ(onCeiling(), drawn == 1 || drawn == 2) << drawn;
    EXPECT_EQ(plugin().carYaw, 16384 + drawn) << "the draw turns the car even off the ceiling";
    if (!onCeiling()) {
      EXPECT_EQ(plugin().carLocationZ, 17);
      EXPECT_EQ(plugin().carPitch, 100);
      EXPECT_EQ(plugin().carRoll, 200);
    }
  }
}

TEST_F(ModifiersTest, RandomizeSpawnsWithoutMakeCeilingChangesNothing) {
  activateModifiers();
  plugin().randomizeSpawns = true;
  load();
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_FALSE(onCeiling());
}

TEST_F(ModifiersTest, CeilingAndMirroredCarMirrorTheYawAfterTheDrawIsAdded) {
  activateModifiers();
  QMTraining& p = plugin();
  p.mirrorShots = p.mirrorCar = p.makeCeiling = true;
  load({1, 4});
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1", "0..10"));
  EXPECT_TRUE(carMirrored());
  EXPECT_TRUE(onCeiling());
  EXPECT_EQ(p.carYaw, 32764 - (16384 + 4));
}

TEST_F(ModifiersTest, MirroredYawUsesTheConstant32764OnBothSides) {
  activateModifiers();
  plugin().mirrorShots = plugin().mirrorCar = true;
  setStoredYaw(0);
  load({1});
  EXPECT_EQ(plugin().carYaw, 32764);
  setStoredYaw(-16000);
  load({1});
  EXPECT_EQ(plugin().carYaw, -16764);
  setStoredYaw(32764);
  load({1});
  EXPECT_EQ(plugin().carYaw, 0);
  setStoredYaw(-32764);
  load({1});
  EXPECT_EQ(plugin().carYaw, 0);
}

TEST_F(ModifiersTest, ExtremeStoredYawsWrapInsteadOfOverflowing) {
  activateModifiers();
  QMTraining& p = plugin();
  p.makeCeiling = true;
  setStoredYaw(INT32_MAX);
  load({10});
  // Wrapping by 2^32 is a whole number of turns: the same direction.
  EXPECT_EQ(p.carYaw, INT32_MIN + 9);

  p.makeCeiling = false;
  p.mirrorShots = p.mirrorCar = true;
  setStoredYaw(INT32_MIN);
  load({1});
  EXPECT_EQ(p.carYaw, 2147450884);  // -(-2^31) - 32764
  setStoredYaw(INT32_MAX);
  load({1});
  EXPECT_EQ(p.carYaw, 32764 - INT32_MAX);

  p.makeCeiling = true;
  setStoredYaw(INT32_MAX - 3);
  load({1, 10});
  EXPECT_EQ(p.carYaw, -(INT32_MIN + 6) - 32764);
}

TEST_F(ModifiersTest, MirroringZeroGivesNegativeZero) {
  activateModifiers();
  plugin().mirrorShots = plugin().mirrorCar = true;
  plugin().shots[0].ballLocationX = 0;
  plugin().shots[0].ballVelocityX = 0;
  plugin().shots[0].carLocationX = 0;
  load({1});
  EXPECT_TRUE(std::signbit(plugin().ballLocationX));
  EXPECT_TRUE(std::signbit(plugin().ballVelocityX));
  EXPECT_TRUE(std::signbit(plugin().carLocationX));
}

TEST_F(ModifiersTest, TheStoredShotStaysAsItWas) {
  activateModifiers();
  QMTraining& p = plugin();
  p.mirrorShots = p.splitShot = p.mirrorCar = p.splitCar = p.makeCeiling = true;
  load({1, 1, 1, 3});
  const Shot& stored = p.shots[0];
  EXPECT_EQ(stored.ballLocationX, -1200);
  EXPECT_EQ(stored.ballVelocityX, 300);
  EXPECT_EQ(stored.carLocationX, -1000);
  EXPECT_EQ(stored.carLocationZ, 17);
  EXPECT_EQ(stored.carYaw, 16384);
  EXPECT_EQ(stored.carRoll, 200);
}

// With the production draws, over many loads: mirroring about half the
// time, the randomized ceiling about 2 times in 11, every ceiling draw from
// 0 to 10 seen. The bounds are 8 standard deviations wide, so the test
// never fails by chance (odds below 1 in 10^14).
TEST_F(ModifiersTest, ProductionDrawsMirrorHalfTheTimeAndTakeTheCeilingTwiceInEleven) {
  plugin().drawNumber = randomDeviceDraws();
  activateModifiers();
  QMTraining& p = plugin();
  p.mirrorShots = p.makeCeiling = p.randomizeSpawns = true;
  constexpr int kLoads = 4000;
  int mirrored = 0;
  int ceiling = 0;
  std::vector<int> yawOffsets(11, 0);
  for (int i = 0; i < kLoads; ++i) {
    h.console("LoadShot");
    if (ballMirrored()) ++mirrored;
    ASSERT_EQ(directionMirrored(), ballMirrored());
    if (onCeiling()) ++ceiling;
    int offset = p.carYaw - 16384;
    ASSERT_TRUE(offset >= 0 && offset <= 10) << offset;
    ASSERT_EQ(onCeiling(), offset == 1 || offset == 2);
    ++yawOffsets[static_cast<size_t>(offset)];
  }
  // Half: mean 2000, sd 31.6. Ceiling: mean 727, sd 24.4.
  EXPECT_GT(mirrored, 1747);
  EXPECT_LT(mirrored, 2253);
  EXPECT_GT(ceiling, 532);
  EXPECT_LT(ceiling, 922);
  for (int count : yawOffsets) EXPECT_GT(count, 0);
}

// The same through the key, with the press's single generator: the training
// draw takes each selected shot alike, and the modifiers still fire at their
// rates after it.
TEST_F(ModifiersTest, ProductionTrainingDrawPicksOnlySelectedShotsAndEachAlike) {
  plugin().drawNumber = randomDeviceDraws();
  loadShots({namedShot("A", 0), namedShot("B", 1), namedShot("C", 2), namedShot("D", 3), namedShot("E", 4),
             namedShot("F", 5)});
  plugin().shotSelections = {true, false, true, false, false, true};
  plugin().trainingActive = true;
  activateModifiers();
  plugin().mirrorShots = plugin().makeCeiling = plugin().randomizeSpawns = true;
  constexpr int kPresses = 3000;
  std::map<int, int> picks;
  int mirrored = 0;
  int ceiling = 0;
  for (int i = 0; i < kPresses; ++i) {
    h.console("controlInput");
    ++picks[h.cvarInt("shotNumber1")];
    if (std::signbit(plugin().ballVelocityX)) ++mirrored;  // cornerShot flies towards +X
    if (onCeiling()) ++ceiling;
  }
  // Each shot: mean 1000, sd 25.8. Mirrored: mean 1500, sd 27.4. Ceiling:
  // mean 545, sd 21.1. All 8 standard deviations either way.
  ASSERT_EQ(picks.size(), 3u);
  for (int shot : {0, 2, 5}) {
    EXPECT_GT(picks[shot], 793) << shot;
    EXPECT_LT(picks[shot], 1207) << shot;
  }
  EXPECT_GT(mirrored, 1281);
  EXPECT_LT(mirrored, 1719);
  EXPECT_GT(ceiling, 376);
  EXPECT_LT(ceiling, 714);
}

}  // namespace
