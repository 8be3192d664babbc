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

  bool logged(const std::string& line) const {
    return std::find(host.logLines().begin(), host.logLines().end(), line) != host.logLines().end();
  }

  TempDir dir;
  sim::Host host;
  CVarManagerWrapper& console;
  std::vector<std::vector<std::string>> heard;
};

TEST(CommandLine, SplitsAtBlanksAndGroupsQuotedWords) {
  EXPECT_THAT(sim::splitCommandLine("  bind   A \"Say hello there\" "),
              ElementsAre("bind", "A", "Say hello there"));
  EXPECT_THAT(sim::splitCommandLine("name \"\""), ElementsAre("name", ""));
  EXPECT_THAT(sim::splitCommandLine("\t"), ElementsAre());
}

TEST(CommandLine, NumbersMustBeWholeTokens) {
  double value = 0;
  EXPECT_TRUE(sim::parseNumber("12.5", value));
  EXPECT_EQ(value, 12.5);
  EXPECT_TRUE(sim::parseNumber("+3", value));
  EXPECT_EQ(value, 3);
  EXPECT_FALSE(sim::parseNumber("12abc", value));
  EXPECT_FALSE(sim::parseNumber("", value));
  EXPECT_FALSE(sim::parseNumber("nan", value));
  EXPECT_FALSE(sim::parseNumber("1e999", value));
}

TEST_F(HostConsole, RunsNotifiersWithTheirWords) {
  console.executeCommand("Say one two; Say \"three four\"", false);
  EXPECT_THAT(heard, ElementsAre(ElementsAre("Say", "one", "two"), ElementsAre("Say", "three four")));
  EXPECT_TRUE(host.logLines().empty());
}

TEST_F(HostConsole, EchoesLoggedCommands) {
  console.executeCommand("Say hi", true);
  EXPECT_THAT(host.logLines(), ElementsAre("] Say hi"));
}

TEST_F(HostConsole, SetsAndPrintsVariables) {
  CVarWrapper speed = console.registerCvar("speed", "3000", "speed of the ball");
  int changes = 0;
  speed.addOnValueChanged([&](std::string, CVarWrapper cvar) {
    ++changes;
    EXPECT_EQ(cvar.getIntValue(), 3500);
  });
  host.execute("speed 3500");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(speed.getFloatValue(), 3500);
  host.execute("speed");
  EXPECT_TRUE(logged("speed = \"3500\""));
}

TEST_F(HostConsole, ClampsBoundedVariables) {
  CVarWrapper enabled = console.registerCvar("enabled", "0", "", true, true, 0, true, 1);
  enabled.setValue(7);
  EXPECT_EQ(enabled.getIntValue(), 1);
  host.execute("enabled -3");
  EXPECT_EQ(enabled.getStringValue(), "0");
}

TEST_F(HostConsole, ReadsTheLeadingNumberOfAVariable) {
  CVarWrapper range = console.registerCvar("range", "(0,6000)");
  CVarWrapper height = console.registerCvar("height", "2044.0");
  EXPECT_EQ(range.getIntValue(), 0);
  EXPECT_EQ(height.getFloatValue(), 2044.0f);
  EXPECT_EQ(height.getIntValue(), 2044);
  EXPECT_TRUE(height.getBoolValue());
  EXPECT_FALSE(console.getCvar("missing"));
}

TEST_F(HostConsole, RegisteringTwiceKeepsTheFirstVariable) {
  CVarWrapper first = console.registerCvar("x", "1");
  first.setValue(5);
  CVarWrapper again = console.registerCvar("x", "9");
  EXPECT_EQ(again.getIntValue(), 5);
  EXPECT_THAT(host.cvarOrder(), ElementsAre("x"));
}

TEST_F(HostConsole, BadLinesGetOneClearLineEach) {
  console.registerCvar("speed", "3000");
  host.execute("nosuchthing 1");
  host.execute("speed fast");
  host.execute("bind OnlyKey");
  host.execute("exec missing.cfg");
  EXPECT_THAT(host.logLines(),
              ElementsAre("Unknown command: nosuchthing", "speed: \"fast\" is not a number",
                          "usage: bind KEY \"COMMAND\"",
                          "Could not open cfg file: " + (host.cfgDir() / "missing.cfg").string()));
  EXPECT_EQ(console.getCvar("speed").getIntValue(), 3000);
}

TEST_F(HostConsole, BoundKeysRunTheirCommandUntilUnbound) {
  host.execute("bind BackSpace \"Say reset\"");
  EXPECT_TRUE(host.pressKey("BackSpace"));
  EXPECT_FALSE(host.pressKey("Enter"));
  host.execute("unbind BackSpace");
  EXPECT_FALSE(host.pressKey("BackSpace"));
  EXPECT_THAT(heard, ElementsAre(ElementsAre("Say", "reset")));
}

TEST_F(HostConsole, ExecutesConfigurationFiles) {
  writeFile(host.cfgDir() / "binds.cfg", "bind A \"Say a\"\r\n// a comment\n\nbind B \"Say b\"\n");
  console.loadCfg("binds.cfg");
  EXPECT_THAT(host.binds(), ElementsAre(testing::Pair("A", "Say a"), testing::Pair("B", "Say b")));
  host.execute("exec binds.cfg");
  EXPECT_EQ(host.binds().size(), 2u);
}

TEST_F(HostConsole, ConfigurationThatExecutesItselfStops) {
  writeFile(host.cfgDir() / "loop.cfg", "Say again\nexec loop.cfg\n");
  host.execute("exec loop.cfg");
  EXPECT_EQ(heard.size(), 8u);
  EXPECT_TRUE(logged("exec: too deeply nested: loop.cfg"));
}

TEST_F(HostConsole, TogglemenuReachesTheHost) {
  std::vector<std::string> toggled;
  host.onToggleMenu = [&](const std::string& name) {
    toggled.push_back(name);
    return true;
  };
  host.execute("togglemenu QMTraining");
  EXPECT_THAT(toggled, ElementsAre("QMTraining"));
  EXPECT_THAT(host.calls, ElementsAre("Host.togglemenu(QMTraining)"));
}

TEST(SavedConfiguration, SurvivesARestartWithoutCallbacksAtRegistration) {
  TempDir dir;
  {
    sim::Host host(dir.path());
    host.cvarManager()->registerCvar("kept", "0").setValue(3);
    host.cvarManager()->registerCvar("notSaved", "0", "", true, false, 0, false, 0, false).setValue(4);
    host.saveConfig();
  }
  {
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
    host.saveConfig();  // "other" was never registered this time but stays saved
  }
  EXPECT_THAT(readFile(dir.path() / "cfg/config.cfg"), testing::HasSubstr("kept \"3\""));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "cfg/config.cfg.tmp"));
}

}  // namespace
