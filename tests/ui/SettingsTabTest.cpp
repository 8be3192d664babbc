// The "Settings" tab (key binds, the maximum-score switch) and the texts of
// "How To Use" and "Change Logs".

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/WindowHarness.h"

namespace {

using testing::ElementsAre;

class SettingsTabTest : public testing::Test {
 protected:
  void SetUp() override {
    w.enablePlugin();
    w.startLocalMatch();
    w.openWindow();
    ASSERT_TRUE(w.openTab("Settings")) << w.ui().describe();
  }
  std::string bindFile() { return readFile(w.host().cfgDir() / "QMTraining.cfg"); }
  std::vector<std::string> listed() {
    std::vector<std::string> out;
    for (const auto& s : w.ui().shown()) {
      if (s.window.rfind("##Combo_", 0) == 0) out.push_back(s.text);
    }
    return out;
  }
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

TEST_F(SettingsTabTest, ShowsTheBoundKeysWithControllerNamesShortened) {
  for (const char* text : {"Current Controller Keybind: Back", "Current KeyBoard Keybind: BackSpace",
                           "Fixes the max seven goals in quellmark bug thats been in the game forever. You can "
                           "turn it off below."}) {
    EXPECT_TRUE(w.ui().shows(text)) << text << "\n" << w.ui().describe();
  }
  openCombo("Back");
  EXPECT_EQ(listed().size(), 16u);
  EXPECT_EQ(listed().front(), "LeftThumbStick");
}

TEST_F(SettingsTabTest, PickingAKeyByTypingRewritesTheBindFileAndUnbindsTheOldKey) {
  ASSERT_EQ(bindFile(), "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n");
  openCombo("BackSpace");
  w.ui().type("shift");
  EXPECT_THAT(listed(), ElementsAre("LeftShift", "RightShift"));
  ASSERT_TRUE(w.ui().click("RightShift"));

  EXPECT_EQ(w.plugin().keyboardKeyNames.at(static_cast<size_t>(w.plugin().keyboardKeyIndex)), "RightShift");
  EXPECT_EQ(bindFile(), "bind XboxTypeS_Back \"controlInput\"\nbind RightShift \"controlInput\"\n");
  EXPECT_FALSE(w.host().pressKey("BackSpace"));
  EXPECT_TRUE(w.host().pressKey("RightShift"));
  EXPECT_TRUE(w.host().pressKey("XboxTypeS_Back"));
  ASSERT_TRUE(w.ui().waitFor("Current KeyBoard Keybind: RightShift"));

  openCombo("Back");
  w.ui().type("dpad_u");
  ASSERT_TRUE(w.ui().click("DPad_Up"));
  EXPECT_EQ(bindFile(), "bind XboxTypeS_DPad_Up \"controlInput\"\nbind RightShift \"controlInput\"\n");
  EXPECT_FALSE(w.host().pressKey("XboxTypeS_Back"));
  EXPECT_TRUE(w.host().pressKey("XboxTypeS_DPad_Up"));
  EXPECT_TRUE(w.ui().waitFor("Current Controller Keybind: DPad_Up"));
}

TEST_F(SettingsTabTest, TheScoreFixSwitchGivesBackTheSavedLimitOnlyAfterAResetAndOffline) {
  ASSERT_TRUE(w.ui().hover("MaxScore = 100"));
  EXPECT_TRUE(w.ui().shows("Toggle If max Score is set to 100 or not"));
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

TEST(HelpTabs, HowToUseAndChangeLogsShowTheirTextsLineForLine) {
  WindowHarness w;
  w.openWindow();
  // Every line break starts a line; the leading one leaves an empty line
  // under the switch.
  const float switchY = w.ui().find("Enable QuellmarkTraining").at(0).max.y;
  const auto first = w.ui().find("Quellmark Training is set up into two Main Sections. That being creating the shots "
                                 "and selecting which");
  ASSERT_EQ(first.size(), 1u) << w.ui().describe();
  EXPECT_GT(first[0].min.y - switchY, first[0].max.y - first[0].min.y);
  EXPECT_TRUE(w.ui().shows("shots manipulate the object on the axis between the celing and floor"));
  const auto shown = w.ui().shown();
  EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [&](const auto& text) { return text.min.y > switchY; }), 10);

  ASSERT_TRUE(w.openTab("Change Logs"));
  for (const char* line : {"Version 5.0", "-uncapped shot total but warnings are given at 60", "- minor fixes"}) {
    EXPECT_TRUE(w.ui().shows(line)) << line << "\n" << w.ui().describe();
  }
}

}  // namespace
