// The "Settings" tab (key binds through the searchable combo boxes, the
// maximum-score switch) and the texts of "How To Use" and "Change Logs".

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

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
  // Entries of an open combo list.
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
  for (const char* text : {"Current Controller Keybind: Back", "Select Controller Keybind",
                           "Current KeyBoard Keybind: BackSpace", "Select KeyBoard Keybind",
                           "Fixes the max seven goals in quellmark bug thats been in the game forever. You can "
                           "turn it off below."}) {
    EXPECT_TRUE(w.ui().shows(text)) << text << "\n" << w.ui().describe();
  }
  openCombo("Back");
  EXPECT_THAT(listed(), ElementsAre("LeftThumbStick", "RightThumbStick", "Start", "Y", "X", "B", "A", "LeftShoulder",
                                    "RightShoulder", "LeftTrigger", "RightTrigger", "Back", "DPad_Up", "DPad_Down",
                                    "DPad_Left", "DPad_Right"));
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

// ---- texts ----

// The visible lines of a text: one per line break, without trailing
// spaces (spaces draw nothing), empty lines left out.
std::vector<std::string> visibleLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> shownTexts(const uidriver::UiDriver& ui, float below) {
  std::vector<std::string> out;
  for (const auto& s : ui.shown()) {
    if (s.min.y > below) out.push_back(s.text);
  }
  return out;
}

TEST(HelpTabs, HowToUseAndChangeLogsShowTheirTextsLineForLine) {
  WindowHarness w;
  w.openWindow();
  const std::string usage =
      "\nQuellmark Training is set up into two Main Sections. That being creating the shots and selecting which\n\n"
      "shots you want to practice. Creating the shots are found under the tabs, Ball and Car Location. Selecting\n\n"
      "from the various shots you want to use as practice can be found under the Training tab. In order to \n\n"
      "create a shot first go to the Ball tab and change the sliders how you see fit. Then do the same under \n\n"
      "the Car Location tab. You can test each aspect of the shot by pressing the various buttons. When you \n\n"
      "are all done go back to the Ball tab and select a shot from the dropdown menu, name it in the textbox \n\n"
      "and click overide. This will delete the shot data, that is stored in that specific shot so be careful to \n\n"
      "select a shot you want to overide. X values of shots manipulate the object on the axis between the \n\n"
      "side walls. Y values of shots manipulate the object on the axis between the goals. Z values of \n\n"
      "shots manipulate the object on the axis between the celing and floor";
  float switchY = w.ui().find("Enable QuellmarkTraining").at(0).max.y;
  auto lines = visibleLines(usage);
  EXPECT_EQ(shownTexts(w.ui(), switchY), lines);
  // The leading line break leaves an empty line under the switch.
  EXPECT_GT(w.ui().find(lines[0]).at(0).min.y - switchY, w.ui().find(lines[0]).at(0).max.y - w.ui().find(lines[0]).at(0).min.y);

  ASSERT_TRUE(w.openTab("Change Logs"));
  const std::string changes =
      "Version 5.0 \n-Made the UI a little better. \n-added Training Packs \n-shots are now made dynamically. \n"
      "-added a training modifiers section \n-fixed keybinds not always saving or being buggy \n-uncapped shot "
      "total but warnings are given at 60 \n-can now put the car on the celling or wall \n-fixed quellmark max "
      "score being hardcapped at 7\n- minor fixes";
  float tabsY = w.ui().find("Change Logs").at(0).max.y;
  EXPECT_EQ(shownTexts(w.ui(), tabsY), visibleLines(changes));
}

}  // namespace
