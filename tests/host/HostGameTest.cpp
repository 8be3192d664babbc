// The host stand-in's game: matches, wrappers, the clock and the call record.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pluginsdk/sim/Host.h"
#include "tests/support/TempDir.h"

namespace {

using testing::ElementsAre;

class HostGame : public testing::Test {
 protected:
  HostGame() : host(dir.path()), game(*host.gameWrapper()) {}

  TempDir dir;
  sim::Host host;
  GameWrapper& game;
};

TEST_F(HostGame, AServerExistsOnlyInALocalMatchAndFoldersHangOffTheHostFolder) {
  EXPECT_FALSE(game.GetCurrentGameState());
  EXPECT_FALSE(game.IsInOnlineGame());
  host.startOnlineMatch();
  EXPECT_TRUE(game.IsInOnlineGame());
  EXPECT_FALSE(game.GetCurrentGameState());
  host.startLocalMatch();
  EXPECT_FALSE(game.IsInOnlineGame());
  ServerWrapper server = game.GetCurrentGameState();
  ASSERT_TRUE(server);
  EXPECT_TRUE(server.GetBall());
  EXPECT_TRUE(server.GetGameCar());
  host.leaveMatch();
  EXPECT_FALSE(game.GetCurrentGameState());
  EXPECT_EQ(game.GetBakkesModPath(), dir.path());
  EXPECT_EQ(game.GetDataFolder(), dir.path() / "data");
}

TEST_F(HostGame, WrappersChangeTheGameAndRecordEachCall) {
  host.startLocalMatch();
  ServerWrapper server = game.GetCurrentGameState();
  BallWrapper ball = server.GetBall();
  ball.SetVelocity({1, 2, 3});
  ball.Stop();
  ball.SetLocation({10, 20, 30});
  ball.SetHitTeamNum(255);
  BallGodWrapper god(ball.memory_address);
  god.SetTargetSpeed(3200);
  god.SetCarHitTeamNum(1);
  god.OnHitTeamNumChanged();
  god.UpdateColor();
  CarWrapper car = server.GetGameCar();
  car.SetCarRotation({0, 16384, 32764});
  car.SetLocation({-1, -2.5f, 17});
  server.SetMaxScore(100);

  sim::Ball& simBall = *host.ball();
  EXPECT_EQ(simBall.velocity.X, 0);
  EXPECT_EQ(simBall.location.Z, 30);
  EXPECT_EQ(simBall.hitTeam, 255);
  EXPECT_EQ(simBall.targetSpeed, 3200);
  EXPECT_EQ(simBall.carHitTeam, 1);
  EXPECT_EQ(simBall.colorUpdates, 1);
  EXPECT_EQ(host.car()->rotation.Roll, 32764);
  EXPECT_EQ(host.server()->maxScore, 100);
  EXPECT_THAT(host.calls,
              ElementsAre("Ball.SetVelocity(1, 2, 3)", "Ball.Stop()", "Ball.SetLocation(10, 20, 30)",
                          "Ball.SetHitTeamNum(255)", "GodBall.SetTargetSpeed(3200)", "GodBall.SetCarHitTeamNum(1)",
                          "GodBall.OnHitTeamNumChanged()", "GodBall.UpdateColor()",
                          "Car.SetCarRotation(0, 16384, 32764)", "Car.SetLocation(-1, -2.5, 17)",
                          "Server.SetMaxScore(100)"));
}

TEST_F(HostGame, TimeoutsFireOnceTheClockHasPassedTheirTimeAndExecuteAtTheNextTick) {
  std::vector<std::string> fired;
  game.SetTimeout([&](GameWrapper*) { fired.push_back("late"); }, 0.5f);
  game.SetTimeout([&](GameWrapper*) { fired.push_back("early"); }, 0.2f);
  host.advance(0.19);
  EXPECT_TRUE(fired.empty());
  host.advance(0.02);
  EXPECT_THAT(fired, ElementsAre("early"));
  host.advance(1);
  host.advance(1);
  EXPECT_THAT(fired, ElementsAre("early", "late"));
  EXPECT_THAT(host.calls, ElementsAre("Game.SetTimeout(0.5)", "Game.SetTimeout(0.2)"));

  game.Execute([&](GameWrapper* wrapper) {
    EXPECT_EQ(wrapper, &game);
    fired.push_back("executed");
  });
  EXPECT_EQ(fired.size(), 2u);
  host.tick();
  host.tick();
  EXPECT_THAT(fired, ElementsAre("early", "late", "executed"));
}

TEST_F(HostGame, ReleasedCallbacksNeverRun) {
  int runs = 0;
  game.SetTimeout([&](GameWrapper*) { ++runs; }, 0.1f);
  game.Execute([&](GameWrapper*) { ++runs; });
  host.releaseCallbacks();
  host.advance(1);
  EXPECT_EQ(runs, 0);
}

}  // namespace
