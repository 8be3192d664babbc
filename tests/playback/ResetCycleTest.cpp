// The reset key ("controlInput"), the training draw, and the two commands
// that copy shots between the loaded pack and the working shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "tests/playback/PlaybackFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::tuple<float, float, float> xyz(const Vector& v) { return {v.X, v.Y, v.Z}; }

class ResetCycleTest : public PlaybackTest {
 protected:
  ResetCycleTest() {
    loadShots({cornerShot(), namedShot("Second", 2222), namedShot("Third", 3333)});
    selectShot(0);
    h.console("LoadShot");
    host().server()->maxScore = 7;
  }

  void pressReset() { h.console("controlInput"); }

  // The calls of one whole reset of cornerShot, up to the launch request.
  static std::vector<std::string> placementOfCornerShot() {
    return {"Car.SetCarRotation(100, 16384, 200)",
            "Car.SetLocation(-1000, -4608, 17)",
            "Car.Stop()",
            "Ball.Stop()",
            "Ball.SetHitTeamNum(255)",
            "Ball.SetLocation(-1200, 3500, 92.5)",
            "Ball.Stop()",
            "GodBall.SetTargetSpeed(3200)",
            "GodBall.UpdateColor()",
            "Game.SetTimeout(0.2)"};
  }
  static std::vector<std::string> launch() {
    return {"Ball.SetHitTeamNum(1)", "GodBall.SetCarHitTeamNum(1)", "GodBall.OnHitTeamNumChanged()",
            "GodBall.UpdateColor()", "Ball.SetVelocity(300, -2500, 800)"};
  }
  bool launched() { return host().ball()->velocity.Y != 0; }
};

TEST_F(ResetCycleTest, ResetPlacesCarAndBallSetsSpeedAndLaunchesOnlyAfterTheDelay) {
  pressReset();
  std::vector<std::string> expected = {"Server.SetMaxScore(100)"};
  for (auto& call : placementOfCornerShot()) expected.push_back(call);
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(host().ball()->location.X, -1200);
  EXPECT_FALSE(launched());

  h.advance(0.19);
  EXPECT_FALSE(launched()) << "the ball rests at its start for 0.2 s";
  EXPECT_EQ(calls().size(), expected.size());

  h.advance(0.02);
  for (auto& call : launch()) expected.push_back(call);
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(host().ball()->velocity.Y, -2500);
  EXPECT_EQ(host().ball()->hitTeam, 1);
  EXPECT_EQ(host().pendingTimeouts(), 0u);
}

TEST_F(ResetCycleTest, OnlineTheKeyDoesNothingAtAllNotEvenTheScoreFix) {
  host().startOnlineMatch();
  plugin().trainingActive = true;
  pressReset();
  EXPECT_THAT(calls(), IsEmpty());
  EXPECT_EQ(plugin().savedMaxScore, 0);
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ResetCycleTest, OutsideAGameOrWithThePluginOffTheKeyDoesNothing) {
  host().leaveMatch();
  pressReset();
  host().startLocalMatch();
  h.console("quellmark_enabled 0");
  pressReset();
  EXPECT_THAT(calls(), IsEmpty());
  EXPECT_EQ(plugin().savedMaxScore, 0);
}

TEST_F(ResetCycleTest, WithoutABallOnlyTheScoreFixHappens) {
  host().server()->ball.reset();
  pressReset();
  EXPECT_THAT(calls(), ElementsAre("Server.SetMaxScore(100)"));
  EXPECT_EQ(host().pendingTimeouts(), 0u);
}

TEST_F(ResetCycleTest, WithCarResetOffOnlyTheBallIsReplayed) {
  h.console("car_enabled 0");
  pressReset();
  h.advance(0.25);
  for (const std::string& call : calls()) EXPECT_EQ(call.rfind("Car.", 0), std::string::npos) << call;
  EXPECT_EQ(host().ball()->velocity.Y, -2500);
}

TEST_F(ResetCycleTest, ScoreLimitIsSavedOnceAndRaisedOnEveryReset) {
  pressReset();
  EXPECT_EQ(plugin().savedMaxScore, 7);
  EXPECT_EQ(host().server()->maxScore, 100);

  calls().clear();
  pressReset();
  EXPECT_EQ(plugin().savedMaxScore, 7) << "the second reset must not save 100";
  EXPECT_EQ(calls().front(), "Server.SetMaxScore(100)");
}

TEST_F(ResetCycleTest, ScoreFixOffLeavesTheLimitAlone) {
  plugin().maxScoreFixEnabled = false;
  pressReset();
  EXPECT_EQ(host().server()->maxScore, 7);
  EXPECT_EQ(plugin().savedMaxScore, 0);
  EXPECT_EQ(calls().front(), "Car.SetCarRotation(100, 16384, 200)");
}

TEST_F(ResetCycleTest, DelayedLaunchChecksItsGuardsAgainWhenItFires) {
  pressReset();
  h.console("quellmark_enabled 0");
  h.advance(0.25);
  EXPECT_FALSE(launched());

  h.console("quellmark_enabled 1");
  pressReset();
  host().startOnlineMatch();
  h.advance(0.25);  // the timeout fires with no local game and must not touch one

  host().startLocalMatch();
  pressReset();
  host().server()->ball.reset();
  h.advance(0.25);
  EXPECT_EQ(host().pendingTimeouts(), 0u);
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)") << "nothing ran after the last request";
}

TEST_F(ResetCycleTest, TwoQuickPressesLaunchTwiceEachAfterItsOwnDelay) {
  pressReset();
  h.advance(0.1);
  pressReset();
  h.advance(0.15);
  EXPECT_EQ(host().pendingTimeouts(), 1u);
  h.advance(0.1);
  EXPECT_EQ(host().pendingTimeouts(), 0u);
  EXPECT_EQ(std::count(calls().begin(), calls().end(), "Ball.SetVelocity(300, -2500, 800)"), 2);
}

// ---- the training draw ----

TEST_F(ResetCycleTest, TrainingDrawsOnceAmongTheSelectedShots) {
  plugin().trainingActive = true;
  plugin().shotSelections = {true, false, true};
  draws.queue({1});  // the second of the two selected shots
  pressReset();
  EXPECT_THAT(draws.ranges(), ElementsAre("0..1"));
  EXPECT_EQ(h.cvarInt("shotNumber1"), 2);
  EXPECT_EQ(plugin().ballLocationX, 3333);
  EXPECT_EQ(plugin().currentShotName, "Third");
  EXPECT_FALSE(plugin().noShotSelected);
  EXPECT_EQ(host().ball()->location.X, 3333);
}

TEST_F(ResetCycleTest, TrainingWithOneSelectedShotReplaysItEveryTime) {
  plugin().drawNumber = randomDeviceDraws();
  plugin().trainingActive = true;
  plugin().shotSelections = {false, false, true};
  for (int press = 0; press < 20; ++press) {
    pressReset();
    ASSERT_EQ(h.cvarInt("shotNumber1"), 2);
    ASSERT_EQ(host().ball()->location.X, 3333);
  }
}

TEST_F(ResetCycleTest, TrainingWithNoShotSelectedReloadsTheCurrentShotAndPlacesNothing) {
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
}

TEST_F(ResetCycleTest, AnEmptyDrawDoesNotSilenceTheKeyOnceTrainingIsOff) {
  plugin().trainingActive = true;
  draws.queue({0});
  pressReset();
  ASSERT_TRUE(plugin().noShotSelected);

  plugin().trainingActive = false;
  calls().clear();
  pressReset();
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

TEST_F(ResetCycleTest, TrainingWithAnEmptySelectionListLogsAndReplaysTheWorkingShot) {
  plugin().trainingActive = true;
  plugin().shots.clear();
  plugin().shotSelections.clear();
  plugin().ballLocationX = 1234;  // the working shot, edited in the window
  pressReset();
  EXPECT_TRUE(h.logged("emptyShotActive"));
  EXPECT_FALSE(plugin().noShotSelected);
  EXPECT_THAT(draws.ranges(), IsEmpty());
  EXPECT_EQ(plugin().ballLocationX, 1234);
  EXPECT_EQ(host().ball()->location.X, 1234);
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

TEST_F(ResetCycleTest, TrainingDrawClearsAnEarlierEmptyDraw) {
  plugin().trainingActive = true;
  draws.queue({0});
  pressReset();
  ASSERT_TRUE(plugin().noShotSelected);

  plugin().shotSelections = {true, false, false};
  draws.queue({0});
  pressReset();
  EXPECT_FALSE(plugin().noShotSelected);
  EXPECT_EQ(calls().back(), "Game.SetTimeout(0.2)");
}

// ---- training order and variance ----

TEST_F(ResetCycleTest, InListOrderThePressesWalkTheTickedShotsWithoutDrawing) {
  h.console("training_order 2");
  plugin().trainingActive = true;
  plugin().shotSelections = {true, false, true};
  for (int expected : {0, 2, 0}) {
    pressReset();
    EXPECT_EQ(h.cvarInt("shotNumber1"), expected);
  }
  EXPECT_THAT(draws.ranges(), IsEmpty());
}

TEST_F(ResetCycleTest, VarianceShapesWhatThePressPlacesAndLaunchesNeverTheWorkingShot) {
  h.console("variance_location 200");
  h.console("variance_direction 45");
  h.console("variance_speed 50");
  plugin().trainingActive = true;
  plugin().shotSelections = {true, false, false};
  activateModifiers();
  plugin().mirrorShots = true;
  // The shot, the mirror bit (not mirrored), then the variance: X by +200,
  // Y by -50, no turn, 1.5 times the speed.
  draws.queue({0, 0, 1000000, -250000, 0, 1000000});
  pressReset();
  EXPECT_THAT(draws.ranges(), ElementsAre("0..0", "0..1", "-1000000..1000000", "-1000000..1000000",
                                          "-1000000..1000000", "-1000000..1000000"));
  EXPECT_EQ(xyz(host().ball()->location), xyz({-1000, 3450, 92.5}));
  h.advance(0.25);
  EXPECT_EQ(xyz(host().ball()->velocity), xyz({450, -3750, 1200}));
  EXPECT_EQ(plugin().ballLocationX, -1200);
  EXPECT_EQ(plugin().ballLocationY, 3500);
  EXPECT_EQ(plugin().ballVelocityX, 300);
  EXPECT_EQ(plugin().ballVelocityZ, 800);
  EXPECT_EQ(plugin().shots[0].ballLocationX, -1200);

  // The editor's try-out commands place and launch the exact shot.
  h.console("BallMove");
  h.console("BallVelocity");
  EXPECT_EQ(xyz(host().ball()->location), xyz({-1200, 3500, 92.5}));
  EXPECT_EQ(xyz(host().ball()->velocity), xyz({300, -2500, 800}));
  EXPECT_EQ(draws.ranges().size(), 6u);

  // Out of training the press varies the working shot just the same.
  plugin().trainingActive = false;
  draws.queue({-1000000, 0, 0, 0});
  pressReset();
  EXPECT_EQ(xyz(host().ball()->location), xyz({-1400, 3500, 92.5}));
  EXPECT_EQ(draws.left(), 0u);
}

// ---- "LoadShot" and "OverideShot" ----

TEST_F(ResetCycleTest, LoadShotCopiesTheSelectedShotIntoTheWorkingShot) {
  h.console("quellmark_enabled 0");  // loading needs a game, not the switch
  selectShot(2);
  h.console("LoadShot");
  EXPECT_EQ(plugin().ballLocationX, 3333);
  EXPECT_EQ(plugin().currentShotName, "Third");
  EXPECT_THAT(calls(), IsEmpty()) << "loading places nothing";
}

TEST_F(ResetCycleTest, LoadShotAndOverideShotIgnoreAnIndexOutOfRange) {
  plugin().ballLocationX = 42;
  for (int index : {-1, 3, 1000000}) {
    selectShot(index);
    h.console("LoadShot");
    h.console("OverideShot");
  }
  EXPECT_EQ(plugin().ballLocationX, 42);
  EXPECT_EQ(plugin().shots[0].ballLocationX, -1200);
  EXPECT_EQ(plugin().shots[2].ballLocationX, 3333);
}

TEST_F(ResetCycleTest, LoadShotNeedsARunningGame) {
  host().leaveMatch();
  selectShot(1);
  h.console("LoadShot");
  EXPECT_EQ(plugin().ballLocationX, -1200);
}

// A stored shot with a real file in the pack folder "Demo".
class OverideShotTest : public ResetCycleTest {
 protected:
  OverideShotTest() {
    std::filesystem::create_directories(h.packFolder("Demo"));
    Shot stored;
    EXPECT_TRUE(stored.createShotFile(h.packFolder("Demo") + "/", 92.5f, -1200, 3500, 300, -2500, 800,
                                      -1000, -4608, 17, 16384, "Corner Shot", 3200, 100, 200));
    loadShots({cornerShot(), stored});
    selectShot(1);
    h.console("LoadShot");
  }
  std::string fileText() { return readFile(plugin().shots[1].filePath); }
};

TEST_F(OverideShotTest, WritesTheWorkingShotWithTheFixedSpeedOverTheSelectedShot) {
  const std::string path = plugin().shots[1].filePath;
  QMTraining& p = plugin();
  p.ballLocationX = -500.25f;
  p.carYaw = -16000;
  p.ballSpeed = 4500;  // not written: the command takes "cool_speed"
  p.currentShotName = "Corner Shot Two";
  h.console("cool_speed 3333");
  h.console("OverideShot");
  EXPECT_EQ(fileText(), "92.5 -500.25 3500 300 -2500 800 -1000 -4608 17 -16000 Corner_Shot_Two 3333 100 200");
  EXPECT_EQ(p.shots[1].filePath, path) << "the file keeps its name until the pack is loaded again";
  EXPECT_EQ(p.shots[1].ballSpeed, 3333);
  EXPECT_EQ(p.shots[1].name, "Corner Shot Two");
  EXPECT_EQ(p.shots[0].ballLocationX, -1200) << "only the selected shot changes";
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(OverideShotTest, OutsideAGameTheFileStaysAsItWas) {
  const std::string before = fileText();
  host().leaveMatch();
  plugin().ballLocationX = 1;
  h.console("OverideShot");
  EXPECT_EQ(fileText(), before);
}

TEST_F(ResetCycleTest, LoadShotShowsUnderscoresOfAStoredNameAsSpaces) {
  plugin().shots[2].name = "Wall_Read_";
  selectShot(2);
  h.console("LoadShot");
  EXPECT_EQ(plugin().currentShotName, "Wall Read ");
}

}  // namespace
