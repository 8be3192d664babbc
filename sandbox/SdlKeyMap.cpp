#include "sandbox/SdlKeyMap.h"

#include <SDL.h>

#include <array>

namespace {

using Device = SdlInput::Device;

struct Entry {
  SdlInput input;
  std::string_view name;
};

constexpr SdlInput key(SDL_Scancode code) { return {Device::Keyboard, code}; }
constexpr SdlInput mouse(int button) { return {Device::MouseButton, button}; }
constexpr SdlInput pad(SDL_GameControllerButton button) { return {Device::ControllerButton, button}; }

// Every engine name appears once; the order follows the plug-in's tables.
constexpr auto kEntries = std::to_array<Entry>({
    {key(SDL_SCANCODE_A), "A"}, {key(SDL_SCANCODE_B), "B"}, {key(SDL_SCANCODE_C), "C"},
    {key(SDL_SCANCODE_D), "D"}, {key(SDL_SCANCODE_E), "E"}, {key(SDL_SCANCODE_F), "F"},
    {key(SDL_SCANCODE_G), "G"}, {key(SDL_SCANCODE_H), "H"}, {key(SDL_SCANCODE_I), "I"},
    {key(SDL_SCANCODE_J), "J"}, {key(SDL_SCANCODE_K), "K"}, {key(SDL_SCANCODE_L), "L"},
    {key(SDL_SCANCODE_M), "M"}, {key(SDL_SCANCODE_N), "N"}, {key(SDL_SCANCODE_O), "O"},
    {key(SDL_SCANCODE_P), "P"}, {key(SDL_SCANCODE_Q), "Q"}, {key(SDL_SCANCODE_R), "R"},
    {key(SDL_SCANCODE_S), "S"}, {key(SDL_SCANCODE_T), "T"}, {key(SDL_SCANCODE_U), "U"},
    {key(SDL_SCANCODE_V), "V"}, {key(SDL_SCANCODE_W), "W"}, {key(SDL_SCANCODE_X), "X"},
    {key(SDL_SCANCODE_Y), "Y"}, {key(SDL_SCANCODE_Z), "Z"},
    {key(SDL_SCANCODE_ESCAPE), "Escape"}, {key(SDL_SCANCODE_TAB), "Tab"}, {key(SDL_SCANCODE_PAUSE), "Pause"},
    {key(SDL_SCANCODE_1), "1"}, {key(SDL_SCANCODE_2), "2"}, {key(SDL_SCANCODE_3), "3"},
    {key(SDL_SCANCODE_4), "4"}, {key(SDL_SCANCODE_5), "5"}, {key(SDL_SCANCODE_6), "6"},
    {key(SDL_SCANCODE_7), "7"}, {key(SDL_SCANCODE_8), "8"}, {key(SDL_SCANCODE_9), "9"},
    {key(SDL_SCANCODE_0), "0"},
    // The engine names the minus key after its shifted character.
    {key(SDL_SCANCODE_MINUS), "Underscore"}, {key(SDL_SCANCODE_EQUALS), "Equals"},
    {key(SDL_SCANCODE_BACKSLASH), "Backslash"}, {key(SDL_SCANCODE_BACKSPACE), "BackSpace"},
    {key(SDL_SCANCODE_LEFTBRACKET), "LeftBracket"}, {key(SDL_SCANCODE_RIGHTBRACKET), "RightBracket"},
    {key(SDL_SCANCODE_RETURN), "Enter"}, {key(SDL_SCANCODE_CAPSLOCK), "CapsLock"},
    {key(SDL_SCANCODE_SEMICOLON), "Semicolon"}, {key(SDL_SCANCODE_APOSTROPHE), "Quote"},
    {key(SDL_SCANCODE_LSHIFT), "LeftShift"}, {key(SDL_SCANCODE_COMMA), "Comma"},
    {key(SDL_SCANCODE_PERIOD), "Period"}, {key(SDL_SCANCODE_SLASH), "Slash"},
    {key(SDL_SCANCODE_RSHIFT), "RightShift"}, {key(SDL_SCANCODE_LCTRL), "LeftControl"},
    {key(SDL_SCANCODE_LALT), "LeftAlt"}, {key(SDL_SCANCODE_SPACE), "SpaceBar"},
    {key(SDL_SCANCODE_RALT), "RightAlt"}, {key(SDL_SCANCODE_RCTRL), "RightControl"},
    {key(SDL_SCANCODE_LEFT), "Left"}, {key(SDL_SCANCODE_UP), "Up"}, {key(SDL_SCANCODE_DOWN), "Down"},
    {key(SDL_SCANCODE_RIGHT), "Right"}, {key(SDL_SCANCODE_HOME), "Home"}, {key(SDL_SCANCODE_END), "End"},
    {key(SDL_SCANCODE_INSERT), "Insert"}, {key(SDL_SCANCODE_PAGEUP), "PageUp"},
    {key(SDL_SCANCODE_DELETE), "Delete"}, {key(SDL_SCANCODE_PAGEDOWN), "PageDown"},
    {key(SDL_SCANCODE_NUMLOCKCLEAR), "NumLock"},
    {key(SDL_SCANCODE_KP_1), "NumPadOne"}, {key(SDL_SCANCODE_KP_2), "NumPadTwo"},
    {key(SDL_SCANCODE_KP_3), "NumPadThree"}, {key(SDL_SCANCODE_KP_4), "NumPadFour"},
    {key(SDL_SCANCODE_KP_5), "NumPadFive"}, {key(SDL_SCANCODE_KP_6), "NumPadSix"},
    {key(SDL_SCANCODE_KP_7), "NumPadSeven"}, {key(SDL_SCANCODE_KP_8), "NumPadEight"},
    {key(SDL_SCANCODE_KP_9), "NumPadNine"}, {key(SDL_SCANCODE_KP_0), "NumPadZero"},
    {key(SDL_SCANCODE_KP_PERIOD), "Decimal"},
    {mouse(SDL_BUTTON_LEFT), "LeftMouseButton"}, {mouse(SDL_BUTTON_RIGHT), "RightMouseButton"},
    {mouse(SDL_BUTTON_X1), "ThumbMouseButton"}, {mouse(SDL_BUTTON_X2), "ThumbMouseButton2"},
    {{Device::MouseWheel, 1}, "MouseScrollUp"}, {{Device::MouseWheel, -1}, "MouseScrollDown"},

    {pad(SDL_CONTROLLER_BUTTON_LEFTSTICK), "XboxTypeS_LeftThumbStick"},
    {pad(SDL_CONTROLLER_BUTTON_RIGHTSTICK), "XboxTypeS_RightThumbStick"},
    {pad(SDL_CONTROLLER_BUTTON_START), "XboxTypeS_Start"}, {pad(SDL_CONTROLLER_BUTTON_Y), "XboxTypeS_Y"},
    {pad(SDL_CONTROLLER_BUTTON_X), "XboxTypeS_X"}, {pad(SDL_CONTROLLER_BUTTON_B), "XboxTypeS_B"},
    {pad(SDL_CONTROLLER_BUTTON_A), "XboxTypeS_A"},
    {pad(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), "XboxTypeS_LeftShoulder"},
    {pad(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), "XboxTypeS_RightShoulder"},
    {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_TRIGGERLEFT}, "XboxTypeS_LeftTrigger"},
    {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}, "XboxTypeS_RightTrigger"},
    {pad(SDL_CONTROLLER_BUTTON_BACK), "XboxTypeS_Back"},
    {pad(SDL_CONTROLLER_BUTTON_DPAD_UP), "XboxTypeS_DPad_Up"},
    {pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN), "XboxTypeS_DPad_Down"},
    {pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT), "XboxTypeS_DPad_Left"},
    {pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), "XboxTypeS_DPad_Right"},
});

constexpr int16_t kTriggerPress = 16384;
constexpr int16_t kTriggerRelease = 8192;

}  // namespace

std::string_view engineKeyName(SdlInput input) {
  for (const Entry& entry : kEntries) {
    if (entry.input == input) return entry.name;
  }
  return {};
}

std::optional<SdlInput> sdlInputForKey(std::string_view engineName) {
  for (const Entry& entry : kEntries) {
    if (entry.name == engineName) return entry.input;
  }
  return std::nullopt;
}

bool TriggerLatch::update(int16_t value) {
  if (!down && value >= kTriggerPress) {
    down = true;
    return true;
  }
  if (down && value < kTriggerRelease) down = false;
  return false;
}
