#include "playback/ShotVariance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

float heldToRange(float amount, float max) {
  if (!(amount > 0)) return 0;  // also NaN
  return std::min(amount, max);
}

// A fraction in [-1, 1], drawn.
double drawFraction(const DrawNumber& draw) {
  int32_t steps = std::clamp(draw(-varianceSteps, varianceSteps), -varianceSteps, varianceSteps);
  return static_cast<double>(steps) / varianceSteps;
}

float moved(float value, double amount, const DrawNumber& draw, float limit) {
  double result = static_cast<double>(value) + amount * drawFraction(draw);
  return static_cast<float>(std::clamp(result, -static_cast<double>(limit), static_cast<double>(limit)));
}

}  // namespace

bool VarianceAmounts::any() const {
  return heldToRange(locationUnits, maxLocationVariance) > 0 ||
         heldToRange(directionDegrees, maxDirectionVariance) > 0 ||
         heldToRange(speedPercent, maxSpeedVariance) > 0;
}

bool isFinite(const BallStart& ball) {
  for (float value : {ball.locationX, ball.locationY, ball.locationZ, ball.velocityX, ball.velocityY,
                      ball.velocityZ}) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

BallStart varyBallStart(BallStart ball, VarianceAmounts amounts, const DrawNumber& draw) {
  const double location = heldToRange(amounts.locationUnits, maxLocationVariance);
  const double direction = heldToRange(amounts.directionDegrees, maxDirectionVariance);
  const double speed = heldToRange(amounts.speedPercent, maxSpeedVariance);

  if (location > 0) {
    ball.locationX = moved(ball.locationX, location, draw, maxBallX);
    ball.locationY = moved(ball.locationY, location, draw, maxBallY);
  }
  if (direction > 0) {
    const double angle = direction * drawFraction(draw) * std::numbers::pi / 180;
    const double x = ball.velocityX;
    const double y = ball.velocityY;
    ball.velocityX = static_cast<float>(x * std::cos(angle) - y * std::sin(angle));
    ball.velocityY = static_cast<float>(x * std::sin(angle) + y * std::cos(angle));
  }
  if (speed > 0) {
    const double factor = 1 + speed / 100 * drawFraction(draw);
    ball.velocityX = static_cast<float>(ball.velocityX * factor);
    ball.velocityY = static_cast<float>(ball.velocityY * factor);
    ball.velocityZ = static_cast<float>(ball.velocityZ * factor);
  }
  return ball;
}
