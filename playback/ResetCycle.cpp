// The reset cycle: one press of the bound key replays the working shot (or,
// in training, a randomly drawn selected shot, transformed by the active
// modifiers), and the two commands that copy a shot between the loaded pack
// and the working shot.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"

namespace {

// The quellmark mode ends a game after a few goals; practice must not.
constexpr int kPracticeMaxScore = 100;
// The ball rests at its start for this long before it is launched.
constexpr float kLaunchDelaySeconds = 0.2f;

// Where "Make Ceiling" puts the car: at the roof, upside down.
constexpr float kCeilingHeight = 2024.0f;
constexpr int32_t kCeilingPitch = 0;
constexpr int32_t kCeilingRoll = 32764;
// The ceiling draw runs over 0..10; with "Randomize spawns" only 1 and 2
// put the car on the ceiling (2 chances in 11). The draw is added to the yaw
// either way.
constexpr int32_t kCeilingDrawMax = 10;
// Mirroring turns a yaw y into about half a turn minus y. The editors keep
// yaws within -32764..32764, so this constant (not the engine's 32768) keeps
// mirrored yaws inside that range too.
constexpr int32_t kYawMirror = 32764;

// Yaws are periodic in 65536 units and 2^32 is a whole number of turns, so
// wrapping at the ends of int32 keeps the angle the engine sees. A shot
// file can hold any int32, and plain int32 arithmetic would overflow there.
int32_t wrapYaw(int64_t yaw) { return static_cast<int32_t>(yaw); }

int32_t addToYaw(int32_t yaw, int32_t amount) { return wrapYaw(int64_t{yaw} + amount); }

int32_t mirrorYaw(int32_t yaw) {
  return yaw >= 0 ? wrapYaw(int64_t{kYawMirror} - yaw) : wrapYaw(-int64_t{yaw} - kYawMirror);
}

}  // namespace

void QMTraining::controlInput() {
  if (gameWrapper->IsInOnlineGame()) return;
  ServerWrapper server = gameWrapper->GetCurrentGameState();
  if (!server || !pluginEnabled) return;

  if (maxScoreFixEnabled) {
    // Keep the game's own limit once, so the window can put it back.
    if (savedMaxScore == 0) savedMaxScore = server.GetMaxScore();
    server.SetMaxScore(kPracticeMaxScore);
  }

  if (trainingActive) pickNextShot();

  BallWrapper ball = server.GetBall();
  // A draw that found no selected shot stops this reset. Outside training
  // the flag is left over from an earlier draw and must not silence the key.
  if (!ball || (trainingActive && noShotSelected)) return;
  moveCar();
  moveBall();
  applyBallSpeed();
  // launchBall runs its own guards again when the timeout fires: the match
  // or the switches may have changed in between.
  gameWrapper->SetTimeout(guarded("BallVelocity", [this](GameWrapper*) { launchBall(); }),
                          kLaunchDelaySeconds);
}

void QMTraining::pickNextShot() {
  if (gameWrapper->IsInOnlineGame()) return;
  if (!gameWrapper->GetCurrentGameState()) return;
  noShotSelected = false;
  CVarWrapper selected = cvarManager->getCvar("shotNumber1");
  if (!selected) return;
  if (shotSelections.empty()) {
    logLine("emptyShotActive");
    return;
  }

  // Draw until a selected shot comes up, so every selected shot is equally
  // likely. With no flag set at all, one draw is made and the current shot
  // is reloaded unchanged.
  const bool anySelected =
      std::find(shotSelections.begin(), shotSelections.end(), true) != shotSelections.end();
  const auto last = static_cast<int32_t>(shotSelections.size() - 1);
  for (;;) {
    int32_t drawn = drawNumber(0, last);
    if (shotSelections[static_cast<size_t>(drawn)]) {
      selected.setValue(drawn);
      break;
    }
    if (!anySelected) {
      noShotSelected = true;
      break;
    }
  }
  loadSelectedShot();
}

void QMTraining::loadSelectedShot() {
  if (!gameWrapper->GetCurrentGameState()) return;
  CVarWrapper selected = cvarManager->getCvar("shotNumber1");
  if (!selected) return;
  int32_t index = selected.getIntValue();
  if (index < 0 || static_cast<size_t>(index) >= shots.size()) return;
  const Shot& shot = shots[static_cast<size_t>(index)];

  // The fields are copied and transformed in this order so that the draws
  // happen in a fixed order: ball mirror, split shot, split car, ceiling.
  auto drawBit = [this] { return drawNumber(0, 1) == 1; };
  const bool mirrorBall = modifiersActive && mirrorShots;
  const bool mirrorTheCar = modifiersActive && mirrorCar;

  ballLocationZ = shot.ballLocationZ;
  ballLocationX = shot.ballLocationX;
  bool ballFlipped = false;
  if (mirrorBall) {
    ballFlipped = drawBit();
    if (ballFlipped) ballLocationX = -ballLocationX;
  }

  ballLocationY = shot.ballLocationY;
  ballVelocityX = shot.ballVelocityX;
  if (mirrorBall) {
    bool directionFlipped = splitShot ? drawBit() : ballFlipped;
    if (directionFlipped) ballVelocityX = -ballVelocityX;
  }

  ballVelocityY = shot.ballVelocityY;
  ballVelocityZ = shot.ballVelocityZ;
  carLocationX = shot.carLocationX;
  bool carFlipped = false;
  if (mirrorTheCar) {
    carFlipped = splitCar ? drawBit() : ballFlipped;
    if (carFlipped) carLocationX = -carLocationX;
  }

  carLocationY = shot.carLocationY;
  carLocationZ = shot.carLocationZ;
  int32_t ceilingDraw = 0;
  bool onCeiling = false;
  if (modifiersActive && makeCeiling) {
    ceilingDraw = drawNumber(0, kCeilingDrawMax);
    if (!randomizeSpawns || ceilingDraw == 1 || ceilingDraw == 2) {
      carLocationZ = kCeilingHeight;
      onCeiling = true;
    }
  }

  carYaw = addToYaw(shot.carYaw, ceilingDraw);
  if (mirrorTheCar && carFlipped) carYaw = mirrorYaw(carYaw);

  carPitch = shot.carPitch;
  carRoll = shot.carRoll;
  if (onCeiling) {
    carPitch = kCeilingPitch;
    carRoll = kCeilingRoll;
  }

  ballSpeed = shot.ballSpeed;
  currentShotName = underscoresToSpaces(shot.name);
}

void QMTraining::overrideShot() {
  if (!gameWrapper->GetCurrentGameState()) return;
  CVarWrapper fixedSpeed = cvarManager->getCvar("cool_speed");
  if (!fixedSpeed) return;
  int32_t speed = fixedSpeed.getIntValue();
  CVarWrapper selected = cvarManager->getCvar("shotNumber1");
  if (!selected) return;
  int32_t index = selected.getIntValue();
  if (index < 0 || static_cast<size_t>(index) >= shots.size()) return;
  // Like every shot save, this writes the fixed speed of "cool_speed", not
  // the working shot's ballSpeed. The listed shot changes only with its file.
  Shot updated = shots[static_cast<size_t>(index)];
  if (!updated.updateShot(ballLocationZ, ballLocationX, ballLocationY, ballVelocityX,
                          ballVelocityY, ballVelocityZ, carLocationX, carLocationY, carLocationZ,
                          carYaw, currentShotName, speed, carPitch, carRoll)) {
    logLine("Could not write shot file {}", updated.filePath);
    return;
  }
  shots[static_cast<size_t>(index)] = std::move(updated);
}
