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

  std::vector<std::string> balls = linesStartingWith(text, "ball location=");
  ASSERT_EQ(balls.size(), 3u) << text;
  // Pressed, and 0.1 s later: at rest, handed to nobody.
  EXPECT_THAT(balls[0], HasSubstr("velocity=(0, 0, 0) hitteam=255")) << text;
  EXPECT_THAT(balls[1], HasSubstr("velocity=(0, 0, 0) hitteam=255")) << text;
  // 0.25 s after the press: launched for team 1.
  EXPECT_THAT(balls[2], HasSubstr("hitteam=1 godball=1 carhitteam=1")) << text;
  std::vector<std::string> servers = linesStartingWith(text, "server ");
  ASSERT_EQ(servers.size(), 2u) << text;
  EXPECT_THAT(servers[0], HasSubstr("maxscore=100")) << text;

  // The stored shot arrives through the start-up work of the window's first
  // frame (the first pack loaded into `shots`).
  auto& plugin = *static_cast<QMTraining*>(sandbox.loader().plugin());
  if (plugin.shots.empty()) GTEST_SKIP() << "the start-up work does not load packs in this build";
  EXPECT_THAT(balls[0], HasSubstr("location=(-1200, 3500, 92.5) velocity=(0, 0, 0) hitteam=255")) << text;
  EXPECT_THAT(balls[0], HasSubstr("targetspeed=3200")) << text;
  EXPECT_THAT(balls[2], HasSubstr("location=(-1200, 3500, 92.5) velocity=(400, -2500, 800)")) << text;
  std::vector<std::string> cars = linesStartingWith(text, "car location=");
  ASSERT_EQ(cars.size(), 2u) << text;
  EXPECT_THAT(cars[0], HasSubstr("location=(-256, -3840, 17) rotation=(0, 24576, 0)")) << text;
}

}  // namespace
