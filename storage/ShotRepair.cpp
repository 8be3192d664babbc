#include "storage/ShotRepair.h"

#include <utility>

namespace {

// Nine zero floats and a zero yaw: with the usual speed such a shot may pass
// for a blank placeholder.
bool hasOnlyZeros(const Shot& shot) {
  for (float value : {shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
                      shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ,
                      shot.carLocationX, shot.carLocationY, shot.carLocationZ}) {
    if (value != 0.0f) return false;
  }
  return shot.carYaw == 0;
}

}  // namespace

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

ShotRead completeRead(Shot& shot, WriteAccess access, bool& unsaved) {
  unsaved = false;
  // Filled in before normalising, the missing values reach the file with
  // the rewrite that follows a rename. They do not change what normalising
  // decides, except a speed that would let an all-zero shot pass for a
  // blank placeholder (which it deletes): that one waits until after.
  bool filled = fillMissingRotations(shot);
  if (!hasOnlyZeros(shot)) filled = fillMissingSpeed(shot) || filled;
  const std::string listedPath = filled ? shot.filePath : std::string();
  const ShotRead read = shot.normalizeShotFile(access);
  if (read != ShotRead::kept) return read;
  // A file that normalising renamed was rewritten with what had been
  // filled in by then.
  bool unwritten = filled && shot.filePath == listedPath;
  if (fillMissingValues(shot)) unwritten = true;
  if (unwritten) {
    shot.name = underscoresToSpaces(std::move(shot.name));
    unsaved = !shot.saveShotFile();
  }
  return ShotRead::kept;
}

ShotRead readAsLoaded(Shot& shot, bool& unsaved) {
  unsaved = false;
  const ShotRead read = shot.readValues();
  return read == ShotRead::kept ? completeRead(shot, WriteAccess::unknown, unsaved) : read;
}

Status createRepairedCopy(const Shot& original, const std::string& folder, const std::string& name) {
  Shot values = original;
  fillMissingValues(values);
  return Shot().createShotFile(folder, values.ballLocationZ, values.ballLocationX,
                               values.ballLocationY, values.ballVelocityX, values.ballVelocityY,
                               values.ballVelocityZ, values.carLocationX, values.carLocationY,
                               values.carLocationZ, values.carYaw, name, values.ballSpeed,
                               values.carPitch, values.carRoll);
}

}  // namespace shotrepair
