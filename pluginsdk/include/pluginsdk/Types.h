#pragma once
// Plain value types the host uses for positions and rotations.

#include <cstdint>

// Game units: the field spans x in [-4096, 4096], y in [-5120, 5120],
// z in [0, 2044] (floor to ceiling).
struct Vector {
  float X = 0;
  float Y = 0;
  float Z = 0;
};

// Engine rotation units: 65536 units make a full turn, so 16384 is a quarter
// turn and 32768 a half turn.
struct Rotator {
  int32_t Pitch = 0;
  int32_t Yaw = 0;
  int32_t Roll = 0;
};
