// The start-up work as the host runs it: the window's first frame, drawn by
// the sandbox host, migrates what an older version left; later frames do not.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <sys/wait.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

#include "sandbox/PluginVerbs.h"
#include "sandbox/Sandbox.h"
#include "tests/support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string boundKeys = "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n";

class FirstFrame : public ::testing::Test {
 protected:
  fs::path data() const { return hostDir.path() / "data"; }
  fs::path packs() const { return data() / "QMShots/TrainingPacks"; }

  // Runs script lines in a sandbox host on hostDir; `between` runs after the
  // first `split` lines. Returns what the host printed.
  std::string run(const std::string& lines, int split = -1, const std::function<void()>& between = {}) {
    std::ostringstream out;
    Sandbox sandbox(hostDir.path(), out);
    addPluginVerbs(sandbox);
    if (!sandbox.loadPlugin(QM_PLUGIN_PATH)) return "no plug-in: " + out.str();
    std::istringstream script(lines);
    for (std::string line; std::getline(script, line); --split) {
      if (split == 0) between();
      sandbox.runLine(line);
    }
    sandbox.shutdown();
    return out.str();
  }

  TempDir hostDir;
};

TEST_F(FirstFrame, AFileSystemErrorIsReportedOnTheFirstFrameOnlyAndTheHostGoesOn) {
  fs::create_directories(data() / "QMShots");
  // Every test of the packs folder fails: the link leads nowhere but to itself.
  fs::create_symlink("TrainingPacks", packs());
  const std::string out = run("window open\nframes 5\nshow server\n");
  const size_t error = out.find("Training pack error: ");
  EXPECT_NE(error, std::string::npos) << out;
  EXPECT_EQ(out.find("Training pack error: ", error + 1), std::string::npos) << out;
  EXPECT_THAT(out, HasSubstr("server match=none"));
}

TEST_F(FirstFrame, OlderShotsBecomeAPackOnTheFirstFrameOnly) {
  writeFile(data() / "QMShots/Shots1.txt", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Lob 3200");
  writeFile(data() / "QMShots/Shots2.txt", "50 0 0 0 0 0 0 0 17 0 Wall 3000 0 0");
  writeFile(data() / "QMShots/bind.txt", "bind XboxTypeS_A controlInput");
  // A new older file after the first frame stays where it is.
  const std::string out = run("window open\nframes 1\nframes 3\n", 2, [this] {
    EXPECT_TRUE(fs::exists(packs() / "Your Old Shots/Lob.shot"));
    EXPECT_TRUE(fs::exists(packs() / "Your Old Shots/Wall.shot"));
    EXPECT_FALSE(fs::exists(data() / "QMShots/bind.txt"));
    EXPECT_EQ(readFile(hostDir.path() / "cfg/QMTraining.cfg"), boundKeys);
    writeFile(data() / "QMShots/Shots1.txt", "1 0 0 0 0 0 0 0 0 0 Late 3000 0 0");
  });
  EXPECT_TRUE(fs::exists(data() / "QMShots/Shots1.txt")) << out;
  EXPECT_FALSE(fs::exists(packs() / "Your Old Shots2"));
}

// The README's first-start example, run by the sandbox program itself on a
// fresh host folder.
TEST_F(FirstFrame, TheFirstStartExampleReplaysTheDefaultShotOnTheBoundKey) {
  const std::string command = std::string("'") + QM_SANDBOX_PATH + "' --host-dir '" + hostDir.str() +
                              "' --script '" + QM_SOURCE_DIR + "/sandbox/examples/first-start.script' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[4096];
  while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, got);
  const int status = pclose(pipe);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
  EXPECT_EQ(readFile(packs() / "Your Old Shots/defaultShot.shot"), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_EQ(readFile(hostDir.path() / "cfg/QMTraining.cfg"), boundKeys);
  // The key press placed the default shot: ball and car at the origin, the
  // usual speed, and 0.25 s later the ball launched.
  EXPECT_THAT(out, HasSubstr("ball location=(0, 0, 0) velocity=(0, 0, 0) hitteam=255 godball=1 carhitteam=0 "
                             "targetspeed=3000"));
  EXPECT_THAT(out, HasSubstr("car location=(0, 0, 0) rotation=(0, 0, 0)"));
  EXPECT_THAT(out, HasSubstr("hitteam=1 godball=1 carhitteam=1 targetspeed=3000"));
  EXPECT_THAT(out, Not(HasSubstr("is not bound")));
}

}  // namespace
