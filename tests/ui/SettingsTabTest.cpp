// The "Settings" tab: the key binds and the maximum-score switch.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/WindowHarness.h"
#include "tests/ui/ComboEntries.h"

namespace {

class SettingsTabTest : public testing::Test {
 protected:
  void SetUp() override {
    w.enablePlugin();
    w.startLocalMatch();
    w.openWindow();
    ASSERT_TRUE(w.openTab("Settings")) << w.ui().describe();
  }
  std::string bindFile() { return readFile(w.host().cfgDir() / "QMTraining.cfg"); }
  std::vector<std::string> listed() { return comboEntries(w.ui()); }
  void openCombo(const std::string& preview) {
    ASSERT_TRUE(w.ui().click(preview)) << w.ui().describe();
    ASSERT_TRUE(w.ui().waitFor("Type to search...")) << w.ui().describe();
  }
  bool hasSetMaxScore() {
    const auto& calls = w.host().calls;
    return std::any_of(calls.begin(), calls.end(),
                       [](const std::string& call) { return call.rfind("Server.SetMaxScore", 0) == 0; });
  }

  WindowHarness w;
};

TEST_F(SettingsTabTest, PickingAKeyMovesTheResetBindToIt) {
  EXPECT_TRUE(w.ui().shows("Current KeyBoard Keybind: BackSpace"));
  ASSERT_EQ(bindFile(), "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n");
  openCombo("BackSpace");
  w.ui().type("shift");
  ASSERT_TRUE(w.ui().click("RightShift"));
  EXPECT_EQ(bindFile(), "bind XboxTypeS_Back \"controlInput\"\nbind RightShift \"controlInput\"\n");
  EXPECT_FALSE(w.host().pressKey("BackSpace"));
  EXPECT_TRUE(w.host().pressKey("RightShift"));
  EXPECT_TRUE(w.ui().waitFor("Current KeyBoard Keybind: RightShift"));

  // The controller's keys are listed without their "XboxTypeS_".
  openCombo("Back");
  EXPECT_EQ(listed().size(), 16u);
  ASSERT_TRUE(w.ui().click("DPad_Up"));
  EXPECT_EQ(bindFile(), "bind XboxTypeS_DPad_Up \"controlInput\"\nbind RightShift \"controlInput\"\n");
  EXPECT_FALSE(w.host().pressKey("XboxTypeS_Back"));
  EXPECT_TRUE(w.ui().waitFor("Current Controller Keybind: DPad_Up"));
}

TEST_F(SettingsTabTest, TheScoreFixSwitchGivesBackTheSavedLimitOnlyOfflineAfterAReset) {
  // Before any reset there is no saved limit to give back.
  ASSERT_TRUE(w.ui().click("MaxScore = 100"));
  EXPECT_FALSE(w.plugin().maxScoreFixEnabled);
  EXPECT_EQ(w.host().server()->maxScore, 3);
  EXPECT_FALSE(hasSetMaxScore());
  ASSERT_TRUE(w.ui().click("MaxScore = 100"));

  ASSERT_TRUE(w.host().pressKey("BackSpace"));
  EXPECT_EQ(w.host().server()->maxScore, 100);
  ASSERT_TRUE(w.ui().click("MaxScore = 100"));
  EXPECT_EQ(w.host().server()->maxScore, 3);
  // Switched on again, it waits for the next reset.
  ASSERT_TRUE(w.ui().click("MaxScore = 100"));
  EXPECT_TRUE(w.plugin().maxScoreFixEnabled);
  EXPECT_EQ(w.host().server()->maxScore, 3);
  ASSERT_TRUE(w.host().pressKey("BackSpace"));
  EXPECT_EQ(w.host().server()->maxScore, 100);

  // Online the switch changes nothing in the game.
  w.host().startOnlineMatch();
  w.host().calls.clear();
  ASSERT_TRUE(w.ui().click("MaxScore = 100"));
  EXPECT_FALSE(w.plugin().maxScoreFixEnabled);
  EXPECT_FALSE(hasSetMaxScore());
}

}  // namespace
