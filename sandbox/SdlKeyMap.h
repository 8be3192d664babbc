#pragma once
// SDL's keys, mouse buttons and game-controller buttons to the engine's key
// names (the names the host's "bind" command takes), for every key of the
// plug-in's keyboard and controller tables. Keyboard keys go by physical
// position (scancode), as the game reads them, so the keyboard layout does
// not change which name a key has.

#include <cstdint>
#include <optional>
#include <string_view>

// One input as SDL reports it.
struct SdlInput {
  enum class Device {
    Keyboard,           // code: SDL_Scancode
    MouseButton,        // code: SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_X1, ...
    MouseWheel,         // code: +1 a notch up (away from the player), -1 down
    ControllerButton,   // code: SDL_GameControllerButton
    ControllerTrigger,  // code: SDL_CONTROLLER_AXIS_TRIGGERLEFT or _TRIGGERRIGHT
  };
  Device device = Device::Keyboard;
  int code = 0;
  bool operator==(const SdlInput&) const = default;
};

// The engine's name for the input; empty when the engine has none in its
// tables (such as F1 or a controller's guide button).
std::string_view engineKeyName(SdlInput input);

// The input that has the name; none for a name no input has. Scripts use it
// to press a key through the window as a player would.
std::optional<SdlInput> sdlInputForKey(std::string_view engineName);

// A controller trigger is an axis; it counts as pressed once it passes half
// its travel and must come back under a quarter before it presses again, so
// a trigger resting near the threshold does not fire over and over.
struct TriggerLatch {
  bool down = false;
  // Takes the axis value (0 to 32767); true when this value presses it.
  bool update(int16_t value);
};
