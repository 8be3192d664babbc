// The console commands and variables the plug-in offers the host, in the
// order the host lists them.

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
  command("controlInput", &QMTraining::controlInput);
  command("BallMove", &QMTraining::moveBall);
  command("CarMove", &QMTraining::moveCar);
  command("BallVelocity", &QMTraining::launchBall);
  command("OverideShot", &QMTraining::overrideShot);
  command("LoadShot", &QMTraining::loadSelectedShot);
  command("BallSpeed", &QMTraining::applyBallSpeed);

  // Commands that take what follows their name.
  auto commandWithArgument = [&](const char* name,
                                 void (QMTraining::*method)(const std::vector<std::string>&)) {
    notifier(name, [this, method](std::vector<std::string> words) { (this->*method)(words); });
  };
  commandWithArgument("ExportPack", &QMTraining::exportPackCommand);
  commandWithArgument("ImportPack", &QMTraining::importPackCommand);
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

  bounded("quellmark_enabled", "0", "Enable Quellmark", 0, 1)
      .addOnValueChanged([this](std::string, CVarWrapper cvar) { pluginEnabled = cvar.getBoolValue(); });
  bounded("ball_speed", "(-6000.0, 6000)", "Velocity of the ball", 0, 6000);
  bounded("ball_location", "(0,6000)", "Location of the ball", 0, 6000);
  unbounded("cool_height", "2044.0", "height to place the ball");
  unbounded("cool_length", "4096.0", "length to place the ball");
  unbounded("cool_width", "5120.0", "width to place the ball");
  unbounded("cool_speedx", "6000.0", "set x value of speed of the ball");
  unbounded("cool_speedy", "6000.0", "set y value of speed of the ball");
  unbounded("cool_speedz", "6000.0", "set z value of speed of the ball");
  bounded("car_enabled", "0", "Enable Car Location Reset", 0, 1)
      .addOnValueChanged([this](std::string, CVarWrapper cvar) { carResetEnabled = cvar.getBoolValue(); });
  bounded("car_location", "(0,6000)", "Location of the car", 0, 6000);
  bounded("car_rotation", "(0,6000)", "Location of the car", 0, 6000);
  unbounded("carZ", "10.0", "height to place the car");
  unbounded("carX", "4096.0", "length to place the car");
  unbounded("carY", "5120.0", "width to place the car");
  unbounded("carYaw", "2000", "Yaw of the car");
  unbounded("carPitch", "2000", "Pitch of the car");
  unbounded("carRoll", "2000", "Roll of the car");
  unbounded("TrainingPackNum", "0", "Which Training Pack is active");
  unbounded("speed_enabled", "1", "What speed value for a shot should it use");
  unbounded("cool_speed", "3000", "speed of the ball");
  unbounded("cool_shotname", "Shot 1", "Name of shot 1");
  unbounded("shotNumber1", "1", "What shot was selected");

  // Training variety: the order of the selected shots and the variance of
  // each press. At their defaults a press plays as it always has.
  bounded("training_order", "0", "Order of the training shots: 0 random, 1 each once per round, 2 in list order",
          0, 2);
  bounded("variance_location", "0", "Ball start moved by up to this many units on X and Y", 0,
          maxLocationVariance);
  bounded("variance_direction", "0", "Ball flight turned by up to this many degrees", 0, maxDirectionVariance);
  bounded("variance_speed", "0", "Ball speed changed by up to this many percent", 0, maxSpeedVariance);
}
