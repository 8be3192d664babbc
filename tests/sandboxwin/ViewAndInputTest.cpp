// The window's parts that need no display: the arena view's readout and trail,
// SDL's inputs to engine key names, and which presses reach the binds.

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "sandbox/ArenaView.h"
#include "sandbox/SdlKeyMap.h"
#include "sandbox/WindowHost.h"
#include "tests/support/TempDir.h"

namespace {

using Device = SdlInput::Device;
using ::testing::ElementsAre;

TEST(ArenaView, ShowsTheBallTheUpsideDownCarAndTheTrailsHighestPoint) {
  BallTrail trail;
  EXPECT_THAT(arenaReadout(nullptr, trail), ElementsAre(::testing::HasSubstr("match local")));

  TempDir dir;
  sim::Host host(dir.path());
  host.startLocalMatch();
  host.ball()->location = {10, 20, 500};
  host.ball()->velocity = {300, 0, -400};
  host.ball()->targetSpeed = 2985;
  host.car()->rotation = {0, -16764, 32764};
  trail.record({10, 20, 700.4f}, false);
  trail.record({10, 20, 500}, true);
  EXPECT_THAT(arenaReadout(host.server(), trail),
              ElementsAre("Ball height 500  highest 700", "Ball speed 500  target speed 2985",
                          "Car yaw -16764  pitch 0  roll 32764  upside down"));

  trail.record({-3000, 4000, 500}, true);  // placed anew: the old path goes
  for (int i = 0; i < 2000; ++i) trail.record({-3000, 4000 - static_cast<float>(i), 500 + (i == 10 ? 90.0f : 0)}, true);
  EXPECT_LE(trail.points().size(), BallTrail::kMaxPoints);
  EXPECT_EQ(trail.highest(), 590);  // though its point was dropped for length
}

// Every table key is sent through the window in WindowHostTest; these are
// names a player could not guess, and inputs with no name.
TEST(SdlKeyMap, NamesInputsByPositionWithTheEngineNamesAndNoNameOutsideTheTables) {
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

TEST(InputRouting, BindsGetWhatThePluginAndTheTextFieldsDoNotWant) {
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
