// The sandbox host: the built plug-in library loaded with dlopen and driven
// by script lines, as a newcomer would drive it.

#include "sandbox/Sandbox.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "QMTraining/QMTraining.h"
#include "tests/support/TempDir.h"

namespace {

using testing::HasSubstr;
using testing::Not;

class SandboxTest : public testing::Test {
 protected:
  SandboxTest() : sandbox(dir.path(), out) {}
  void SetUp() override { ASSERT_TRUE(sandbox.loadPlugin(QM_PLUGIN_PATH)) << out.str(); }

  // Runs the lines and returns what they printed.
  std::string run(std::initializer_list<const char*> lines) {
    out.str("");
    for (const char* line : lines) sandbox.runLine(line);
    return out.str();
  }
  QMTraining& plugin() { return *static_cast<QMTraining*>(sandbox.loader().plugin()); }

  TempDir dir;
  std::ostringstream out;
  Sandbox sandbox;
};

TEST_F(SandboxTest, ListsTheCommandsAndTheVariablesWithTheirDefaults) {
  std::string text = run({"quellmark_enabled 1", "list"});
  EXPECT_THAT(text, HasSubstr("commands (9):\n  controlInput\n  BallMove\n"));
  EXPECT_THAT(text, HasSubstr("variables (27):\n  quellmark_enabled = \"1\" (default \"0\") Enable Quellmark\n"));
  EXPECT_THAT(text, HasSubstr("  shotNumber1 = \"1\" (default \"1\") What shot was selected\n"));
  EXPECT_TRUE(plugin().pluginEnabled);
}

TEST_F(SandboxTest, PrintsTheGameObjectsWithLabelledValues) {
  EXPECT_THAT(run({"show ball"}), HasSubstr("ball none (no local match)"));
  std::string text = run({"match local", "BallMove", "show all"});
  EXPECT_THAT(text, HasSubstr("server match=local maxscore=3 time=0.000\n"));
  EXPECT_THAT(text, HasSubstr("ball location=(0, 0, 92.75) velocity=(0, 0, 0) hitteam=0 godball=1"));
  EXPECT_THAT(text, HasSubstr("car location=(0, -4608, 17) rotation=(0, 16384, 0)"));
}

TEST_F(SandboxTest, BadLinesSayWhyAndTheHostGoesOn) {
  std::string text = run({"frobnicate", "advance soon", "press NoSuchKey", "match elsewhere", "frames -1",
                          "quellmark_enabled yes", "window sideways", "show everything", "list"});
  EXPECT_THAT(text, HasSubstr("Unknown command: frobnicate\n"));
  EXPECT_THAT(text, HasSubstr("usage: advance SECONDS"));
  EXPECT_THAT(text, HasSubstr("NoSuchKey is not bound\n"));
  EXPECT_THAT(text, HasSubstr("usage: match local|online|none\n"));
  EXPECT_THAT(text, HasSubstr("usage: frames N"));
  EXPECT_THAT(text, HasSubstr("quellmark_enabled: \"yes\" is not a number\n"));
  EXPECT_THAT(text, HasSubstr("usage: window open|close\n"));
  EXPECT_THAT(text, HasSubstr("usage: show ball|car|server|all\n"));
  EXPECT_THAT(text, HasSubstr("commands (9):"));
  EXPECT_FALSE(sandbox.runScript(dir.path() / "missing.script"));
  EXPECT_TRUE(sandbox.runLine("help"));
  EXPECT_FALSE(sandbox.runLine("quit"));
}

TEST_F(SandboxTest, AdvancingTheClockFiresBoundKeys) {
  std::string text = run({"bind BackSpace \"BallMove\"", "press BackSpace", "advance 0.5", "show server"});
  EXPECT_THAT(text, HasSubstr("time=0.500"));
}

TEST_F(SandboxTest, TheWindowRunsItsFirstFrameWorkOnlyWhenDrawn) {
  run({"frames 3"});
  EXPECT_EQ(plugin().oldDataMigrated, 0);
  EXPECT_THAT(run({"window open", "frames 2"}), Not(HasSubstr("not shown")));
  EXPECT_TRUE(sandbox.windowShown());
  EXPECT_TRUE(plugin().isWindowOpen);
  EXPECT_EQ(plugin().oldDataMigrated, 1);
  run({"togglemenu QMTraining"});
  EXPECT_FALSE(sandbox.windowShown());
  EXPECT_FALSE(plugin().isWindowOpen);
}

TEST(SandboxProgram, RunsAScriptAndSavesTheConfigurationAtTheEnd) {
  TempDir dir;
  writeFile(dir.path() / "tour.script", "quellmark_enabled 1\nmatch local\nlist\nnot a command\nshow car\n");
  std::string command = std::string(QM_SANDBOX_PATH) + " --host-dir '" + dir.str("host") + "' --script '" +
                        dir.str("tour.script") + "' 'show server' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (size_t read = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, read);
  int status = pclose(pipe);
  EXPECT_EQ(status, 0) << output;
  EXPECT_THAT(output, HasSubstr("commands (9):"));
  EXPECT_THAT(output, HasSubstr("variables (27):"));
  EXPECT_THAT(output, HasSubstr("Unknown command: not\n"));
  EXPECT_THAT(output, HasSubstr("car location=(0, -4608, 17)"));
  EXPECT_THAT(output, HasSubstr("server match=local"));
  EXPECT_THAT(readFile(dir.path() / "host/cfg/config.cfg"), HasSubstr("quellmark_enabled \"1\"\n"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "host/data/QMShots"));
}

TEST(SandboxRestart, TheTrainingVarietySettingsSurviveARestartOfTheHost) {
  TempDir dir;
  const char* lines[] = {"training_order 2", "variance_location 250", "variance_direction 12.5", "variance_speed 30"};
  {
    std::ostringstream out;
    Sandbox first(dir.path(), out);
    ASSERT_TRUE(first.loadPlugin(QM_PLUGIN_PATH)) << out.str();
    for (const char* line : lines) first.runLine(line);
  }  // ends the host, which saves its configuration
  std::ostringstream out;
  Sandbox second(dir.path(), out);
  ASSERT_TRUE(second.loadPlugin(QM_PLUGIN_PATH)) << out.str();
  second.runLine("list");
  EXPECT_THAT(out.str(), HasSubstr("training_order = \"2\" (default \"0\")"));
  EXPECT_THAT(out.str(), HasSubstr("variance_location = \"250\" (default \"0\")"));
  EXPECT_THAT(out.str(), HasSubstr("variance_direction = \"12.5\" (default \"0\")"));
  EXPECT_THAT(out.str(), HasSubstr("variance_speed = \"30\" (default \"0\")"));
}

}  // namespace
