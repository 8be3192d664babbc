// SDL's keys, mouse buttons and controller buttons to the engine's key names,
// for every name of the plug-in's keyboard and controller tables.

#include <SDL.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "binds/KeyNames.h"
#include "sandbox/SdlKeyMap.h"
#include "sandbox/WindowHost.h"

namespace {

using Device = SdlInput::Device;

std::pair<int, int> asPair(SdlInput input) { return {static_cast<int>(input.device), input.code}; }

TEST(SdlKeyMap, EveryKeyboardTableKeyHasExactlyOneInput) {
  const std::vector<std::string> table = keyboardKeyTable();
  ASSERT_EQ(table.size(), 87u);
  std::set<std::pair<int, int>> seen;
  for (size_t i = 0; i < table.size(); ++i) {
    const std::optional<SdlInput> input = sdlInputForKey(table[i]);
    ASSERT_TRUE(input) << table[i];
    EXPECT_EQ(engineKeyName(*input), table[i]);
    EXPECT_TRUE(seen.insert(asPair(*input)).second) << table[i] << " shares its input";
    // Keys first, then the mouse: positions 81 to 86 are mouse buttons and the wheel.
    const bool mouse = input->device == Device::MouseButton || input->device == Device::MouseWheel;
    EXPECT_EQ(mouse, i >= 81) << table[i];
  }
}

TEST(SdlKeyMap, EveryControllerTableButtonHasExactlyOneInput) {
  std::set<std::pair<int, int>> seen;
  for (const std::string& name : controllerKeyTable()) {
    const std::optional<SdlInput> input = sdlInputForKey(name);
    ASSERT_TRUE(input) << name;
    EXPECT_EQ(engineKeyName(*input), name);
    EXPECT_TRUE(input->device == Device::ControllerButton || input->device == Device::ControllerTrigger) << name;
    EXPECT_TRUE(seen.insert(asPair(*input)).second) << name << " shares its input";
  }
  EXPECT_EQ(seen.size(), 16u);
}

TEST(SdlKeyMap, NamesKeysByPositionWithTheEngineNames) {
  const std::pair<SDL_Scancode, const char*> keys[] = {
      {SDL_SCANCODE_Q, "Q"},
      {SDL_SCANCODE_0, "0"},
      {SDL_SCANCODE_MINUS, "Underscore"},
      {SDL_SCANCODE_APOSTROPHE, "Quote"},
      {SDL_SCANCODE_BACKSPACE, "BackSpace"},
      {SDL_SCANCODE_RETURN, "Enter"},
      {SDL_SCANCODE_SPACE, "SpaceBar"},
      {SDL_SCANCODE_LCTRL, "LeftControl"},
      {SDL_SCANCODE_RALT, "RightAlt"},
      {SDL_SCANCODE_NUMLOCKCLEAR, "NumLock"},
      {SDL_SCANCODE_KP_0, "NumPadZero"},
      {SDL_SCANCODE_KP_7, "NumPadSeven"},
      {SDL_SCANCODE_KP_PERIOD, "Decimal"},
  };
  for (const auto& [scancode, name] : keys) EXPECT_EQ(engineKeyName({Device::Keyboard, scancode}), name);

  EXPECT_EQ(engineKeyName({Device::MouseButton, SDL_BUTTON_LEFT}), "LeftMouseButton");
  EXPECT_EQ(engineKeyName({Device::MouseButton, SDL_BUTTON_X1}), "ThumbMouseButton");
  EXPECT_EQ(engineKeyName({Device::MouseButton, SDL_BUTTON_X2}), "ThumbMouseButton2");
  EXPECT_EQ(engineKeyName({Device::MouseWheel, 1}), "MouseScrollUp");
  EXPECT_EQ(engineKeyName({Device::MouseWheel, -1}), "MouseScrollDown");
  EXPECT_EQ(engineKeyName({Device::ControllerButton, SDL_CONTROLLER_BUTTON_BACK}), "XboxTypeS_Back");
  EXPECT_EQ(engineKeyName({Device::ControllerButton, SDL_CONTROLLER_BUTTON_LEFTSTICK}), "XboxTypeS_LeftThumbStick");
  EXPECT_EQ(engineKeyName({Device::ControllerTrigger, SDL_CONTROLLER_AXIS_TRIGGERRIGHT}), "XboxTypeS_RightTrigger");
}

TEST(SdlKeyMap, InputsOutsideTheTablesHaveNoName) {
  EXPECT_EQ(engineKeyName({Device::Keyboard, SDL_SCANCODE_F1}), "");
  EXPECT_EQ(engineKeyName({Device::Keyboard, SDL_SCANCODE_KP_ENTER}), "");
  EXPECT_EQ(engineKeyName({Device::MouseButton, SDL_BUTTON_MIDDLE}), "");
  EXPECT_EQ(engineKeyName({Device::ControllerButton, SDL_CONTROLLER_BUTTON_GUIDE}), "");
  EXPECT_EQ(engineKeyName({Device::ControllerTrigger, SDL_CONTROLLER_AXIS_LEFTX}), "");
  EXPECT_FALSE(sdlInputForKey("F1"));
  EXPECT_FALSE(sdlInputForKey("backspace"));  // names are case-sensitive, as in the bind file
}

TEST(TriggerLatch, PressesOncePerPullPastHalfway) {
  TriggerLatch latch;
  EXPECT_FALSE(latch.update(0));
  EXPECT_FALSE(latch.update(16000));
  EXPECT_TRUE(latch.update(20000));
  EXPECT_FALSE(latch.update(32767));
  EXPECT_FALSE(latch.update(10000));  // eased off a little: still held
  EXPECT_FALSE(latch.update(20000));
  EXPECT_FALSE(latch.update(5000));  // let go
  EXPECT_TRUE(latch.update(32767));
}

TEST(InputRouting, BindsGetWhatThePluginAndTheTextFieldsDoNotWant) {
  const InputFocus nobody;
  EXPECT_TRUE(pressReachesBinds(Device::Keyboard, nobody));
  EXPECT_TRUE(pressReachesBinds(Device::MouseButton, nobody));
  EXPECT_TRUE(pressReachesBinds(Device::ControllerButton, nobody));

  InputFocus pluginWants{true, true, true, false};
  for (Device d : {Device::Keyboard, Device::MouseButton, Device::MouseWheel, Device::ControllerButton,
                   Device::ControllerTrigger}) {
    EXPECT_FALSE(pressReachesBinds(d, pluginWants));
  }
  // A hidden window's wishes do not count.
  InputFocus hiddenPlugin{false, true, false, false};
  EXPECT_TRUE(pressReachesBinds(Device::Keyboard, hiddenPlugin));

  // The mouse over the console panel keeps clicks but not keys.
  InputFocus overPanel{false, false, true, false};
  EXPECT_TRUE(pressReachesBinds(Device::Keyboard, overPanel));
  EXPECT_FALSE(pressReachesBinds(Device::MouseButton, overPanel));
  EXPECT_FALSE(pressReachesBinds(Device::MouseWheel, overPanel));

  // Typing into a text field presses no bound keys or buttons.
  InputFocus typing{false, false, false, true};
  EXPECT_FALSE(pressReachesBinds(Device::Keyboard, typing));
  EXPECT_FALSE(pressReachesBinds(Device::ControllerButton, typing));
  EXPECT_TRUE(pressReachesBinds(Device::MouseButton, typing));
}

}  // namespace
