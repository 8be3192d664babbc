// The four placement commands, run as console commands the way a key bind,
// the host console or the window runs them.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/playback/PlaybackFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class PlacementTest : public PlaybackTest {
 protected:
  PlacementTest() { useAsWorkingShot(plugin(), cornerShot()); }

  void runAllCommands() {
    for (const char* command : {"BallMove", "CarMove", "BallVelocity", "BallSpeed"}) h.console(command);
  }
};

TEST_F(PlacementTest, EveryCommandDoesNothingOnlineEvenWhenSwitchedOn) {
  host().startOnlineMatch();
  runAllCommands();
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(PlacementTest, EveryCommandDoesNothingOutsideAGame) {
  host().leaveMatch();
  runAllCommands();
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(PlacementTest, EveryCommandDoesNothingWhilePluginIsOff) {
  h.console("quellmark_enabled 0");
  runAllCommands();
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(PlacementTest, BallCommandsDoNothingWithoutABallAndCarMoveWithoutACar) {
  host().server()->ball.reset();
  host().server()->car.reset();
  runAllCommands();
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(PlacementTest, MoveBallLeavesBallAtRestAtTheShotStartWithHitTeam255) {
  host().ball()->velocity = {50, 60, 70};
  h.console("BallMove");
  EXPECT_THAT(calls(), ElementsAre("Ball.Stop()", "Ball.SetHitTeamNum(255)",
                                   "Ball.SetLocation(-1200, 3500, 92.5)", "Ball.Stop()"));
  const sim::Ball& ball = *host().ball();
  EXPECT_EQ(ball.location.X, -1200);
  EXPECT_EQ(ball.location.Y, 3500);
  EXPECT_EQ(ball.location.Z, 92.5f);
  EXPECT_EQ(ball.velocity.X, 0);
  EXPECT_EQ(ball.velocity.Y, 0);
  EXPECT_EQ(ball.velocity.Z, 0);
  EXPECT_EQ(ball.hitTeam, 255);
}

TEST_F(PlacementTest, MoveCarTurnsTheCarBeforeMovingIt) {
  h.console("CarMove");
  EXPECT_THAT(calls(), ElementsAre("Car.SetCarRotation(100, 16384, 200)",
                                   "Car.SetLocation(-1000, -4608, 17)", "Car.Stop()"));
  EXPECT_EQ(host().car()->rotation.Yaw, 16384);
}

TEST_F(PlacementTest, CarResetOffStopsCarMoveButNotBallMove) {
  h.console("car_enabled 0");
  h.console("CarMove");
  EXPECT_THAT(calls(), IsEmpty());
  h.console("BallMove");
  EXPECT_EQ(calls().size(), 4u);
}

TEST_F(PlacementTest, LaunchBallHandsAGodBallToTeamOneThenSetsItsVelocity) {
  h.console("BallVelocity");
  EXPECT_THAT(calls(), ElementsAre("Ball.SetHitTeamNum(1)", "GodBall.SetCarHitTeamNum(1)",
                                   "GodBall.OnHitTeamNumChanged()", "GodBall.UpdateColor()",
                                   "Ball.SetVelocity(300, -2500, 800)"));
}

TEST_F(PlacementTest, LaunchBallSkipsTheGodBallCallsForAnOrdinaryBall) {
  host().ball()->godBall = false;
  h.console("BallVelocity");
  EXPECT_THAT(calls(), ElementsAre("Ball.SetHitTeamNum(1)", "Ball.SetVelocity(300, -2500, 800)"));
}

TEST_F(PlacementTest, BallSpeedFollowsTheSpeedMode) {
  h.console("cool_speed 4100");
  h.console("BallSpeed");  // onLoad left "speed_enabled" at 1: the shot's speed
  h.console("speed_enabled 2");
  h.console("BallSpeed");
  EXPECT_THAT(calls(), ElementsAre("GodBall.SetTargetSpeed(3200)", "GodBall.UpdateColor()",
                                   "GodBall.SetTargetSpeed(4100)", "GodBall.UpdateColor()"));
  EXPECT_EQ(host().ball()->targetSpeed, 4100);

  calls().clear();
  for (const char* mode : {"0", "3", "-1"}) {
    h.console(std::string("speed_enabled ") + mode);
    h.console("BallSpeed");
  }
  EXPECT_THAT(calls(), IsEmpty());
}

TEST_F(PlacementTest, BallSpeedLeavesAnOrdinaryBallAlone) {
  host().ball()->godBall = false;
  h.console("BallSpeed");
  EXPECT_THAT(calls(), IsEmpty());
}

}  // namespace
