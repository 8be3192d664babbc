// The window's parts that need no display: SDL's inputs to engine key names,
// and which presses reach the binds.

#include <SDL.h>
#include <gtest/gtest.h>

#include "sandbox/SdlKeyMap.h"
#include "sandbox/WindowHost.h"

namespace {

using Device = SdlInput::Device;

// Every table key is sent through the window in WindowHostTest; these are
// names a player could not guess, and inputs with no name.
TEST(SdlKeyMap, NamesInputsByPositionWithTheEngineNamesOnlyInsideTheTables) {
  const std::pair<SdlInput, const char*> inputs[] = {
      {{Device::Keyboard, SDL_SCANCODE_MINUS}, "Underscore"},
      {{Device::MouseButton, SDL_BUTTON_X1}, "ThumbMouseButton"},
      {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}, "XboxTypeS_RightTrigger"},
      {{Device::Keyboard, SDL_SCANCODE_F1}, ""},
      {{Device::MouseButton, SDL_BUTTON_MIDDLE}, ""},
      {{Device::ControllerButton, SDL_CONTROLLER_BUTTON_GUIDE}, ""},
      {{Device::ControllerTrigger, SDL_CONTROLLER_AXIS_LEFTX}, ""},
  };
  for (const auto& [input, name] : inputs) EXPECT_EQ(engineKeyName(input), name) << name;
  EXPECT_FALSE(sdlInputForKey("backspace"));  // names are case-sensitive, as in the bind file
}

TEST(TriggerLatch, PressesOncePerPullPastHalfway) {
  TriggerLatch latch;
  const std::pair<int, bool> pull[] = {{16000, false}, {20000, true},  {32767, false}, {10000, false},
                                       {20000, false}, {5000, false},  {32767, true}};
  for (const auto& [axis, pressed] : pull) EXPECT_EQ(latch.update(axis), pressed) << axis;
}

TEST(InputRouting, BindsGetOnlyWhatNeitherThePluginNorATextFieldWants) {
  const InputFocus pluginWants{true, true, true, false};
  const InputFocus hiddenPlugin{false, true, false, false};  // a hidden window's wishes do not count
  const InputFocus overPanel{false, false, true, false};     // the mouse over a panel: clicks go there
  const InputFocus typing{false, false, false, true};
  const std::tuple<Device, InputFocus, bool> presses[] = {
      {Device::ControllerTrigger, {}, true},   {Device::Keyboard, pluginWants, false},
      {Device::MouseWheel, pluginWants, false}, {Device::Keyboard, hiddenPlugin, true},
      {Device::Keyboard, overPanel, true},      {Device::MouseButton, overPanel, false},
      {Device::Keyboard, typing, false},        {Device::ControllerButton, typing, false},
      {Device::MouseButton, typing, true},
  };
  for (const auto& [device, focus, reaches] : presses) {
    EXPECT_EQ(pressReachesBinds(device, focus), reaches) << static_cast<int>(device);
  }
}

}  // namespace
