// The README's example of building shots in the window, run by the sandbox
// host on an empty host folder: a pack added, two shots made in the editor,
// one transferred and replayed on the bound key.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "sandbox/Sandbox.h"
#include "tests/support/TempDir.h"

namespace {

using ::testing::HasSubstr;

TEST(ShotsScript, BuildsTwoShotsTransfersOneAndReplaysIt) {
  TempDir hostDir;
  std::ostringstream out;
  {
    Sandbox sandbox(hostDir.path(), out);
    ASSERT_TRUE(sandbox.loadPlugin(QM_PLUGIN_PATH)) << out.str();
    // Every line worked: each click and wait found its text.
    ASSERT_EQ(sandbox.runScript(std::string(QM_SOURCE_DIR) + "/sandbox/examples/shots.script"),
              Sandbox::LineResult::done)
        << out.str();
  }
  const std::string text = out.str();

  const std::string packs = hostDir.str("data/QMShots/TrainingPacks/");
  EXPECT_EQ(readFile(packs + "Wall Shots/1 Left wall.shot"),
            "100 -2500 1500 900 0 0 0 -2500 17 16384 1_Left_wall 3000 0 0");
  EXPECT_EQ(readFile(packs + "Wall Shots/2 Right wall.shot"),
            "100 2500 1500 -900 0 0 0 -2500 17 16384 2_Right_wall 3000 0 0");
  EXPECT_EQ(readFile(packs + "Your Old Shots/2 Right wall.shot"),
            readFile(packs + "Wall Shots/2 Right wall.shot"));

  EXPECT_THAT(text, HasSubstr("car location=(0, -2500, 17) rotation=(0, 16384, 0)"));
  EXPECT_THAT(text, HasSubstr("ball location=(2500, 1500, 100) velocity=(0, 0, 0) hitteam=255"));
  EXPECT_THAT(text, HasSubstr("ball location=(2500, 1500, 100) velocity=(-900, 0, 0) hitteam=1"));
}

}  // namespace
