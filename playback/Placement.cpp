// The four commands that put the working shot into a local game. They read
// the working shot and never change it. Every one starts with the same
// guard (not online, a running local game) and then its own switches; a
// failed guard ends it without a word.

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/QMTraining.h"

namespace {

// Hit team 255 leaves the resting ball to nobody until launchBall hands it
// to team 1.
constexpr uint8_t kRestingHitTeam = 255;
constexpr uint8_t kLaunchedHitTeam = 1;

// "speed_enabled": what target speed applyBallSpeed gives the god ball.

// The common guard: the running local game's server, or an invalid handle.
ServerWrapper localServer(GameWrapper& game) {
  if (game.IsInOnlineGame()) return ServerWrapper(0);
  return game.GetCurrentGameState();
}

}  // namespace

void QMTraining::moveBall() { placeBallAt({ballLocationX, ballLocationY, ballLocationZ}); }

void QMTraining::placeBallAt(Vector location) {
  ServerWrapper server = localServer(*gameWrapper);
  if (!server) return;
  BallWrapper ball = server.GetBall();
  if (!ball || !pluginEnabled) return;
  ball.Stop();
  ball.SetHitTeamNum(kRestingHitTeam);
  ball.SetLocation(location);
  ball.Stop();
}

void QMTraining::moveCar() {
  ServerWrapper server = localServer(*gameWrapper);
  if (!server || !carResetEnabled || !pluginEnabled) return;
  CarWrapper car = server.GetGameCar();
  if (!car) return;
  // Turned first, then moved: the car arrives already facing its way.
  car.SetCarRotation({carPitch, carYaw, carRoll});
  car.SetLocation({carLocationX, carLocationY, carLocationZ});
  car.Stop();
}

void QMTraining::launchBall() { launchBallWith({ballVelocityX, ballVelocityY, ballVelocityZ}); }

void QMTraining::launchBallWith(Vector velocity) {
  ServerWrapper server = localServer(*gameWrapper);
  if (!server) return;
  BallWrapper ball = server.GetBall();
  if (!ball || !pluginEnabled) return;
  ball.SetHitTeamNum(kLaunchedHitTeam);
  BallGodWrapper godBall(ball.memory_address);
  if (ball.IsGodBall()) {
    godBall.SetCarHitTeamNum(kLaunchedHitTeam);
    godBall.OnHitTeamNumChanged();
    godBall.UpdateColor();
  }
  ball.SetVelocity(velocity);
}

void QMTraining::applyBallSpeed() {
  if (!localServer(*gameWrapper) || !pluginEnabled) return;
  // Both variables are registered by onLoad; an absent one counts as 0,
  // which leaves the speed alone.
  CVarWrapper modeVariable = cvarManager->getCvar(cvarname::speedEnabled);
  CVarWrapper fixedVariable = cvarManager->getCvar(cvarname::coolSpeed);
  const auto mode = static_cast<SpeedMode>(modeVariable ? modeVariable.getIntValue() : 0);
  int fixedSpeed = fixedVariable ? fixedVariable.getIntValue() : 0;
  ServerWrapper server = gameWrapper->GetCurrentGameState();
  if (!server) return;
  BallWrapper ball = server.GetBall();
  if (!ball || !ball.IsGodBall()) return;
  BallGodWrapper godBall(ball.memory_address);
  if (mode == SpeedMode::Fixed) {
    godBall.SetTargetSpeed(static_cast<float>(fixedSpeed));
    godBall.UpdateColor();
  } else if (mode == SpeedMode::FromShot) {
    godBall.SetTargetSpeed(static_cast<float>(ballSpeed));
    godBall.UpdateColor();
  }
}
