// The start-up work as the host runs it: the window's first frame, drawn by
// the sandbox host, migrates what an older version left; later frames do not.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

TEST_F(FirstFrame, AFileSystemErrorIsReportedOnTheFirstFrameOnlyWithoutStoppingTheHost) {
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
  writeFile(data() / "QMShots/bind.txt", "bind XboxTypeS_A controlInput");
  // What an interrupted import and an interrupted write left goes too.
  writeFile(packs() / ".import-2.tmp/Lob.shot", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Lob 3200 0 0");
  writeFile(packs() / "Zone/.Lob.shot.tmp", "92.5 -1200 35");
  // A new older file after the first frame stays where it is.
  const std::string out = run("window open\nframes 1\nframes 3\n", 2, [this] {
    EXPECT_TRUE(fs::exists(packs() / "Your Old Shots/Lob.shot"));
    EXPECT_FALSE(fs::exists(data() / "QMShots/bind.txt"));
    EXPECT_TRUE(fs::exists(hostDir.path() / "cfg/QMTraining.cfg"));
    EXPECT_FALSE(fs::exists(packs() / ".import-2.tmp"));
    EXPECT_FALSE(fs::exists(packs() / "Zone/.Lob.shot.tmp"));
    writeFile(data() / "QMShots/Shots1.txt", "1 0 0 0 0 0 0 0 0 0 Late 3000 0 0");
  });
  EXPECT_TRUE(fs::exists(data() / "QMShots/Shots1.txt")) << out;
  EXPECT_THAT(out, HasSubstr("Removed what interrupted work left in the training packs: 1 import folder(s), 1 "
                             "temporary shot file(s)"));
  EXPECT_FALSE(fs::exists(packs() / "Your Old Shots2"));
}

// After a restart the reset key plays the first pack's shot before the window opens.
TEST_F(FirstFrame, AKeyPressedBeforeTheWindowOpensPlaysTheShotOfTheLoadedPack) {
  writeFile(packs() / "Pack/Lob.shot", "800 -1200 3000 0 1600 900 0 -3000 17 16384 Lob 3400 0 0");
  EXPECT_THAT(run("window open\nframes 2\nreload\nquellmark_enabled 1\nmatch local\npress BackSpace\nshow ball\n"),
              HasSubstr("ball location=(-1200, 3000, 800)"));
}

}  // namespace
