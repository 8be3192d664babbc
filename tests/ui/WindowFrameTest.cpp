// The settings window as the host shows it: the tab bar, closing, the
// editor's hold on the window and the master switch. (Its first frame's
// start-up work is tested with the migration.)

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/WindowHarness.h"

namespace {

using testing::HasSubstr;

constexpr const char* kTitle = "Quellmark Training";
const char* const kTabs[] = {"How To Use",        "Training Packs", "Shots",      "Training",
                             "Training Settings", "Settings",       "Change Logs"};

TEST(WindowFrame, ShowsTheTitleAndEveryTabInOrderAndWantsInputUnderTheMouse) {
  WindowHarness w;
  w.openWindow();
  ASSERT_TRUE(w.ui().shows(kTitle)) << w.ui().describe();
  float lastX = 0;
  for (const char* tab : kTabs) {
    ASSERT_EQ(w.ui().find(tab).size(), 1u) << tab << "\n" << w.ui().describe();
    EXPECT_GT(w.ui().find(tab).at(0).min.x, lastX) << tab;
    lastX = w.ui().find(tab).at(0).min.x;
  }
  EXPECT_TRUE(w.ui().shows("Enable QuellmarkTraining"));
  auto rect = w.ui().windowRect(kTitle);
  ASSERT_TRUE(rect.has_value());
  EXPECT_GE(rect->max.x - rect->min.x, 800);
  EXPECT_GE(rect->max.y - rect->min.y, 400);
  EXPECT_EQ(w.plugin().WindowTitle(), kTitle);
  EXPECT_EQ(w.plugin().MenuName(), "QMTraining");
  EXPECT_TRUE(w.plugin().IsOverlayWindow());

  w.ui().hoverAt(ImVec2(1270, 790));
  EXPECT_FALSE(w.plugin().WantsInput());
  ASSERT_TRUE(w.ui().hover("How To Use"));
  EXPECT_TRUE(w.plugin().WantsInput());
}

TEST(WindowFrame, TheCloseButtonAsksTheHostToCloseTheWindowInEveryFrameUntilItDoes) {
  WindowHarness w;
  w.openWindow();
  w.host().clearLog();
  ASSERT_TRUE(w.ui().clickCloseButton(kTitle));
  EXPECT_FALSE(w.windowShown());
  EXPECT_FALSE(w.plugin().isWindowOpen);
  EXPECT_EQ(w.toggleRequests(), 1);
  // The command goes through the console with logging on.
  EXPECT_THAT(w.host().logLines(), testing::Contains(HasSubstr("togglemenu QMTraining")));
  w.ui().frames(3);
  EXPECT_EQ(w.toggleRequests(), 1);
  EXPECT_FALSE(w.ui().shows(kTitle));

  // A host that does not close the window (yet) keeps drawing it.
  w.console("togglemenu QMTraining");
  w.ui().frames(2);
  int requests = 0;
  w.host().onToggleMenu = [&](const std::string&) {
    ++requests;
    return true;
  };
  ASSERT_TRUE(w.ui().clickCloseButton(kTitle));
  const int afterClick = requests;
  EXPECT_GE(afterClick, 1);
  w.ui().frames(3);
  EXPECT_EQ(requests, afterClick + 3);
}

TEST(WindowFrame, TheEditorHoldsTheWindowOpenAndHidesTheMainTabs) {
  WindowHarness w;
  w.openWindow();
  w.plugin().editorOpen = true;
  w.ui().frames(2);
  for (const char* tab : kTabs) EXPECT_FALSE(w.ui().shows(tab)) << tab;
  EXPECT_TRUE(w.ui().shows(kTitle));

  // The host closes its menu (a toggle from the console): the flag stays.
  w.console("togglemenu QMTraining");
  EXPECT_FALSE(w.windowShown());
  EXPECT_TRUE(w.plugin().isWindowOpen);

  w.plugin().editorOpen = false;
  w.console("togglemenu QMTraining");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("How To Use"));
  w.console("togglemenu QMTraining");
  EXPECT_FALSE(w.plugin().isWindowOpen);
}

TEST(WindowFrame, AnErrorPartWayThroughAFrameEndsItCleanlyWithOneLine) {
  WindowHarness w;
  w.openWindow();
  // The host runs this while the window draws the master switch's change.
  w.host().cvarManager()->getCvar("quellmark_enabled").addOnValueChanged([](std::string, CVarWrapper) {
    throw std::runtime_error("a broken hook");
  });
  ASSERT_TRUE(w.ui().click("Enable QuellmarkTraining"));
  EXPECT_TRUE(w.logged("The settings window stopped by an error: a broken hook"));
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Enable QuellmarkTraining"));
  ASSERT_TRUE(w.openTab("Change Logs"));
  EXPECT_TRUE(w.ui().shows("Version 5.0"));
}

TEST(WindowFrame, ACollapsedWindowDrawsNoTabs) {
  WindowHarness w;
  w.openWindow();
  ASSERT_TRUE(w.ui().clickCollapseButton(kTitle));
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows(kTitle));
  EXPECT_FALSE(w.ui().shows("How To Use"));
  EXPECT_FALSE(w.ui().shows("Enable QuellmarkTraining"));
  ASSERT_TRUE(w.ui().clickCollapseButton(kTitle));
  EXPECT_TRUE(w.ui().waitFor("Enable QuellmarkTraining"));
}

TEST(MasterSwitch, TogglesThePluginAndSwitchesTrainingOffEitherWay) {
  WindowHarness w;
  w.openWindow();
  ASSERT_TRUE(w.ui().click("Enable QuellmarkTraining"));
  EXPECT_EQ(w.cvarInt("quellmark_enabled"), 1);
  EXPECT_TRUE(w.plugin().pluginEnabled);

  w.plugin().trainingActive = true;
  ASSERT_TRUE(w.ui().click("Enable QuellmarkTraining"));
  EXPECT_EQ(w.cvarInt("quellmark_enabled"), 0);
  EXPECT_FALSE(w.plugin().pluginEnabled);
  EXPECT_FALSE(w.plugin().trainingActive);

  // The box shows the variable as it is now: switched on from the console,
  // a click switches it off.
  w.console("quellmark_enabled 1");
  w.plugin().trainingActive = true;
  ASSERT_TRUE(w.ui().click("Enable QuellmarkTraining"));
  EXPECT_EQ(w.cvarInt("quellmark_enabled"), 0);
  EXPECT_FALSE(w.plugin().trainingActive);

  ASSERT_TRUE(w.ui().hover("Enable QuellmarkTraining"));
  EXPECT_TRUE(w.ui().shows("Toggle Whether The Plugin is on or off"));

  // Without its variable the tab shows nothing and the window goes on.
  w.host().removeCvar("quellmark_enabled");
  w.ui().frames(2);
  EXPECT_FALSE(w.ui().shows("Enable QuellmarkTraining"));
  EXPECT_TRUE(w.ui().findContaining("Quellmark Training is set up").empty());
  ASSERT_TRUE(w.openTab("Change Logs"));
  EXPECT_TRUE(w.ui().shows("Version 5.0"));
}

}  // namespace
