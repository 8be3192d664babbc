// Attempts of shots: a press that places a shot of the loaded pack starts
// one; a goal in the +Y net makes it, and an own goal, the next press,
// leaving the match or "stats_attempt_seconds" of game time after the
// launch miss it. Each outcome updates the shot's results and its weight in
// "Focus on misses" (one walk of the picker's tree, never of the list), and
// an attempt that ended by itself may place the next shot on its own
// ("training_auto_next").

#include <ctime>

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "playback/WeightedDraw.h"

namespace {

std::string fileNameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

float setting(CVarManagerWrapper& cvars, const char* name, float fallback) {
  CVarWrapper variable = cvars.getCvar(name);
  return variable ? variable.getFloatValue() : fallback;
}

// The default of "stats_attempt_seconds", for a host that lacks it.
constexpr float kDefaultAttemptSeconds = 10;

uint64_t weightOf(const ShotResult* result) {
  return result ? missFocusWeight(result->recentAttempts(), result->recentMakes()) : missFocusWeight(0, 0);
}

}  // namespace

void QMTraining::onGoalScored() {
  if (!openAttempt) return;
  ServerWrapper server = gameWrapper->GetCurrentGameState();
  BallWrapper ball = server ? server.GetBall() : BallWrapper();
  // The hook runs with the ball past the line: its side tells the net.
  endAttempt(ball && ball.GetLocation().Y > 0, true);
}

void QMTraining::startAttempt(size_t shotIndex, float secondsToLaunch) {
  // The editor's working shot is not the file's until it is saved.
  if (editorOpen || shotIndex >= shots.size() || shots[shotIndex].filePath.empty()) return;
  const uint64_t press = latestPress;
  openAttempt = OpenAttempt{fileNameOf(shots[shotIndex].filePath), shotIndex, press};
  const float seconds = setting(*cvarManager, cvarname::statsAttemptSeconds, kDefaultAttemptSeconds);
  gameWrapper->SetTimeout(guarded("attempt", [this, press](GameWrapper*) {
                            if (openAttempt && openAttempt->press == press) endAttempt(false, true);
                          }),
                          secondsToLaunch + seconds);
}

void QMTraining::endAttempt(bool made, bool byItself) {
  if (!openAttempt) return;
  const OpenAttempt attempt = std::move(*openAttempt);
  openAttempt.reset();
  ShotResult& result = packResults[attempt.shotFile];
  result.record(made, static_cast<int64_t>(std::time(nullptr)));
  ++sessionAttempts;
  if (made) ++sessionMakes;
  // The shot is where the press found it unless the list changed since.
  size_t index = attempt.shotIndex;
  if (index >= shots.size() || fileNameOf(shots[index].filePath) != attempt.shotFile) {
    index = shots.size();
    for (size_t i = 0; i < shots.size(); ++i) {
      if (fileNameOf(shots[i].filePath) == attempt.shotFile) index = i;
    }
  }
  if (index < shots.size()) shotPicker.setWeight(index, weightOf(&result));
  resultsChanged = true;
  scheduleResultsFlush();

  const float autoNext = setting(*cvarManager, cvarname::trainingAutoNext, 0);
  if (!byItself || !(autoNext > 0)) return;
  const uint64_t request = ++autoNextRequest;
  gameWrapper->SetTimeout(guarded(commandname::controlInput,
                                  [this, request](GameWrapper*) {
                                    if (request == autoNextRequest) controlInput();
                                  }),
                          autoNext);
}

void QMTraining::applyLoadedResults(bool restoreMarks) {
  CVarWrapper remember = cvarManager->getCvar(cvarname::rememberTraining);
  restoreMarks = restoreMarks && remember && remember.getBoolValue();
  if (restoreMarks) shotSelections.assign(shots.size(), false);
  for (size_t i = 0; i < shots.size(); ++i) {
    const ShotResult* result = resultOf(i);
    shotPicker.setWeight(i, weightOf(result));
    if (restoreMarks && result) shotSelections[i] = result->ticked;
  }
}
