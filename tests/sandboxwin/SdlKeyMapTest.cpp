// SDL's keys, mouse buttons and controller buttons to the engine's key names,
// and which presses reach the host's binds.

#include <SDL.h>
#include <gtest/gtest.h>

#include "sandbox/SdlKeyMap.h"
#include "sandbox/WindowHost.h"

namespace {

using Device = SdlInput::Device;

// Every table key going through the window is pinned with the window; these
// are the names a player could not guess, and inputs with no name.
TEST(SdlKeyMap, NamesInputsByPositionWithTheEngineNamesAndNoNameOutsideTheTables) {
  const std::pair<SdlInput, const char*> inputs[] = {
      {{Device::Keyboard, SDL_SCANCODE_Q}, "Q"},
      {{Device::Keyboard, SDL_SCANCODE_MINUS}, "Underscore"},
      {{Device::Keyboard, SDL_SCANCODE_APOSTROPHE}, "Quote"},
      {{Device::Keyboard, SDL_SCANCODE_KP_0}, "NumPadZero"},
      {{Device::Keyboard, SDL_SCANCODE_KP_PERIOD}, "Decimal"},
      {{Device::MouseButton, SDL_BUTTON_X1}, "ThumbMouseButton"},
      {{Device::MouseWheel, -1}, "MouseScrollDown"},
      {{Device::ControllerButton, SDL_CONTROLLER_BUTTON_BACK}, "XboxTypeS_Back"},
      {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}, "XboxTypeS_RightTrigger"},
      {{Device::Keyboard, SDL_SCANCODE_F1}, ""},
      {{Device::Keyboard, SDL_SCANCODE_KP_ENTER}, ""},
      {{Device::MouseButton, SDL_BUTTON_MIDDLE}, ""},
      {{Device::ControllerButton, SDL_CONTROLLER_BUTTON_GUIDE}, ""},
      {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_LEFTX}, ""},
  };
  for (const auto& [input, name] : inputs) EXPECT_EQ(engineKeyName(input), name) << name;
  EXPECT_FALSE(sdlInputForKey("F1"));
  EXPECT_FALSE(sdlInputForKey("backspace"));  // names are case-sensitive, as in the bind file
}

TEST(TriggerLatch, PressesOncePerPullPastHalfway) {
  TriggerLatch latch;
  const std::pair<int, bool> pull[] = {{16000, false}, {20000, true}, {32767, false}, {10000, false},
                                       {20000, false}, {5000, false},  {32767, true}};
  for (const auto& [axis, pressed] : pull) EXPECT_EQ(latch.update(axis), pressed) << axis;
}

TEST(InputRouting, BindsGetWhatThePluginAndTheTextFieldsDoNotWant) {
  const InputFocus nobody;
  const InputFocus pluginWants{true, true, true, false};
  const InputFocus hiddenPlugin{false, true, false, false};  // a hidden window's wishes do not count
  const InputFocus overPanel{false, false, true, false};
  const InputFocus typing{false, false, false, true};
  const std::tuple<Device, InputFocus, bool> presses[] = {
      {Device::Keyboard, nobody, true},        {Device::ControllerTrigger, nobody, true},
      {Device::Keyboard, pluginWants, false},  {Device::MouseWheel, pluginWants, false},
      {Device::Keyboard, hiddenPlugin, true},  {Device::Keyboard, overPanel, true},
      {Device::MouseButton, overPanel, false}, {Device::MouseWheel, overPanel, false},
      {Device::Keyboard, typing, false},       {Device::ControllerButton, typing, false},
      {Device::MouseButton, typing, true},
  };
  for (const auto& [device, focus, reaches] : presses) {
    EXPECT_EQ(pressReachesBinds(device, focus), reaches) << static_cast<int>(device);
  }
}

}  // namespace
