// Capturing shots from the game: every tick of a local match leaves its
// moment in the ring of the last ten seconds, and "CaptureShot" (or the
// window's "Capture From Game") turns one of those moments into a shot.

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "storage/PackPaths.h"
#include "storage/StorageMessages.h"

namespace {

constexpr const char* usage = "Usage: CaptureShot [SECONDS_AGO] [NAME], SECONDS_AGO from 0 to 10";

std::array<float, 3> components(const Vector& v) { return {v.X, v.Y, v.Z}; }

// The whole word read as a number (not necessarily a finite one).
bool readsAsNumber(const std::string& word, double& value) {
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  return error == std::errc() && stop == end;
}

}  // namespace

void QMTraining::recordMoment() {
  if (gameWrapper->IsInOnlineGame()) return;
  ServerWrapper server = gameWrapper->GetCurrentGameState();
  if (!server) return;
  BallWrapper ball = server.GetBall();
  CarWrapper car = server.GetGameCar();
  if (!ball || !car) return;
  Moment moment;
  moment.time = server.GetSecondsElapsed();
  moment.ballLocation = components(ball.GetLocation());
  moment.ballVelocity = components(ball.GetVelocity());
  moment.carLocation = components(car.GetLocation());
  const Rotator rotation = car.GetRotation();
  moment.carRotation = {rotation.Pitch, rotation.Yaw, rotation.Roll};
  moments.record(moment);
}

const char* QMTraining::captureUnavailable() {
  if (gameWrapper->IsInOnlineGame()) return capturemessages::online;
  if (!gameWrapper->GetCurrentGameState()) return capturemessages::noMatch;
  if (moments.empty()) return capturemessages::nothingRecorded;
  return nullptr;
}

Status QMTraining::saveCapturedShot(int32_t packIndex, const CapturedShot& shot, const std::string& name) {
  const std::string* pack = packAt(trainingPacks, packIndex);
  if (!pack) return Status::failure(storagemessages::packGone);
  Status created = Shot().createShotFile(
      packFolderPath(dataFolderPath(), *pack) + "/", shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
      shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ, shot.carLocationX, shot.carLocationY,
      shot.carLocationZ, shot.carYaw, name, shot.ballSpeed, shot.carPitch, shot.carRoll);
  if (created) loadPackShots(packIndex);
  return created;
}

std::string QMTraining::nextCapturedName() const {
  for (size_t number = 1;; ++number) {
    std::string name = "Captured " + std::to_string(number);
    bool taken = false;
    for (const Shot& shot : shots) taken = taken || shot.displayName() == name;
    if (!taken) return name;
  }
}

void QMTraining::captureShotCommand(const std::vector<std::string>& arguments) {
  runStartUpWork();
  double secondsAgo = 0;
  size_t nameFrom = 1;
  if (arguments.size() > 1 && readsAsNumber(arguments[1], secondsAgo)) {
    if (!(secondsAgo >= 0 && secondsAgo <= MomentRing::keptSeconds)) {
      logLine(std::string(usage));
      return;
    }
    nameFrom = 2;
  }
  if (const char* why = captureUnavailable()) {
    logLine(std::string(why));
    return;
  }
  const Outcome<CapturedShot> shot = captureShot(*moments.at(secondsAgo));
  if (!shot) {
    logLine(shot.error);
    return;
  }
  std::string name;
  for (size_t i = nameFrom; i < arguments.size(); ++i) name += (name.empty() ? "" : " ") + arguments[i];
  if (name.empty()) name = nextCapturedName();
  CVarWrapper packNumber = cvarManager->getCvar(cvarname::trainingPackNum);
  const int32_t pack = packNumber ? packNumber.getIntValue() : -1;
  const Status saved = saveCapturedShot(pack, shot.value, name);
  if (!saved) {
    logLine("Could not capture the shot {}: {}", name, saved.error);
    return;
  }
  logLine("Captured the shot {} from {:g} seconds ago{}", name, secondsAgo,
          shot.value.velocityClamped ? std::string("; ") + capturemessages::velocityClamped : std::string());
}
