// The order in which training plays the selected shots: which index each
// pick yields, which draws it makes, and when it starts again.

#include "playback/ShotPicker.h"

#include <gmock/gmock.h>
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "tests/playback/PlaybackFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

class ShotPickerTest : public ::testing::Test {
 protected:
  // The next `count` picks, with the scripted draws queued first.
  std::vector<size_t> pick(TrainingOrder order, size_t count, std::vector<int32_t> scripted = {}) {
    draws.queue(std::move(scripted));
    std::vector<size_t> picked;
    for (size_t i = 0; i < count; ++i) {
      std::optional<size_t> next = picker.next(flags, order, source);
      EXPECT_TRUE(next.has_value());
      if (next) picked.push_back(*next);
    }
    EXPECT_EQ(draws.left(), 0u) << "fewer draws than scripted";
    return picked;
  }

  std::vector<bool> flags = {false, true, true, false, true};  // 1, 2 and 4 selected
  ShotPicker picker;
  ScriptedDraws draws;
  DrawNumber source = draws.source();
};

TEST_F(ShotPickerTest, RandomMakesOneDrawAmongTheSelectedShots) {
  EXPECT_THAT(pick(TrainingOrder::Random, 4, {2, 0, 1, 2}), ElementsAre(4, 1, 2, 4));
  EXPECT_THAT(draws.ranges(), ElementsAre("0..2", "0..2", "0..2", "0..2"));
}

TEST_F(ShotPickerTest, NoFlagSetPicksNothing) {
  for (auto order : {TrainingOrder::Random, TrainingOrder::EachOncePerRound, TrainingOrder::InListOrder}) {
    EXPECT_FALSE(picker.next(std::vector<bool>(4, false), order, source));
    EXPECT_FALSE(picker.next({}, order, source));
  }
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ShotPickerTest, ASingleSelectedShotIsPlayedWithoutDrawing) {
  flags = {false, false, true};
  EXPECT_THAT(pick(TrainingOrder::EachOncePerRound, 3), ElementsAre(2, 2, 2));
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ShotPickerTest, InListOrderCyclesThroughTheSelectedShotsWithoutDrawing) {
  EXPECT_THAT(pick(TrainingOrder::InListOrder, 7), ElementsAre(1, 2, 4, 1, 2, 4, 1));
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ShotPickerTest, EachOncePerRoundShufflesFromTheFrontNeverRepeatingAcrossARound) {
  // Round one, a place drawn per pick from the shots not played yet:
  // [1 2 4] -> 4 first (draw 2 of 0..2), then 2 stays (draw 1 of 1..2).
  EXPECT_THAT(pick(TrainingOrder::EachOncePerRound, 3, {2, 1}), ElementsAre(4, 2, 1));
  // Round two starts from [4 2 1]: 1 ended round one, so the first place is
  // drawn from the two others only (0..1).
  EXPECT_THAT(pick(TrainingOrder::EachOncePerRound, 3, {0, 2}), ElementsAre(4, 1, 2));
  EXPECT_THAT(draws.ranges(), ElementsAre("0..2", "1..2", "0..1", "1..2"));
}

TEST_F(ShotPickerTest, ChangedFlagsARestartOrAnotherOrderStartFromTheBeginning) {
  ASSERT_THAT(pick(TrainingOrder::InListOrder, 2), ElementsAre(1, 2));
  flags[0] = true;  // ticked in the window, nobody told the picker
  EXPECT_THAT(pick(TrainingOrder::InListOrder, 2), ElementsAre(0, 1));
  flags.push_back(true);  // a longer list
  EXPECT_THAT(pick(TrainingOrder::InListOrder, 1), ElementsAre(0));
  picker.restart();
  EXPECT_THAT(pick(TrainingOrder::InListOrder, 1), ElementsAre(0));

  // A new round, not the rest of the old one, and with no memory of it: the
  // shot just played may start the next round at once.
  ASSERT_THAT(pick(TrainingOrder::EachOncePerRound, 1, {0}), ElementsAre(0));
  picker.restart();
  EXPECT_THAT(pick(TrainingOrder::EachOncePerRound, 1, {0}), ElementsAre(0));
  flags[0] = false;
  EXPECT_THAT(pick(TrainingOrder::EachOncePerRound, 1, {0}), ElementsAre(1));
  EXPECT_THAT(draws.ranges(), ElementsAre("0..4", "0..4", "0..3"));
  EXPECT_THAT(pick(TrainingOrder::InListOrder, 1), ElementsAre(1));
}

// With the production draws: each shot starts about as many rounds as the
// others; the bounds are 8 standard deviations wide (1 in 10^15 by chance).
TEST_F(ShotPickerTest, ProductionRoundsHoldEveryShotOnceNeverRepeatingAcrossABoundary) {
  source = randomDeviceDraws();
  flags = {true, false, true, true, false, true, true, false};
  const std::set<size_t> selected = {0, 2, 3, 5, 6};
  constexpr int kRounds = 2000;
  std::map<size_t, int> starts;
  size_t lastOfRound = flags.size();
  for (int round = 0; round < kRounds; ++round) {
    std::vector<size_t> played = pick(TrainingOrder::EachOncePerRound, selected.size());
    ASSERT_THAT(std::set<size_t>(played.begin(), played.end()), ElementsAreArray(selected)) << round;
    ASSERT_NE(played.front(), lastOfRound) << round;
    ++starts[played.front()];
    lastOfRound = played.back();
  }
  // Mean 400, sd 17.9.
  for (size_t shot : selected) {
    EXPECT_THAT(starts[shot], ::testing::AllOf(::testing::Gt(257), ::testing::Lt(543))) << shot;
  }
}

// Weights 1/2 (never tried), 1/12 (10 of 10 made) and 11/12 (10 of 10
// missed) over the denominator 27720: 13860, 2310 and 25410.
TEST_F(ShotPickerTest, FocusOnMissesDrawsOnceOverTheSelectedWeights) {
  picker.setWeight(2, missFocusWeight(10, 10));
  picker.setWeight(4, missFocusWeight(10, 0));
  picker.setWeight(3, missFocusWeight(10, 0));  // not selected: no part of the draw
  const int32_t total = 13860 + 2310 + 25410;
  EXPECT_THAT(pick(TrainingOrder::FocusOnMisses, 6, {0, 13859, 13860, 16169, 16170, total - 1}),
              ElementsAre(1, 1, 2, 2, 4, 4));
  EXPECT_THAT(draws.ranges(), ::testing::Each(fmt::format("0..{}", total - 1)));
  picker.setWeight(1, missFocusWeight(3, 1));  // 3/5: 16632
  EXPECT_THAT(pick(TrainingOrder::FocusOnMisses, 2, {16631, 16632}), ElementsAre(1, 2));
  // A total past one draw's range takes two draws of 31 bits: 2^31 + 20000
  // lies past shot 2's 2^31 (from 16632), in shot 4's part.
  picker.setWeight(2, uint64_t{1} << 31);
  EXPECT_THAT(pick(TrainingOrder::FocusOnMisses, 1, {1, 20000}), ElementsAre(4));
}

TEST_F(ShotPickerTest, ProductionFocusOnMissesBringsBackTheMissedShot) {
  source = randomDeviceDraws();
  flags = std::vector<bool>(10, true);
  for (size_t shot = 0; shot < flags.size(); ++shot) {
    picker.setWeight(shot, missFocusWeight(10, shot == 0 ? 0 : 10));
  }
  std::map<size_t, int> played;
  for (size_t shot : pick(TrainingOrder::FocusOnMisses, 3000)) ++played[shot];
  // Chances 11/38 and 1/38 a pick: means 868 and 79, so 5 times as often
  // holds by a margin of many standard deviations.
  EXPECT_GT(played[0], 5 * played[1]);
  EXPECT_GT(played[1], 0);
}

}  // namespace
