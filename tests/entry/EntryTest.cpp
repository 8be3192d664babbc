// The plug-in as the host meets it: the built library's record and exports,
// then load and unload with what they register and take away.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "QMTraining/QMTraining.h"
#include "sandbox/PluginLoader.h"
#include "tests/support/SandboxFixture.h"
#include "tests/support/PluginHarness.h"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;

TEST(Library, ExportsOnlyTheEntryPointsWhoseRecordDescribesThePlugin) {
  PluginLoader loader;
  ASSERT_TRUE(loader.open(QM_PLUGIN_PATH)) << loader.error();
  const auto* info = loader.info();
  EXPECT_EQ(info->apiBuild, 95);
  EXPECT_STREQ(info->pluginName, "Quellmark Training");
  EXPECT_STREQ(info->pluginVersion, "5.0.0.1848");
  EXPECT_EQ(info->pluginType, 2);
  const ProgramRun nm = runCommand(std::string("nm -D --defined-only --format=just-symbols '") + QM_PLUGIN_PATH + "'");
  EXPECT_EQ(nm.output, "deleteMe\nexports\ngetPlugin\n");
}

TEST(Load, RegistersEveryCommandThenEveryVariableInOrderWithItsDefault) {
  struct ExpectedCvar {
    const char *name, *value, *description;
    bool bounded;
    float min, max;
  };
  const ExpectedCvar expected[] = {
      {"quellmark_enabled", "0", "Enable Quellmark", true, 0, 1},
      {"ball_speed", "(-6000.0, 6000)", "Velocity of the ball", true, 0, 6000},
      {"ball_location", "(0,6000)", "Location of the ball", true, 0, 6000},
      {"cool_height", "2044.0", "height to place the ball", false, 0, 0},
      {"cool_length", "4096.0", "length to place the ball", false, 0, 0},
      {"cool_width", "5120.0", "width to place the ball", false, 0, 0},
      {"cool_speedx", "6000.0", "set x value of speed of the ball", false, 0, 0},
      {"cool_speedy", "6000.0", "set y value of speed of the ball", false, 0, 0},
      {"cool_speedz", "6000.0", "set z value of speed of the ball", false, 0, 0},
      {"car_enabled", "0", "Enable Car Location Reset", true, 0, 1},
      {"car_location", "(0,6000)", "Location of the car", true, 0, 6000},
      {"car_rotation", "(0,6000)", "Location of the car", true, 0, 6000},
      {"carZ", "10.0", "height to place the car", false, 0, 0},
      {"carX", "4096.0", "length to place the car", false, 0, 0},
      {"carY", "5120.0", "width to place the car", false, 0, 0},
      {"carYaw", "2000", "Yaw of the car", false, 0, 0},
      {"carPitch", "2000", "Pitch of the car", false, 0, 0},
      {"carRoll", "2000", "Roll of the car", false, 0, 0},
      {"TrainingPackNum", "0", "Which Training Pack is active", false, 0, 0},
      {"speed_enabled", "1", "What speed value for a shot should it use", false, 0, 0},
      {"cool_speed", "3000", "speed of the ball", false, 0, 0},
      {"cool_shotname", "Shot 1", "Name of shot 1", false, 0, 0},
      {"shotNumber1", "1", "What shot was selected", false, 0, 0},
      {"training_order", "0",
       "Order of the training shots: 0 random, 1 each once per round, 2 in list order, 3 focus on misses", true, 0, 3},
      {"variance_location", "0", "Ball start moved by up to this many units on X and Y", true, 0, 1000},
      {"variance_direction", "0", "Ball flight turned by up to this many degrees", true, 0, 45},
      {"variance_speed", "0", "Ball speed changed by up to this many percent", true, 0, 50},
      {"stats_attempt_seconds", "10", "Seconds of game time after the launch an attempt lasts", true, 1, 60},
      {"training_auto_next", "0", "Seconds after a goal or a timed-out attempt until the next shot; 0 off", true, 0,
       10},
      {"remember_training", "0", "Keep the ticked shots and the current pack across restarts", true, 0, 1},
      {"last_training_pack", "", "The pack current when the plug-in last ran", false, 0, 0},
  };
  PluginHarness harness;
  EXPECT_THAT(harness.host().notifierOrder(),
              ElementsAre("controlInput", "BallMove", "CarMove", "BallVelocity", "OverideShot", "LoadShot",
                          "BallSpeed", "ShotStats", "ResetShotStats", "ExportPack", "ImportPack", "RestoreLast",
                          "CaptureShot"));
  const auto& order = harness.host().cvarOrder();
  ASSERT_EQ(order.size(), std::size(expected));
  for (size_t i = 0; i < order.size(); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(order[i], expected[i].name);
    const sim::CVarRecord* cvar = harness.host().findCvar(order[i]);
    EXPECT_EQ(cvar->defaultValue, expected[i].value);
    EXPECT_EQ(cvar->value, expected[i].value);
    EXPECT_EQ(cvar->description, expected[i].description);
    EXPECT_TRUE(cvar->searchable && cvar->saveToCfg);
    EXPECT_EQ(std::pair(cvar->hasMin, cvar->hasMax), std::pair(expected[i].bounded, expected[i].bounded));
    EXPECT_EQ(std::pair(cvar->min, cvar->max), std::pair(expected[i].min, expected[i].max));
  }
}

// The host restores saved values at registration, so onLoad sees them.
TEST(Load, SavedSwitchesReachThePluginAfterARestartButTheSpeedModeIsOne) {
  PluginHarness harness([](const TempDir& dir) {
    writeFile(dir.path() / "cfg/config.cfg",
              "quellmark_enabled \"1\"\ncar_enabled \"1\"\nspeed_enabled \"2\"\ncool_speed \"4000\"\n");
  });
  EXPECT_TRUE(harness.plugin().pluginEnabled);
  EXPECT_TRUE(harness.plugin().carResetEnabled);
  EXPECT_EQ(harness.host().findCvar("speed_enabled")->value, "1");
  EXPECT_EQ(harness.host().findCvar("cool_speed")->value, "4000");
}

TEST(Load, ADataFolderThatCannotBeMadeEndsOnlyTheLoad) {
  PluginHarness harness(PluginHarness::Start::NotLoaded);
  writeFile(harness.host().dataDir() / "QMShots", "a file where the folder should be");
  std::string error = harness.load();
  EXPECT_THAT(error, testing::AllOf(HasSubstr("cannot create directories"), HasSubstr("QMShots")));
  EXPECT_TRUE(harness.logged("Plugin failed to load: " + error));
  EXPECT_TRUE(harness.host().notifierOrder().empty());
  harness.console("quellmark_enabled 1");  // the host still answers, with no variable registered
  EXPECT_TRUE(harness.logged("Unknown command: quellmark_enabled"));
}

TEST(Unload, StopsTraining) {
  PluginHarness harness;
  harness.plugin().trainingActive = true;
  harness.plugin().onUnload();
  EXPECT_FALSE(harness.plugin().trainingActive);
}

TEST(Unload, UnbindsOnlyItsTwoKeys) {
  PluginHarness harness;
  harness.console("bind F1 \"togglemenu QMTraining\"");
  QMTraining& plugin = harness.plugin();
  plugin.controllerKeyIndex = 6;  // the keys chosen, not the defaults
  plugin.keyboardKeyIndex = 56;
  plugin.saveKeyBinds();
  ASSERT_EQ(harness.host().binds().size(), 3u);
  plugin.onUnload();
  EXPECT_THAT(harness.host().binds(), ElementsAre(testing::Pair("F1", "togglemenu QMTraining")));
}

}  // namespace
