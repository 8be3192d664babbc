#include "storage/ShotRepair.h"

namespace shotrepair {

bool fillMissingRotations(Shot& shot) {
  bool filled = false;
  for (int32_t* angle : {&shot.carPitch, &shot.carRoll}) {
    if (*angle != shotfile::rotationAbsentMarker) continue;
    *angle = 0;
    filled = true;
  }
  return filled;
}

bool fillMissingSpeed(Shot& shot) {
  if (shot.ballSpeed != 0) return false;
  shot.ballSpeed = shotfile::defaultBallSpeed;
  return true;
}

bool fillMissingValues(Shot& shot) {
  const bool speed = fillMissingSpeed(shot);
  const bool rotations = fillMissingRotations(shot);
  return speed || rotations;
}

bool createRepairedCopy(const Shot& original, const std::string& folder, const std::string& name) {
  Shot values = original;
  fillMissingValues(values);
  return Shot().createShotFile(folder, values.ballLocationZ, values.ballLocationX,
                               values.ballLocationY, values.ballVelocityX, values.ballVelocityY,
                               values.ballVelocityZ, values.carLocationX, values.carLocationY,
                               values.carLocationZ, values.carYaw, name, values.ballSpeed,
                               values.carPitch, values.carRoll);
}

}  // namespace shotrepair
