// The README's reset example, run through the sandbox host program on a
// host folder that holds one stored shot.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace {

std::vector<std::string> runSandbox(const TempDir& hostDir, const std::string& script) {
  std::string command = std::string("'") + QM_SANDBOX_PATH + "' --host-dir '" + hostDir.str() +
                        "' --script '" + script + "' 2>&1";
  std::vector<std::string> lines;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return lines;
  std::string line;
  for (int c = std::fgetc(pipe); c != EOF; c = std::fgetc(pipe)) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(static_cast<char>(c));
    }
  }
  EXPECT_EQ(pclose(pipe), 0);
  return lines;
}

std::vector<std::string> linesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ResetScript, ReplaysTheStoredShotWithTheBallAtRestThenLaunchedAfterTheDelay) {
  TempDir hostDir;
  writeFile(hostDir.path() / "data/QMShots/TrainingPacks/Demo/Corner Shot.shot",
            "92.5 -1200 3500 400 -2500 800 -256 -3840 17 24576 Corner_Shot 3200 0 0");

  std::vector<std::string> output =
      runSandbox(hostDir, std::string(QM_SOURCE_DIR) + "/sandbox/examples/reset.script");
  std::string all;
  for (const std::string& line : output) all += line + "\n";

  std::vector<std::string> balls = linesStartingWith(output, "ball location=");
  ASSERT_EQ(balls.size(), 3u) << all;
  // Pressed, and 0.1 s later: at rest, handed to nobody.
  EXPECT_TRUE(contains(balls[0], "velocity=(0, 0, 0) hitteam=255")) << all;
  EXPECT_TRUE(contains(balls[1], "velocity=(0, 0, 0) hitteam=255")) << all;
  // 0.25 s after the press: launched by team 1.
  EXPECT_TRUE(contains(balls[2], "hitteam=1 godball=1 carhitteam=1")) << all;
  std::vector<std::string> servers = linesStartingWith(output, "server ");
  ASSERT_EQ(servers.size(), 2u) << all;
  EXPECT_TRUE(contains(servers[0], "maxscore=100")) << all;

  // The stored shot reaches the working shot through the start-up work of
  // the window's first frame, which writes the key-bind file.
  if (!std::filesystem::exists(hostDir.path() / "cfg/QMTraining.cfg")) {
    GTEST_SKIP() << "the window's start-up work does not load packs in this build";
  }
  EXPECT_TRUE(contains(balls[0], "location=(-1200, 3500, 92.5)")) << all;
  EXPECT_TRUE(contains(balls[0], "targetspeed=3200")) << all;
  EXPECT_TRUE(contains(balls[2], "location=(-1200, 3500, 92.5) velocity=(400, -2500, 800)")) << all;
  std::vector<std::string> cars = linesStartingWith(output, "car location=");
  ASSERT_EQ(cars.size(), 2u) << all;
  EXPECT_TRUE(contains(cars[0], "location=(-256, -3840, 17) rotation=(0, 24576, 0)")) << all;
}

}  // namespace
