// The reset cycle: one press of the bound key replays the working shot (or,
// in training, the next selected shot, transformed by the active modifiers),
// with the chosen variance, and the two commands that copy a shot between
// the loaded pack and the working shot.

#include <cstdint>
#include <optional>
#include <utility>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "playback/ShotVariance.h"
#include "storage/StorageMessages.h"

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

// The variety settings; a variable the host lacks counts as its default.
TrainingOrder trainingOrderSetting(CVarManagerWrapper& cvars) {
  CVarWrapper order = cvars.getCvar(cvarname::trainingOrder);
  return order ? trainingOrderFromValue(order.getIntValue()) : TrainingOrder::Random;
}

float floatSetting(CVarManagerWrapper& cvars, const char* name) {
  CVarWrapper variable = cvars.getCvar(name);
  return variable ? variable.getFloatValue() : 0;
}

VarianceAmounts varianceSetting(CVarManagerWrapper& cvars) {
  return {floatSetting(cvars, cvarname::varianceLocation), floatSetting(cvars, cvarname::varianceDirection),
          floatSetting(cvars, cvarname::varianceSpeed)};
}

}  // namespace

void QMTraining::controlInput() {
  if (gameWrapper->IsInOnlineGame()) return;
  ServerWrapper server = gameWrapper->GetCurrentGameState();
  if (!server || !pluginEnabled) return;
  // A press cancels a pending automatic one and ends the attempt before it.
  ++autoNextRequest;
  endAttempt(false, false);

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

  // Variance shapes only what this press places and launches; the working
  // shot stays the stored one, for the editors and the next press.
  const VarianceAmounts variance = varianceSetting(*cvarManager);
  const BallStart stored{ballLocationX, ballLocationY, ballLocationZ, ballVelocityX, ballVelocityY, ballVelocityZ};
  BallStart start = varyBallStart(stored, variance, drawNumber);
  if (!isFinite(start)) {
    // The game must never be handed infinity: this press plays the shot as
    // stored, which a shot file only ever holds finite. Said once, not
    // again at the presses of the same shot that follow.
    if (unvariedShotReported != currentShotName) {
      logLine("Variance would launch {} beyond the game's largest speed; it plays without variance",
              currentShotName);
      unvariedShotReported = currentShotName;
    }
    start = stored;
  }
  moveCar();
  placeBallAt({start.locationX, start.locationY, start.locationZ});
  applyBallSpeed();
  // The launch runs its own guards again when the timeout fires: the match
  // or the switches may have changed in between. It launches only the ball
  // of the latest press: a press within an earlier one's delay has placed a
  // new ball, which waits for its own launch. Without variance it takes the
  // working shot's velocity as it is then; with variance, the flight this
  // press drew.
  const uint64_t press = ++latestPress;
  if (CVarWrapper selected = cvarManager->getCvar(cvarname::shotNumber1)) {
    const int32_t index = selected.getIntValue();
    if (index >= 0) startAttempt(static_cast<size_t>(index), kLaunchDelaySeconds);
  }
  const bool varied = variance.any();
  const Vector velocity{start.velocityX, start.velocityY, start.velocityZ};
  gameWrapper->SetTimeout(guarded(commandname::ballVelocity,
                                  [this, press, varied, velocity](GameWrapper*) {
                                    if (press != latestPress) return;
                                    if (varied) {
                                      launchBallWith(velocity);
                                    } else {
                                      launchBall();
                                    }
                                  }),
                          kLaunchDelaySeconds);
}

void QMTraining::pickNextShot() {
  if (gameWrapper->IsInOnlineGame()) return;
  if (!gameWrapper->GetCurrentGameState()) return;
  noShotSelected = false;
  CVarWrapper selected = cvarManager->getCvar(cvarname::shotNumber1);
  if (!selected) return;
  if (shotSelections.empty()) {
    logLine("emptyShotActive");
    return;
  }

  std::optional<size_t> next = shotPicker.next(shotSelections, trainingOrderSetting(*cvarManager), drawNumber);
  if (next) {
    selected.setValue(static_cast<int32_t>(*next));
  } else {
    // No flag is set: one draw over the whole list is still made, as part of
    // a press's sequence of draws, and the current shot is reloaded
    // unchanged.
    drawNumber(0, static_cast<int32_t>(shotSelections.size() - 1));
    noShotSelected = true;
  }
  loadSelectedShot();
}

void QMTraining::loadSelectedShot() {
  if (!gameWrapper->GetCurrentGameState()) return;
  CVarWrapper selected = cvarManager->getCvar(cvarname::shotNumber1);
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
  CVarWrapper fixedSpeed = cvarManager->getCvar(cvarname::coolSpeed);
  if (!fixedSpeed) return;
  int32_t speed = fixedSpeed.getIntValue();
  CVarWrapper selected = cvarManager->getCvar(cvarname::shotNumber1);
  if (!selected) return;
  int32_t index = selected.getIntValue();
  if (index < 0 || static_cast<size_t>(index) >= shots.size()) return;
  // Like every shot save, this writes the fixed speed of "cool_speed", not
  // the working shot's ballSpeed. The listed shot changes only with its file.
  Shot updated = shots[static_cast<size_t>(index)];
  // What the file held goes to the trash first; without that copy it stays.
  Outcome<std::optional<TrashEntry>> kept = keepBeforeOverwrite(updated);
  if (!kept) {
    logLine(storagemessages::overwriteRefused, updated.filePath, kept.error);
    return;
  }
  if (!updated.updateShot(ballLocationZ, ballLocationX, ballLocationY, ballVelocityX,
                          ballVelocityY, ballVelocityZ, carLocationX, carLocationY, carLocationZ,
                          carYaw, currentShotName, speed, carPitch, carRoll)) {
    logLine("Could not write shot file {}", updated.filePath);
    if (kept.value) removeTrashEntry(*kept.value);  // the file is as it was
    return;
  }
  shots[static_cast<size_t>(index)] = std::move(updated);
}
