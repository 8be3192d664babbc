#pragma once
// The shot editor opened by "Capture From Game": the moments it was opened
// on (kept as they were, while the game goes on), the moment the slider
// "Seconds ago" chose, and what the editor had to change or refuse in it.

#include <cstdint>

#include "playback/MomentRing.h"

struct CaptureState {
  MomentRing moments;
  float secondsAgo = 0;
  bool velocityClamped = false;  // the chosen moment's velocity was held within the editor's range
  bool refused = false;          // it holds a value that is not finite; the fields keep the last one taken
  int32_t speedBefore = 0;       // "cool_speed" before the capture, put back when the editor closes
};
