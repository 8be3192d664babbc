#pragma once
// The shot preview: the field from above and from the side, to scale, with
// the ball's start, its foretold flight for the first seconds (a point every
// tenth of a second) and an arrow for its launch velocity, the car as an
// arrowhead along its yaw (hollow and crossed when upside down), and under
// the views the lines "Apex: N" (the highest ball height, whole units) and
// "Lands: X x, Y y" (where the ball first reaches the floor, also marked
// with a cross from above) or "Lands: not within 3 s", and the legend of
// the nets ("orange net: +Y", "blue net: -Y", each in its net's colour). A ball that cannot be placed (a start that is not
// a number) shows "Apex: unknown" and "Lands: unknown".
//
// It draws what it is given with the window's draw list; where the flight
// goes is the flight library's (flight/FlightPrediction.h).

#include <imgui.h>

#include <cstdint>
#include <string>

#include "flight/FlightPrediction.h"

struct PreviewCar {
  flight::Vec3 location;
  int32_t yaw = 0;
  int32_t pitch = 0;
  int32_t roll = 0;
};

// A shot as the preview shows it, from anything that holds a shot's values
// under their usual names (a stored Shot, the working shot), with the
// target speed the god ball will hold (0: none).
struct PreviewedShot {
  flight::Launch ball;
  PreviewCar car;
};
template <typename ShotValues>
PreviewedShot previewedShot(const ShotValues& shot, float heldSpeed) {
  return {{{shot.ballLocationX, shot.ballLocationY, shot.ballLocationZ},
           {shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ},
           heldSpeed},
          {{shot.carLocationX, shot.carLocationY, shot.carLocationZ}, shot.carYaw, shot.carPitch, shot.carRoll}};
}

// The target speed a reset gives the god ball, as the speed command does:
// the shot's own speed when "speed_enabled" is 1, the fixed "cool_speed"
// when it is 2. Otherwise the ball keeps whatever it
// held, which a preview cannot know: none.
float heldSpeedFor(int32_t speedMode, int32_t shotSpeed, int32_t fixedSpeed);

std::string apexText(const flight::FlightPrediction& flight);
std::string landsText(const flight::FlightPrediction& flight);

// Draws the preview in a panel of `size` pixels at the cursor, which then
// moves past the panel as past any item.
void drawShotPreview(const flight::FlightPrediction& flight, const PreviewCar& car, ImVec2 size);
// The same panel with no shot: the field alone, no lines.
void drawEmptyPreview(ImVec2 size);
