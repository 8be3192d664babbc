// The settings window as the host shows it: the tab bar, closing, an error
// in a frame, the master switch.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/WindowHarness.h"

namespace {

constexpr const char* kTitle = "Quellmark Training";
const char* const kTabs[] = {"How To Use",        "Training Packs", "Shots",      "Training",
                             "Training Settings", "Settings",       "Change Logs"};

class WindowFrame : public testing::Test {
 protected:
  WindowFrame() { w.openWindow(); }
  void click(std::string_view text) { ASSERT_TRUE(w.ui().click(text)) << text << "\n" << w.ui().describe(); }
  void expectChangeLogsShown() {
    ASSERT_TRUE(w.openTab("Change Logs"));
    EXPECT_TRUE(w.ui().shows("Version 5.0"));
  }

  WindowHarness w;
};

TEST_F(WindowFrame, ShowsTheTitleWithEveryTabInOrderUnlessTheEditorIsOpen) {
  ASSERT_TRUE(w.ui().shows(kTitle)) << w.ui().describe();
  float lastX = 0;
  for (const char* tab : kTabs) {
    ASSERT_EQ(w.ui().find(tab).size(), 1u) << tab << "\n" << w.ui().describe();
    EXPECT_GT(w.ui().find(tab).at(0).min.x, lastX) << tab;
    lastX = w.ui().find(tab).at(0).min.x;
  }

  // The editor takes the whole window.
  w.plugin().editorOpen = true;
  w.ui().frames(2);
  for (const char* tab : kTabs) EXPECT_FALSE(w.ui().shows(tab)) << tab;
}

TEST_F(WindowFrame, WantsInputOnlyWithTheMouseOverTheWindow) {
  w.ui().hoverAt(ImVec2(1270, 790));
  EXPECT_FALSE(w.plugin().WantsInput());
  ASSERT_TRUE(w.ui().hover("How To Use"));
  EXPECT_TRUE(w.plugin().WantsInput());
}

TEST_F(WindowFrame, TheCloseButtonAsksTheHostToCloseTheWindowOnce) {
  ASSERT_TRUE(w.ui().clickCloseButton(kTitle));
  EXPECT_FALSE(w.windowShown());
  EXPECT_FALSE(w.plugin().isWindowOpen);
  w.ui().frames(3);
  EXPECT_EQ(w.toggleRequests(), 1);
}

TEST_F(WindowFrame, AnErrorPartWayThroughAFrameEndsItCleanlyWithOneLine) {
  // The host runs this while the window draws the master switch's change.
  w.host().cvarManager()->getCvar("quellmark_enabled").addOnValueChanged([](std::string, CVarWrapper) {
    throw std::runtime_error("a broken hook");
  });
  click("Enable QuellmarkTraining");
  EXPECT_TRUE(w.logged("The settings window stopped by an error: a broken hook"));
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Enable QuellmarkTraining"));
  expectChangeLogsShown();
}

TEST_F(WindowFrame, TheMasterSwitchTogglesItsVariableSwitchingTrainingOffEitherWay) {
  w.plugin().trainingActive = true;
  click("Enable QuellmarkTraining");
  EXPECT_EQ(w.cvarInt("quellmark_enabled"), 1);
  EXPECT_FALSE(w.plugin().trainingActive);

  // Switched on from the console, a click switches it off.
  w.console("quellmark_enabled 1");
  w.plugin().trainingActive = true;
  click("Enable QuellmarkTraining");
  EXPECT_EQ(w.cvarInt("quellmark_enabled"), 0);
  EXPECT_FALSE(w.plugin().trainingActive);
}

// Without its variable the tab shows nothing and the window goes on.
TEST_F(WindowFrame, WithoutTheMasterVariableTheFirstTabIsBlankButTheOthersWork) {
  EXPECT_TRUE(w.ui().shows("shots manipulate the object on the axis between the celing and floor"));
  w.host().removeCvar("quellmark_enabled");
  w.ui().frames(2);
  EXPECT_FALSE(w.ui().shows("Enable QuellmarkTraining"));
  EXPECT_TRUE(w.ui().findContaining("Quellmark Training is set up").empty());
  expectChangeLogsShown();
}

}  // namespace
