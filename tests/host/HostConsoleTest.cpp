// The host stand-in's console: command lines, variables, key binds,
// configuration files and the saved configuration.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pluginsdk/sim/Host.h"
#include "tests/support/TempDir.h"

namespace {

using testing::ElementsAre;

class HostConsole : public testing::Test {
 protected:
  HostConsole() : host(dir.path()), console(*host.cvarManager()) {
    console.registerNotifier(
        "Say", [this](std::vector<std::string> words) { heard.push_back(words); }, "", 0);
  }

  TempDir dir;
  sim::Host host;
  CVarManagerWrapper& console;
  std::vector<std::vector<std::string>> heard;
};

TEST(CommandLine, SplitsAtBlanksGroupsQuotedWordsAndTakesOnlyWholeNumbers) {
  EXPECT_THAT(sim::splitCommandLine("  bind   A \"Say hello there\" "), ElementsAre("bind", "A", "Say hello there"));
  EXPECT_THAT(sim::splitCommandLine("name \"\""), ElementsAre("name", ""));
  EXPECT_THAT(sim::splitCommandLine("\t"), ElementsAre());
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

TEST_F(HostConsole, RunsNotifiersWithTheirWordsEchoingOnlyLoggedLines) {
  console.executeCommand("Say one two; Say \"three four\"", false);
  EXPECT_THAT(heard, ElementsAre(ElementsAre("Say", "one", "two"), ElementsAre("Say", "three four")));
  EXPECT_TRUE(host.logLines().empty());
  console.executeCommand("Say hi", true);
  EXPECT_THAT(host.logLines(), ElementsAre("] Say hi"));
}

TEST_F(HostConsole, SetsClampsAndPrintsVariablesReadingTheirLeadingNumber) {
  CVarWrapper speed = console.registerCvar("speed", "3000", "speed of the ball");
  int changes = 0;
  speed.addOnValueChanged([&](std::string, CVarWrapper cvar) {
    ++changes;
    EXPECT_EQ(cvar.getIntValue(), 3500);
  });
  host.execute("speed 3500");
  EXPECT_EQ(changes, 1);
  host.execute("speed");
  EXPECT_THAT(host.logLines(), testing::Contains("speed = \"3500\""));

  CVarWrapper enabled = console.registerCvar("enabled", "0", "", true, true, 0, true, 1);
  enabled.setValue(7);
  EXPECT_EQ(enabled.getIntValue(), 1);
  host.execute("enabled -3");
  EXPECT_EQ(enabled.getStringValue(), "0");

  EXPECT_EQ(console.registerCvar("range", "(0,6000)").getIntValue(), 0);
  CVarWrapper height = console.registerCvar("height", "2044.0");
  EXPECT_EQ(height.getFloatValue(), 2044.0f);
  EXPECT_EQ(height.getIntValue(), 2044);
  EXPECT_TRUE(height.getBoolValue());
  EXPECT_FALSE(console.getCvar("missing"));
  // Registering a name again keeps the first variable.
  console.registerCvar("height", "9");
  EXPECT_EQ(height.getIntValue(), 2044);
  EXPECT_THAT(host.cvarOrder(), ElementsAre("speed", "enabled", "range", "height"));
}

TEST_F(HostConsole, BadLinesGetOneClearLineEach) {
  console.registerCvar("speed", "3000");
  for (const char* line : {"nosuchthing 1", "speed fast", "bind OnlyKey", "exec missing.cfg"}) host.execute(line);
  EXPECT_THAT(host.logLines(),
              ElementsAre("Unknown command: nosuchthing", "speed: \"fast\" is not a number", "usage: bind KEY \"COMMAND\"",
                          "Could not open cfg file: " + (host.cfgDir() / "missing.cfg").string()));
  EXPECT_EQ(console.getCvar("speed").getIntValue(), 3000);
}

TEST_F(HostConsole, ExecutesConfigurationFilesToALimitedDepth) {
  writeFile(host.cfgDir() / "binds.cfg", "bind A \"Say a\"\r\n// a comment\n\nbind B \"Say b\"\n");
  console.loadCfg("binds.cfg");
  EXPECT_THAT(host.binds(), ElementsAre(testing::Pair("A", "Say a"), testing::Pair("B", "Say b")));

  writeFile(host.cfgDir() / "loop.cfg", "Say again\nexec loop.cfg\n");
  host.execute("exec loop.cfg");
  EXPECT_EQ(heard.size(), 8u);
  EXPECT_THAT(host.logLines(), testing::Contains("exec: too deeply nested: loop.cfg"));
}

TEST(SavedConfiguration, SurvivesARestartWithoutCallbacksAtRegistration) {
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
  EXPECT_THAT(readFile(dir.path() / "cfg/config.cfg"), testing::HasSubstr("kept \"3\""));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "cfg/config.cfg.tmp"));
}

}  // namespace
