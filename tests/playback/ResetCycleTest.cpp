// The reset key ("controlInput") and its four placement commands, the
// training draw, and the commands copying shots to and from the pack.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <tuple>

#include "playback/ShotVariance.h"
#include "tests/playback/PlaybackFixture.h"

using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::Gt;
using ::testing::IsEmpty;
using ::testing::Lt;

namespace {

std::tuple<float, float, float> xyz(const Vector& v) { return {v.X, v.Y, v.Z}; }

using Calls = std::vector<std::string>;

class ResetCycleTest : public PlaybackTest {};

// Everything one press sends to the host up to its launch, in a plain
// session first and then in each situation that changes it.
TEST(ResetKey, WhatOnePressSendsToTheHostInEachSituation) {
  const Calls score = {"Server.SetMaxScore(100)"};
  const Calls car = {"Car.SetCarRotation(100, 16384, 200)", "Car.SetLocation(-1000, -4608, 17)", "Car.Stop()"};
  const Calls ball = {"Ball.Stop()", "Ball.SetHitTeamNum(255)", "Ball.SetLocation(-1200, 3500, 92.5)", "Ball.Stop()"};
  const Calls speed = {"GodBall.SetTargetSpeed(3200)", "GodBall.UpdateColor()"};
  const Calls fixedSpeed = {"GodBall.SetTargetSpeed(4100)", "GodBall.UpdateColor()"};
  const Calls wait = {"Game.SetTimeout(0.2)"};
  const Calls launch = {"Ball.SetHitTeamNum(1)", "GodBall.SetCarHitTeamNum(1)", "GodBall.OnHitTeamNumChanged()",
                        "GodBall.UpdateColor()", "Ball.SetVelocity(300, -2500, 800)"};
  const Calls plainLaunch = {"Ball.SetHitTeamNum(1)", "Ball.SetVelocity(300, -2500, 800)"};
  const struct {
    const char* situation;
    std::vector<const char*> console;
    std::function<void(Session&)> arrange;
    std::vector<Calls> calls;
  } cases[] = {
      {"a local game", {}, nullptr, {score, car, ball, speed, wait, launch}},
      {"online", {}, [](Session& s) { s.host().startOnlineMatch(); }, {}},
      {"outside a game", {}, [](Session& s) { s.host().leaveMatch(); }, {}},
      {"switched off", {"quellmark_enabled 0"}, nullptr, {}},
      {"no ball", {}, [](Session& s) { s.host().server()->ball.reset(); }, {score}},
      {"car reset off", {"car_enabled 0"}, nullptr, {score, ball, speed, wait, launch}},
      {"score fix off", {}, [](Session& s) { s.plugin().maxScoreFixEnabled = false; },
       {car, ball, speed, wait, launch}},
      {"an ordinary ball", {}, [](Session& s) { s.host().ball()->godBall = false; },
       {score, car, ball, wait, plainLaunch}},
      {"fixed speed", {"cool_speed 4100", "speed_enabled 2"}, nullptr, {score, car, ball, fixedSpeed, wait, launch}},
      {"speed left alone", {"speed_enabled 0"}, nullptr, {score, car, ball, wait, launch}},
      {"speed mode unknown", {"speed_enabled 3"}, nullptr, {score, car, ball, wait, launch}},
  };
  for (const auto& c : cases) {
    Session s;
    for (const char* line : c.console) s.h.console(line);
    if (c.arrange) c.arrange(s);
    s.pressReset();
    s.h.advance(0.25);
    Calls expected;
    for (const Calls& part : c.calls) expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(s.calls(), expected) << c.situation;
    EXPECT_EQ(s.host().pendingTimeouts(), 0u) << c.situation;
  }
}

// Without ball or car, online, outside a game or switched off: nothing.
TEST_F(ResetCycleTest, PlacementCommandsDoNothingWithoutTheirActorOrOutsideTheGuards) {
  auto runEveryCommand = [this] {
    for (const char* command : {"BallMove", "CarMove", "BallVelocity", "BallSpeed"}) h.console(command);
  };
  host().server()->ball.reset();
  host().server()->car.reset();
  runEveryCommand();
  host().startOnlineMatch();
  runEveryCommand();
  host().leaveMatch();
  runEveryCommand();
  host().startLocalMatch();
  h.console("quellmark_enabled 0");
  runEveryCommand();
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(ResetCycleTest, TheGamesScoreLimitIsSavedOnlyOnce) {
  pressReset();
  pressReset();
  EXPECT_EQ(plugin().savedMaxScore, 7) << "the second reset must not save 100";
  EXPECT_EQ(host().server()->maxScore, 100);
}

// Switched off, online or without a ball when the launch fires: nothing.
TEST(ResetKey, TheDelayedLaunchChecksItsGuardsAgainWhenItFires) {
  const std::function<void(Session&)> changes[] = {
      [](Session& s) { s.h.console("quellmark_enabled 0"); },
      [](Session& s) { s.host().startOnlineMatch(); },
      [](Session& s) { s.host().server()->ball.reset(); },
  };
  for (const auto& change : changes) {
    Session s;
    s.pressReset();
    change(s);
    s.h.advance(0.25);
    EXPECT_EQ(s.calls().back(), "Game.SetTimeout(0.2)");
    EXPECT_EQ(s.host().pendingTimeouts(), 0u);
  }
}

// A press within the delay of the one before supersedes its launch. Variance
// that would turn a velocity near the float limit into infinity leaves the
// press its stored shot, and the console says so, once.
TEST(ResetKey, APressLaunchesOnlyItsOwnBallAtAFiniteVelocity) {
  const std::tuple<const char*, float, std::vector<int32_t>> cases[] = {
      {"variance_speed 0", 300, {}}, {"variance_speed 1", 300, {0, 0}},  // a factor of exactly 1
      {"variance_direction 45", 3e38f, {varianceSteps, varianceSteps}},
      {"variance_speed 50", 3e38f, {varianceSteps, varianceSteps}}};
  for (const auto& [variance, speed, draws] : cases) {
    Session s;
    for (const char* line : {variance, "training_order 2"}) s.h.console(line);
    for (Shot& shot : s.plugin().shots) shot.ballVelocityX = shot.ballVelocityY = speed;
    s.plugin().shots[1].ballVelocityZ = 111;
    s.plugin().shotSelections = {true, true, false};
    s.plugin().trainingActive = true;
    s.draws.queue(draws);
    s.pressReset();
    s.h.advance(0.1);
    s.pressReset();
    s.h.advance(0.15);
    EXPECT_EQ(xyz(s.host().ball()->velocity), xyz({0, 0, 0})) << variance;  // still at rest
    s.h.advance(0.1);
    EXPECT_EQ(xyz(s.host().ball()->velocity), xyz({speed, speed, 111})) << variance;
    const auto& log = s.host().logLines();
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [](auto& line) { return line.ends_with("without variance"); }),
              speed > 1e38f ? 2 : 0) << variance;
  }
}

TEST_F(ResetCycleTest, AnErrorInACommandEndsItWithOneLogLineInsteadOfAThrow) {
  plugin().shotSelections = {true, false, false};
  plugin().trainingActive = true;
  plugin().drawNumber = [](int32_t, int32_t) -> int32_t { throw std::runtime_error("no entropy"); };
  EXPECT_NO_THROW(pressReset());
  EXPECT_TRUE(h.logged("controlInput stopped by an error: no entropy"));
}

// ---- the training draw ----

TEST_F(ResetCycleTest, TrainingWithNoShotSelectedReloadsTheCurrentShotSilencingThatPress) {
  plugin().trainingActive = true;
  selectShot(1);
  plugin().ballLocationX = 5;  // an edit the reload must undo
  draws.queue({2});
  pressReset();
  EXPECT_TRUE(plugin().noShotSelected);
  EXPECT_THAT(draws.ranges(), ElementsAre("0..2")) << "one draw, then the empty list is noticed";
  EXPECT_EQ(h.cvarInt("shotNumber1"), 1);
  EXPECT_EQ(plugin().ballLocationX, 2222);
  EXPECT_THAT(calls(), ElementsAre("Server.SetMaxScore(100)"));
  EXPECT_EQ(host().pendingTimeouts(), 0u);

  plugin().trainingActive = false;  // a press outside training replays the shot
  pressReset();
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

// A draw among the selected shots that finds one clears the flag.
TEST_F(ResetCycleTest, TrainingDrawsAmongTheSelectedShots) {
  plugin().trainingActive = plugin().noShotSelected = true;
  plugin().shotSelections = {true, false, true};
  draws.queue({1});  // the second of the two selected shots
  pressReset();
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1"));
  EXPECT_FALSE(plugin().noShotSelected);
  EXPECT_EQ(h.cvarInt("shotNumber1"), 2);
  EXPECT_EQ(plugin().currentShotName, "Third");
  EXPECT_EQ(host().ball()->location.X, 3333);
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

TEST_F(ResetCycleTest, TrainingWithAnEmptySelectionListReplaysTheWorkingShotWithALogLine) {
  plugin().trainingActive = true;
  plugin().shots.clear();
  plugin().shotSelections.clear();
  plugin().ballLocationX = 1234;  // the working shot, edited in the window
  pressReset();
  EXPECT_TRUE(h.logged("emptyShotActive"));
  EXPECT_FALSE(plugin().noShotSelected);
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_EQ(host().ball()->location.X, 1234);
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

// In list order no draw picks the shot; the mirror bit (not mirrored) and
// the variance follow: X by +200, Y by -50, no turn, 1.5 times the speed.
TEST_F(ResetCycleTest, VarianceShapesThePlacedShotInOrOutOfTrainingNeverTheWorkingShot) {
  for (const char* setting : {"training_order 2", "variance_location 200", "variance_direction 45",
                              "variance_speed 50"}) {
    h.console(setting);
  }
  QMTraining& p = plugin();
  p.trainingActive = true;
  p.shotSelections = {false, false, true};
  p.modifiersActive = p.mirrorShots = true;
  draws.queue({0, 1000000, -250000, 0, 1000000});
  pressReset();
  EXPECT_EQ(h.cvarInt("shotNumber1"), 2);
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1", "-1000000..1000000", "-1000000..1000000",
                                          "-1000000..1000000", "-1000000..1000000"));
  EXPECT_EQ(xyz(host().ball()->location), xyz({3533, 3450, 92.5}));
  h.advance(0.25);
  EXPECT_EQ(xyz(host().ball()->velocity), xyz({450, -3750, 1200}));
  EXPECT_EQ(std::tuple(p.ballLocationX, p.ballLocationY, p.ballVelocityX, p.ballVelocityZ),
            std::tuple(3333.0f, 3500.0f, 300.0f, 800.0f));

  // Out of training the press varies the working shot just the same.
  p.trainingActive = false;
  draws.queue({-1000000, 0, 0, 0});
  pressReset();
  EXPECT_EQ(xyz(host().ball()->location), xyz({3133, 3500, 92.5}));
  EXPECT_EQ(draws.left(), 0u);
}

// With the production draws through the key's single generator: shots, mirror
// bit, ceiling draw (2 in 11 take it) and variance tenths all come evenly.
// The bounds are 8 standard deviations wide (odds below 1 in 10^13).
TEST_F(ResetCycleTest, ProductionDrawsSpreadEvenlyOverEveryChoiceOfAPress) {
  QMTraining& p = plugin();
  p.drawNumber = randomDeviceDraws();
  loadShots({namedShot("A", 0), namedShot("B", 1), namedShot("C", 2), namedShot("D", 3), namedShot("E", 4),
             namedShot("F", 5)});
  p.shotSelections = {true, false, true, false, false, true};
  p.trainingActive = true;
  p.modifiersActive = p.mirrorShots = p.makeCeiling = p.randomizeSpawns = true;
  h.console("variance_location 100");
  std::map<int, int> picks;
  std::vector<int> yawOffsets(11, 0);
  std::vector<int> varianceTenths(10, 0);
  int mirrored = 0;
  for (int press = 0; press < 3000; ++press) {
    pressReset();
    ++picks[h.cvarInt("shotNumber1")];
    if (std::signbit(p.ballVelocityX)) ++mirrored;  // cornerShot flies towards +X
    const int offset = p.carYaw - 16384;
    ASSERT_TRUE(offset >= 0 && offset <= 10) << offset;
    ASSERT_EQ(p.carLocationZ == 2024.0f, offset == 1 || offset == 2) << offset;
    ++yawOffsets[static_cast<size_t>(offset)];
    const double fraction = (host().ball()->location.Y - 3500) / 100.0;
    ASSERT_LE(std::fabs(fraction), 1.0001);
    ++varianceTenths[std::min<size_t>(9, static_cast<size_t>((fraction + 1) * 5))];
  }
  // Each shot: mean 1000, sd 25.8. Mirrored: mean 1500, sd 27.4. Ceiling:
  // mean 545, sd 21.1. Each tenth: mean 300, sd 16.4.
  ASSERT_EQ(picks.size(), 3u);
  for (int shot : {0, 2, 5}) EXPECT_THAT(picks[shot], AllOf(Gt(793), Lt(1207))) << shot;
  EXPECT_THAT(mirrored, AllOf(Gt(1281), Lt(1719)));
  EXPECT_THAT(yawOffsets[1] + yawOffsets[2], AllOf(Gt(376), Lt(714)));
  EXPECT_THAT(yawOffsets, Each(Gt(0)));
  EXPECT_THAT(varianceTenths, Each(AllOf(Gt(168), Lt(432))));
}

// ---- "LoadShot" and "OverideShot" ----

TEST_F(ResetCycleTest, EitherCopyCommandIgnoresAnIndexOutOfRange) {
  plugin().ballLocationX = 42;
  for (int index : {-1, 3, 1000000}) {
    selectShot(index);
    h.console("LoadShot");
    h.console("OverideShot");
  }
  EXPECT_EQ(plugin().ballLocationX, 42);
  EXPECT_EQ(plugin().shots[2].ballLocationX, 3333);
}

TEST_F(ResetCycleTest, LoadShotCopiesTheSelectedShotOnlyInAGame) {
  plugin().ballLocationX = 42;
  host().leaveMatch();
  selectShot(1);
  h.console("LoadShot");
  EXPECT_EQ(plugin().ballLocationX, 42);

  // In a game it copies the selected shot, with spaces for underscores, and
  // places nothing; it needs no switch.
  host().startLocalMatch();
  h.console("quellmark_enabled 0");
  plugin().shots[2].name = "Wall_Read_";
  selectShot(2);
  h.console("LoadShot");
  EXPECT_EQ(plugin().ballLocationX, 3333);
  EXPECT_EQ(plugin().currentShotName, "Wall Read ");
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(ResetCycleTest, OverideShotWritesTheWorkingShotWithTheFixedSpeedOverTheSelectedShotInAGameOrSaysWhyNot) {
  QMTraining& p = plugin();
  std::filesystem::create_directories(h.packFolder("Demo"));
  const std::string path = h.packFolder("Demo") + "/Second.shot";
  p.shots[1].filePath = path;
  selectShot(1);
  p.ballLocationX = -500.25f;
  p.carYaw = -16000;
  p.ballSpeed = 4500;  // not written: the command takes "cool_speed"
  p.currentShotName = "Corner Shot Two";
  h.console("cool_speed 3333");
  host().leaveMatch();
  h.console("OverideShot");
  EXPECT_FALSE(std::filesystem::exists(path));

  host().startLocalMatch();
  h.console("OverideShot");
  EXPECT_EQ(readFile(path), "92.5 -500.25 3500 300 -2500 800 -1000 -4608 17 -16000 Corner_Shot_Two 3333 100 200");
  EXPECT_EQ(p.shots[1].filePath, path) << "the file keeps its name until the pack is loaded again";
  EXPECT_EQ(p.shots[1].ballSpeed, 3333);
  EXPECT_EQ(p.shots[1].name, "Corner Shot Two");
  EXPECT_EQ(p.shots[0].ballLocationX, -1200) << "only the selected shot changes";
  EXPECT_THAT(calls(), IsEmpty());

  // A file that cannot be written is named in the log, and the shot stays.
  p.shots[1].filePath = h.packFolder("Missing") + "/Second.shot";
  p.ballLocationX = 7;
  h.console("OverideShot");
  EXPECT_TRUE(h.logged("Could not write shot file " + p.shots[1].filePath));
  EXPECT_EQ(p.shots[1].ballLocationX, -500.25f);
}

}  // namespace
