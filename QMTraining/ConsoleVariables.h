#pragma once
// The names the plug-in gives the host's console, each spelled once: the
// console variables (registered in Registration.cpp, read wherever a setting
// is needed), the commands, the values of "speed_enabled", and the ranges
// the editors and settings offer. A misspelt name is then a compile error,
// never a setting that silently does nothing.

#include <cstdint>

namespace cvarname {

inline constexpr const char* quellmarkEnabled = "quellmark_enabled";
inline constexpr const char* ballSpeed = "ball_speed";
inline constexpr const char* ballLocation = "ball_location";
inline constexpr const char* coolHeight = "cool_height";
inline constexpr const char* coolLength = "cool_length";
inline constexpr const char* coolWidth = "cool_width";
inline constexpr const char* coolSpeedX = "cool_speedx";
inline constexpr const char* coolSpeedY = "cool_speedy";
inline constexpr const char* coolSpeedZ = "cool_speedz";
inline constexpr const char* carEnabled = "car_enabled";
inline constexpr const char* carLocation = "car_location";
inline constexpr const char* carRotation = "car_rotation";
inline constexpr const char* carZ = "carZ";
inline constexpr const char* carX = "carX";
inline constexpr const char* carY = "carY";
inline constexpr const char* carYaw = "carYaw";
inline constexpr const char* carPitch = "carPitch";
inline constexpr const char* carRoll = "carRoll";
inline constexpr const char* trainingPackNum = "TrainingPackNum";
inline constexpr const char* speedEnabled = "speed_enabled";
inline constexpr const char* coolSpeed = "cool_speed";
inline constexpr const char* coolShotName = "cool_shotname";
inline constexpr const char* shotNumber1 = "shotNumber1";
inline constexpr const char* trainingOrder = "training_order";
inline constexpr const char* varianceLocation = "variance_location";
inline constexpr const char* varianceDirection = "variance_direction";
inline constexpr const char* varianceSpeed = "variance_speed";
// Attempts and results: how long an attempt lasts after the launch, the
// automatic next press, and whether the training marks and the pack are
// remembered across restarts (the pack by the name kept in lastTrainingPack).
inline constexpr const char* statsAttemptSeconds = "stats_attempt_seconds";
inline constexpr const char* trainingAutoNext = "training_auto_next";
inline constexpr const char* rememberTraining = "remember_training";
inline constexpr const char* lastTrainingPack = "last_training_pack";

}  // namespace cvarname

namespace commandname {

inline constexpr const char* controlInput = "controlInput";
inline constexpr const char* ballMove = "BallMove";
inline constexpr const char* carMove = "CarMove";
inline constexpr const char* ballVelocity = "BallVelocity";
inline constexpr const char* overideShot = "OverideShot";
inline constexpr const char* loadShot = "LoadShot";
inline constexpr const char* ballSpeed = "BallSpeed";
inline constexpr const char* exportPack = "ExportPack";
inline constexpr const char* importPack = "ImportPack";
inline constexpr const char* shotStats = "ShotStats";
inline constexpr const char* resetShotStats = "ResetShotStats";
inline constexpr const char* restoreLast = "RestoreLast";
inline constexpr const char* captureShot = "CaptureShot";

}  // namespace commandname

// The values of "speed_enabled": what a reset does with the god ball's
// target speed.
enum class SpeedMode : int32_t {
  NoReset = 0,
  FromShot = 1,  // the shot's own speed
  Fixed = 2,     // the speed of "cool_speed"
};

// What the shot editors and the settings offer, in game units (speeds in
// units per second, rotations in engine units).
namespace editorrange {

inline constexpr int32_t minBallSpeed = 2985;
inline constexpr int32_t maxBallSpeed = 4600;
inline constexpr float maxBallVelocity = 6000;  // each component, either sign
inline constexpr float minCarZ = 10;
inline constexpr float maxCarZ = 2024;
inline constexpr int32_t maxRotation = 32764;  // yaw, pitch and roll, either sign
inline constexpr float minAttemptSeconds = 1;
inline constexpr float maxAttemptSeconds = 60;
inline constexpr float maxAutoNextSeconds = 10;

}  // namespace editorrange
