// The host stand-in where the plug-in's own tests do not reach it: input it
// must refuse, bounded variables, nested configuration files, the saved
// configuration and the callbacks it drops when a plug-in goes.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pluginsdk/sim/Host.h"
#include "tests/support/TempDir.h"

namespace {

using testing::Contains;
using testing::ElementsAre;

TEST(CommandLine, SplitsAtBlanksGroupsQuotedWordsAndTakesOnlyWholeNumbers) {
  EXPECT_THAT(sim::splitCommandLine("  bind   A \"Say hello there\" "), ElementsAre("bind", "A", "Say hello there"));
  EXPECT_THAT(sim::splitCommandLine("name \"\""), ElementsAre("name", ""));
  for (auto [text, number] : {std::pair{"12.5", 12.5}, {"+3", 3.0}}) {
    double value = 0;
    EXPECT_TRUE(sim::parseNumber(text, value)) << text;
    EXPECT_EQ(value, number);
  }
  for (const char* text : {"12abc", "", "nan", "1e999"}) {
    double value = 0;
    EXPECT_FALSE(sim::parseNumber(text, value)) << text;
  }
}

class HostTest : public testing::Test {
 protected:
  HostTest() : host(dir.path()), console(*host.cvarManager()) {
    console.registerNotifier("Say", [this](std::vector<std::string>) { ++said; }, "", 0);
  }

  TempDir dir;
  sim::Host host;
  CVarManagerWrapper& console;
  int said = 0;
};

TEST_F(HostTest, BoundedVariablesClampAndTheFirstRegistrationStays) {
  CVarWrapper enabled = console.registerCvar("enabled", "0", "", true, true, 0, true, 1);
  enabled.setValue(7);
  EXPECT_EQ(enabled.getIntValue(), 1);
  host.execute("enabled -3");
  EXPECT_EQ(enabled.getStringValue(), "0");
  console.registerCvar("enabled", "1");
  EXPECT_EQ(enabled.getStringValue(), "0");
  EXPECT_EQ(console.registerCvar("range", "(0,6000)").getIntValue(), 0);
  EXPECT_FALSE(console.getCvar("missing"));
}

TEST_F(HostTest, ExecutesConfigurationFilesToALimitedDepth) {
  writeFile(host.cfgDir() / "binds.cfg", "bind A \"Say a\"\r\n// a comment\n\nbind B \"Say b\"\n");
  console.loadCfg("binds.cfg");
  EXPECT_THAT(host.binds(), ElementsAre(testing::Pair("A", "Say a"), testing::Pair("B", "Say b")));

  writeFile(host.cfgDir() / "loop.cfg", "Say again\nexec loop.cfg\n");
  host.execute("exec loop.cfg");
  EXPECT_EQ(said, 8);
  EXPECT_THAT(host.logLines(), Contains("exec: too deeply nested: loop.cfg"));
}

TEST_F(HostTest, CallbacksReleasedWithThePluginNeverRun) {
  GameWrapper& game = *host.gameWrapper();
  game.SetTimeout([&](GameWrapper*) { ++said; }, 0.1f);
  game.Execute([&](GameWrapper*) { ++said; });
  host.releaseCallbacks();
  host.advance(1);
  EXPECT_EQ(said, 0);
}

TEST(SavedConfiguration, SurvivesARestartAndIsAnnouncedOnce) {
  TempDir dir;
  {
    sim::Host host(dir.path());
    host.cvarManager()->registerCvar("kept", "0").setValue(3);
    host.cvarManager()->registerCvar("notSaved", "0", "", true, false, 0, false, 0, false).setValue(4);
    host.saveConfig();
  }
  sim::Host host(dir.path());
  CVarWrapper kept = host.cvarManager()->registerCvar("kept", "0");
  CVarWrapper notSaved = host.cvarManager()->registerCvar("notSaved", "0", "", true, false, 0, false, 0, false);
  EXPECT_EQ(kept.getIntValue(), 3);
  EXPECT_EQ(notSaved.getIntValue(), 0);
  int announced = 0;
  kept.addOnValueChanged([&](std::string, CVarWrapper cvar) { announced += cvar.getIntValue(); });
  host.announceRestoredValues();
  host.announceRestoredValues();
  EXPECT_EQ(announced, 3);
  host.saveConfig();
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "cfg/config.cfg.tmp"));
}

}  // namespace
