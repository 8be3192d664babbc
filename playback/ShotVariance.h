#pragma once
// Variance: the same shot a little different on every press, so a player
// learns to read the ball instead of one trajectory. It moves the ball's
// start, turns its flight about the vertical axis and scales its speed; the
// car is left alone.

#include <cstdint>

#include "playback/RandomDraws.h"

// How much variance, from the console variables of the same meaning. Each is
// held to its range, and 0 (or anything not above 0) switches it off.
struct VarianceAmounts {
  float locationUnits = 0;     // "variance_location": 0..1000 game units
  float directionDegrees = 0;  // "variance_direction": 0..45 degrees
  float speedPercent = 0;      // "variance_speed": 0..50 percent

  // False when all three are off: the ball starts exactly as stored.
  bool any() const;
};

inline constexpr float maxLocationVariance = 1000;
inline constexpr float maxDirectionVariance = 45;
inline constexpr float maxSpeedVariance = 50;

// Where the ball starts and how it flies off, in game units.
struct BallStart {
  float locationX = 0;
  float locationY = 0;
  float locationZ = 0;
  float velocityX = 0;
  float velocityY = 0;
  float velocityZ = 0;
};

// The editors' ranges, which a moved ball is held within.
inline constexpr float maxBallX = 4096;
inline constexpr float maxBallY = 5120;

// One variance draw is a whole number over -varianceSteps..varianceSteps,
// read as that fraction of the amount: uniform over [-amount, +amount].
inline constexpr int32_t varianceSteps = 1000000;

// `ball` with variance applied. Only an amount that is on draws, in this
// order:
//   location:  X, then Y, each moved by its own draw in [-v, +v], then held
//              within +-maxBallX, +-maxBallY; Z is kept;
//   direction: the velocity turned about the vertical axis by an angle in
//              [-d, +d] (counter-clockwise seen from above for a positive
//              draw); its vertical part and its length are kept;
//   speed:     the whole velocity scaled by a factor in [1 - s/100, 1 + s/100].
// An amount that is off leaves its part exactly as it was. A stored velocity
// near the float limit (a shot file may hold any finite float) can come out
// turned or scaled to infinity: check the result with isFinite.
BallStart varyBallStart(BallStart ball, VarianceAmounts amounts, const DrawNumber& draw);

// True when every part of `ball` is a finite number, one the game can take.
bool isFinite(const BallStart& ball);
