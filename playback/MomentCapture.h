#pragma once
// A moment of play (MomentRing.h) in the shot editor's terms, so that it can
// become a shot: the ball's location and velocity as they were, each
// velocity component held within the editor's bounds (velocityClamped says
// when that changed one), the ball speed the length of the velocity held
// within the editor's speed range, the car's location as it was but at least
// the editor's lowest car height, and its rotation as the same angles within
// one turn, held within the editor's rotation bounds. A moment holding a
// value that is not finite is refused: no shot file takes it.
//
// Units: game units, units per second and engine rotation units (65536 a
// turn). Standard library only, no host.

#include <cstdint>
#include <string>

#include "playback/MomentRing.h"
#include "storage/Outcome.h"
#include "storage/Shot.h"

// The shot's values (no file, no name yet) and whether a velocity
// component was held.
struct CapturedShot : Shot {
  bool velocityClamped = false;
};

Outcome<CapturedShot> captureShot(const Moment& moment);

// An angle in engine units as the same angle within one turn,
// -32768..32767, then held within the editor's rotation bounds.
int32_t editorAngle(int32_t angle);

// What a capture says when it cannot be made, in the console and the
// window alike.
namespace capturemessages {

inline constexpr const char* online = "No shot can be captured in an online match";
inline constexpr const char* noMatch = "No shot can be captured: no local match is running";
inline constexpr const char* nothingRecorded = "No shot can be captured: nothing of this match is recorded yet";
inline constexpr const char* notFinite =
    "No shot can be captured from that moment: it holds a value that is not a number";
inline constexpr const char* velocityClamped =
    "The ball flew faster than the editor's range: its velocity is held within it";

}  // namespace capturemessages
