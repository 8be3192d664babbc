// The console commands and variables the plug-in offers the host, in the
// order the host lists them.

#include "QMTraining/ConsoleVariables.h"
#include "QMTraining/Guard.h"
#include "QMTraining/QMTraining.h"
#include "playback/ShotVariance.h"

namespace {

// A registered variable whose value-changed callbacks reach the host guarded.
class RegisteredCvar {
 public:
  explicit RegisteredCvar(CVarWrapper cvar) : cvar_(cvar) {}

  template <typename Callback>
  RegisteredCvar& addOnValueChanged(Callback callback) {
    cvar_.addOnValueChanged(guarded(cvar_.getName(), std::move(callback)));
    return *this;
  }

 private:
  CVarWrapper cvar_;
};

}  // namespace

void QMTraining::registerNotifiers() {
  // Every command reaches the host guarded.
  auto notifier = [this](const char* name, auto callback) {
    cvarManager->registerNotifier(name, guarded(name, std::move(callback)), "", 0);
  };
  // These work on the loaded pack or the working shot it gives, so the
  // first of them does the start-up work the window has not done yet.
  auto command = [&](const char* name, void (QMTraining::*method)()) {
    notifier(name, [this, method](std::vector<std::string>) {
      runStartUpWork();
      (this->*method)();
    });
  };
  command(commandname::controlInput, &QMTraining::controlInput);
  command(commandname::ballMove, &QMTraining::moveBall);
  command(commandname::carMove, &QMTraining::moveCar);
  command(commandname::ballVelocity, &QMTraining::launchBall);
  command(commandname::overideShot, &QMTraining::overrideShot);
  command(commandname::loadShot, &QMTraining::loadSelectedShot);
  command(commandname::ballSpeed, &QMTraining::applyBallSpeed);
  command(commandname::shotStats, &QMTraining::shotStatsCommand);
  command(commandname::resetShotStats, &QMTraining::resetShotStatsCommand);

  // Commands that take what follows their name.
  auto commandWithArgument = [&](const char* name,
                                 void (QMTraining::*method)(const std::vector<std::string>&)) {
    notifier(name, [this, method](std::vector<std::string> words) { (this->*method)(words); });
  };
  commandWithArgument(commandname::exportPack, &QMTraining::exportPackCommand);
  commandWithArgument(commandname::importPack, &QMTraining::importPackCommand);
  // It changes the pack list and reloads the current pack, which needs the
  // start-up work done.
  command(commandname::restoreLast, &QMTraining::restoreLast);
  commandWithArgument(commandname::captureShot, &QMTraining::captureShotCommand);
}

void QMTraining::registerCvars() {
  // Every variable is searchable and saved with the host's configuration.
  auto unbounded = [this](const char* name, const char* value, const char* description) {
    return RegisteredCvar(
        cvarManager->registerCvar(name, value, description, true, false, 0, false, 0, true));
  };
  auto bounded = [this](const char* name, const char* value, const char* description, float min,
                        float max) {
    return RegisteredCvar(
        cvarManager->registerCvar(name, value, description, true, true, min, true, max, true));
  };

  bounded(cvarname::quellmarkEnabled, "0", "Enable Quellmark", 0, 1)
      .addOnValueChanged([this](std::string, CVarWrapper cvar) { pluginEnabled = cvar.getBoolValue(); });
  bounded(cvarname::ballSpeed, "(-6000.0, 6000)", "Velocity of the ball", 0, 6000);
  bounded(cvarname::ballLocation, "(0,6000)", "Location of the ball", 0, 6000);
  unbounded(cvarname::coolHeight, "2044.0", "height to place the ball");
  unbounded(cvarname::coolLength, "4096.0", "length to place the ball");
  unbounded(cvarname::coolWidth, "5120.0", "width to place the ball");
  unbounded(cvarname::coolSpeedX, "6000.0", "set x value of speed of the ball");
  unbounded(cvarname::coolSpeedY, "6000.0", "set y value of speed of the ball");
  unbounded(cvarname::coolSpeedZ, "6000.0", "set z value of speed of the ball");
  bounded(cvarname::carEnabled, "0", "Enable Car Location Reset", 0, 1)
      .addOnValueChanged([this](std::string, CVarWrapper cvar) { carResetEnabled = cvar.getBoolValue(); });
  bounded(cvarname::carLocation, "(0,6000)", "Location of the car", 0, 6000);
  bounded(cvarname::carRotation, "(0,6000)", "Location of the car", 0, 6000);
  unbounded(cvarname::carZ, "10.0", "height to place the car");
  unbounded(cvarname::carX, "4096.0", "length to place the car");
  unbounded(cvarname::carY, "5120.0", "width to place the car");
  unbounded(cvarname::carYaw, "2000", "Yaw of the car");
  unbounded(cvarname::carPitch, "2000", "Pitch of the car");
  unbounded(cvarname::carRoll, "2000", "Roll of the car");
  unbounded(cvarname::trainingPackNum, "0", "Which Training Pack is active");
  unbounded(cvarname::speedEnabled, "1", "What speed value for a shot should it use");
  unbounded(cvarname::coolSpeed, "3000", "speed of the ball");
  unbounded(cvarname::coolShotName, "Shot 1", "Name of shot 1");
  unbounded(cvarname::shotNumber1, "1", "What shot was selected");

  // Training variety: the order of the selected shots and the variance of
  // each press. At their defaults a press plays as it always has.
  bounded(cvarname::trainingOrder, "0",
          "Order of the training shots: 0 random, 1 each once per round, 2 in list order, 3 focus on misses", 0, 3);
  bounded(cvarname::varianceLocation, "0", "Ball start moved by up to this many units on X and Y", 0,
          maxLocationVariance);
  bounded(cvarname::varianceDirection, "0", "Ball flight turned by up to this many degrees", 0, maxDirectionVariance);
  bounded(cvarname::varianceSpeed, "0", "Ball speed changed by up to this many percent", 0, maxSpeedVariance);

  // Attempts and results. At their defaults a start-up and a press behave
  // as they always have.
  bounded(cvarname::statsAttemptSeconds, "10", "Seconds of game time after the launch an attempt lasts",
          editorrange::minAttemptSeconds, editorrange::maxAttemptSeconds);
  bounded(cvarname::trainingAutoNext, "0", "Seconds after a goal or a timed-out attempt until the next shot; 0 off",
          0, editorrange::maxAutoNextSeconds);
  bounded(cvarname::rememberTraining, "0", "Keep the ticked shots and the current pack across restarts", 0, 1);
  unbounded(cvarname::lastTrainingPack, "", "The pack current when the plug-in last ran");
}
