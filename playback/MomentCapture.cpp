#include "playback/MomentCapture.h"

#include <algorithm>
#include <cmath>

#include "QMTraining/ConsoleVariables.h"

namespace {

bool allFinite(const std::array<float, 3>& values) {
  return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

}  // namespace

int32_t editorAngle(int32_t angle) {
  // The low 16 bits are the angle within a turn; read as signed they give it
  // in -32768..32767.
  const auto withinTurn = static_cast<int32_t>(static_cast<int16_t>(static_cast<uint16_t>(angle & 0xFFFF)));
  return std::clamp(withinTurn, -editorrange::maxRotation, editorrange::maxRotation);
}

Outcome<CapturedShot> captureShot(const Moment& moment) {
  if (!allFinite(moment.ballLocation) || !allFinite(moment.ballVelocity) || !allFinite(moment.carLocation)) {
    return Outcome<CapturedShot>::failure(capturemessages::notFinite);
  }
  CapturedShot shot;
  shot.ballLocationX = moment.ballLocation[0];
  shot.ballLocationY = moment.ballLocation[1];
  shot.ballLocationZ = moment.ballLocation[2];
  float* velocity[] = {&shot.ballVelocityX, &shot.ballVelocityY, &shot.ballVelocityZ};
  double squaredSpeed = 0;
  for (size_t axis = 0; axis < 3; ++axis) {
    const float v = moment.ballVelocity[axis];
    squaredSpeed += double{v} * v;
    *velocity[axis] = std::clamp(v, -editorrange::maxBallVelocity, editorrange::maxBallVelocity);
    shot.velocityClamped = shot.velocityClamped || *velocity[axis] != v;
  }
  // The god ball holds the speed it flew at; the replayed shot holds the same.
  const double speed = std::round(std::sqrt(squaredSpeed));
  shot.ballSpeed = static_cast<int32_t>(
      std::clamp(speed, double{editorrange::minBallSpeed}, double{editorrange::maxBallSpeed}));
  shot.carLocationX = moment.carLocation[0];
  shot.carLocationY = moment.carLocation[1];
  shot.carLocationZ = std::max(moment.carLocation[2], editorrange::minCarZ);
  shot.carPitch = editorAngle(moment.carRotation[0]);
  shot.carYaw = editorAngle(moment.carRotation[1]);
  shot.carRoll = editorAngle(moment.carRotation[2]);
  return Outcome<CapturedShot>::success(shot);
}
