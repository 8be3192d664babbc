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

TEST(SdlKeyMap, EveryTableKeyHasExactlyOneInputOfItsDevice) {
  const std::vector<std::string> keyboard = keyboardKeyTable();
  ASSERT_EQ(keyboard.size(), 87u);
  std::vector<std::string> names = keyboard;
  for (const std::string& name : controllerKeyTable()) names.push_back(name);
  ASSERT_EQ(names.size(), 87u + 16u);
  std::set<std::pair<int, int>> seen;
  for (size_t i = 0; i < names.size(); ++i) {
    const std::optional<SdlInput> input = sdlInputForKey(names[i]);
    ASSERT_TRUE(input) << names[i];
    EXPECT_EQ(engineKeyName(*input), names[i]);
    EXPECT_TRUE(seen.insert(asPair(*input)).second) << names[i] << " shares its input";
    // Keys first, then the mouse (positions 81 to 86), then the controller.
    const bool mouse = input->device == Device::MouseButton || input->device == Device::MouseWheel;
    const bool controller = input->device == Device::ControllerButton || input->device == Device::ControllerTrigger;
    EXPECT_EQ(mouse, i >= 81 && i < 87) << names[i];
    EXPECT_EQ(controller, i >= 87) << names[i];
  }
}

TEST(SdlKeyMap, NamesInputsByPositionWithTheEngineNamesAndNoNameOutsideTheTables) {
  const std::pair<SdlInput, const char*> inputs[] = {
      {{Device::Keyboard, SDL_SCANCODE_Q}, "Q"},
      {{Device::Keyboard, SDL_SCANCODE_0}, "0"},
      {{Device::Keyboard, SDL_SCANCODE_MINUS}, "Underscore"},
      {{Device::Keyboard, SDL_SCANCODE_APOSTROPHE}, "Quote"},
      {{Device::Keyboard, SDL_SCANCODE_BACKSPACE}, "BackSpace"},
      {{Device::Keyboard, SDL_SCANCODE_RETURN}, "Enter"},
      {{Device::Keyboard, SDL_SCANCODE_SPACE}, "SpaceBar"},
      {{Device::Keyboard, SDL_SCANCODE_LCTRL}, "LeftControl"},
      {{Device::Keyboard, SDL_SCANCODE_RALT}, "RightAlt"},
      {{Device::Keyboard, SDL_SCANCODE_NUMLOCKCLEAR}, "NumLock"},
      {{Device::Keyboard, SDL_SCANCODE_KP_0}, "NumPadZero"},
      {{Device::Keyboard, SDL_SCANCODE_KP_7}, "NumPadSeven"},
      {{Device::Keyboard, SDL_SCANCODE_KP_PERIOD}, "Decimal"},
      {{Device::MouseButton, SDL_BUTTON_LEFT}, "LeftMouseButton"},
      {{Device::MouseButton, SDL_BUTTON_X1}, "ThumbMouseButton"},
      {{Device::MouseButton, SDL_BUTTON_X2}, "ThumbMouseButton2"},
      {{Device::MouseWheel, 1}, "MouseScrollUp"},
      {{Device::MouseWheel, -1}, "MouseScrollDown"},
      {{Device::ControllerButton, SDL_CONTROLLER_BUTTON_BACK}, "XboxTypeS_Back"},
      {{Device::ControllerButton, SDL_CONTROLLER_BUTTON_LEFTSTICK}, "XboxTypeS_LeftThumbStick"},
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
