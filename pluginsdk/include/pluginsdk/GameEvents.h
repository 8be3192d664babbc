#pragma once
// The names of the game events a plug-in hooks with GameWrapper::HookEvent.
// A port to another host changes them here and nowhere else.

namespace gameevents {

// The ball's centre crossed a goal line inside the goal mouth. The hook runs
// with the ball already past the line, so its location tells which net.
inline constexpr const char* goalScored = "Game.GoalScored";
// Once every game tick of a local match, after the world has moved.
inline constexpr const char* tick = "Game.Tick";
// The local match ended (left, or another match started in its place).
inline constexpr const char* matchEnded = "Game.MatchEnded";

}  // namespace gameevents
