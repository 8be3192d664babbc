// The "Training" and "Training Settings" tabs, driven as a player drives
// them. What the reset key then does with the shots is the reset cycle's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

#include "tests/support/WindowHarness.h"

namespace {

using testing::_;
using testing::ElementsAre;
using testing::Pair;

class TrainingTabTest : public testing::Test {
 protected:
  // Shots `name`1 .. `name`n in "Pack A"; shot i has ball X 100 * i. The
  // plug-in is on and a local match runs.
  void start(int shotCount, const char* tab = "Training", const std::string& name = "Shot ") {
    for (int i = 1; i <= shotCount; ++i) {
      w.addShot("Pack A", name + std::to_string(i), 100.0f * static_cast<float>(i), i);
    }
    w.enablePlugin();
    w.startLocalMatch();
    w.openWindow();
    ASSERT_TRUE(w.openTab(tab)) << w.ui().describe();
  }
  void click(std::string_view text, uidriver::Mods mods = {}) {
    ASSERT_TRUE(w.ui().click(text, 0, mods)) << text << "\n" << w.ui().describe();
  }
  void expectTooltip(std::string_view item, std::string_view tooltip) {
    ASSERT_TRUE(w.ui().hover(item)) << item;
    EXPECT_TRUE(w.ui().shows(tooltip)) << item;
  }
  // The checkbox of each shot `name`1 .. `name`n, each shown once.
  std::vector<uidriver::ShownText> boxes(const std::string& name, int count) {
    std::vector<uidriver::ShownText> found;
    for (int i = 1; i <= count; ++i) {
      auto shown = w.ui().find(name + std::to_string(i));
      EXPECT_EQ(shown.size(), 1u) << name << i << "\n" << w.ui().describe();
      if (!shown.empty()) found.push_back(shown[0]);
    }
    return found;
  }
  std::vector<bool>& selections() { return w.plugin().shotSelections; }
  std::set<std::string> ticked() {
    std::set<std::string> names;
    for (size_t i = 0; i < w.plugin().shots.size() && i < selections().size(); ++i) {
      if (selections()[i]) names.insert(w.plugin().shots[i].name);
    }
    return names;
  }
  std::vector<bool> all(bool value) { return std::vector<bool>(w.plugin().shots.size(), value); }

  WindowHarness w;
};

TEST_F(TrainingTabTest, ShowsThePacksShotsAsCheckboxesElevenToARowUnderItsName) {
  start(23);
  EXPECT_TRUE(w.ui().shows("Selected: Pack A"));
  std::map<float, int> perRow;
  for (const auto& box : boxes("Shot ", 23)) ++perRow[box.min.y];
  EXPECT_THAT(perRow, ElementsAre(Pair(_, 11), Pair(_, 11), Pair(_, 1)));
}

// The practice since loading above the rows, a shot's figures in its tooltip.
TEST_F(TrainingTabTest, ShowsThePracticeSinceLoadingWithEachShotsFiguresInItsTooltip) {
  start(3);
  EXPECT_TRUE(w.ui().shows("Since loading: 0 attempts, 0 goals (0%)"));
  w.plugin().packResults["Shot 2.shot"].record(true, 1);
  w.plugin().packResults["Shot 2.shot"].record(false, 2);
  w.ui().frame();
  expectTooltip("Shot 2", "1/2 \xC2\xB7 50%");
}

TEST_F(TrainingTabTest, APackNumberOutOfRangeHidesOnlyTheSelectedLine) {
  start(3);
  for (const char* number : {"5", "-1"}) {
    w.console(std::string("TrainingPackNum ") + number);
    w.ui().frames(2);
    EXPECT_TRUE(w.ui().findContaining("Selected:").empty()) << number;
    EXPECT_TRUE(w.ui().shows("Shot 2"));
  }
}

TEST_F(TrainingTabTest, RowsWrapBeforeTheWindowsEdge) {
  const std::string name = "Corner pinch shot ";
  start(40, "Training", name);
  auto window = w.ui().windowRect("Quellmark Training");
  ASSERT_TRUE(window);
  for (const auto& box : boxes(name, 40)) EXPECT_LE(box.max.x, window->max.x) << box.text;
}

TEST_F(TrainingTabTest, ALargePackDrawsOnlyTheRowsScrolledIntoView) {
  start(600);
  std::set<std::string> shownFirst;
  for (const auto& text : w.ui().findContaining("Shot ")) shownFirst.insert(text.text);
  ASSERT_FALSE(shownFirst.empty());
  ASSERT_LT(shownFirst.size(), 600u);

  auto window = w.ui().windowRect("Quellmark Training");
  ASSERT_TRUE(window);
  w.ui().scrollAt(ImVec2((window->min.x + window->max.x) / 2, (window->min.y + window->max.y) / 2), -1000);
  w.ui().frames(2);
  std::string newlyShown;
  for (const auto& text : w.ui().findContaining("Shot ")) {
    if (!shownFirst.count(text.text)) newlyShown = text.text;
  }
  ASSERT_FALSE(newlyShown.empty()) << w.ui().describe();
  click(newlyShown);
  EXPECT_THAT(ticked(), ElementsAre(newlyShown));
}

TEST_F(TrainingTabTest, ShotCheckboxesTickTheirShotsAsShownWithUnderscoresAsSpaces) {
  start(3);
  // Underscores show as spaces, hashes as typed.
  w.plugin().shots[0].name = "Left_wall_pinch";
  w.plugin().shots[1].name = "Corner ##2";
  w.ui().frames(2);
  click("Corner ##2");
  click("Left wall pinch");
  EXPECT_THAT(ticked(), ElementsAre("Corner ##2", "Left_wall_pinch"));
  click("Corner ##2");
  EXPECT_THAT(ticked(), ElementsAre("Left_wall_pinch"));
  expectTooltip("Shot 3", "Toggle This Shot");
}

TEST_F(TrainingTabTest, EnableCarResetWritesItsSwitch) {
  start(3);
  click("Enable Car Reset");
  EXPECT_EQ(w.cvarInt("car_enabled"), 0);
  EXPECT_FALSE(w.plugin().carResetEnabled);
}

TEST_F(TrainingTabTest, SelectAllTicksEveryShotUnlessAllAreTickedWhileThePluginIsOn) {
  start(3);
  click("Shot 1");
  click("Select/Deselect All");
  EXPECT_EQ(selections(), all(true));
  click("Select/Deselect All");
  EXPECT_EQ(selections(), all(false));
  // Every shot ticked by hand: the first click leaves them ticked.
  for (const char* shot : {"Shot 1", "Shot 2", "Shot 3"}) click(shot);
  click("Select/Deselect All");
  EXPECT_EQ(selections(), all(true));
  click("Select/Deselect All");
  w.console("quellmark_enabled 0");
  click("Select/Deselect All");
  EXPECT_EQ(selections(), all(false));
  click("Shot 3");
  EXPECT_THAT(ticked(), ElementsAre("Shot 3"));
}

TEST_F(TrainingTabTest, SwitchingTrainingOnStartsTheShotOrderAgain) {
  start(3);
  w.console("training_order 2");
  click("Shot 1");
  click("Shot 3");
  click("Activate Training");
  ASSERT_TRUE(w.host().pressKey("BackSpace"));
  const float first = w.host().ball()->location.X;
  click("Activate Training");
  click("Activate Training");
  ASSERT_TRUE(w.host().pressKey("BackSpace"));
  EXPECT_EQ(w.host().ball()->location.X, first) << "the order did not start again";
}

TEST_F(TrainingTabTest, EachModifierBoxWritesItsSwitch) {
  start(1, "Training Settings");
  QMTraining& p = w.plugin();
  const std::pair<const char*, bool*> boxes[] = {
      {"Activate modifiers", &p.modifiersActive}, {"Mirror Shots", &p.mirrorShots}, {"Split Shot", &p.splitShot},
      {"Mirror Car", &p.mirrorCar}, {"Split Car", &p.splitCar}, {"Make Ceiling", &p.makeCeiling},
      {"Randomize spawns", &p.randomizeSpawns},
  };
  for (const auto& [label, value] : boxes) {
    click(label);
    EXPECT_TRUE(*value) << label;
  }
  expectTooltip("Split Shot", "Toggles If mirroring the direction and the location of the shot is active or not");
}

TEST_F(TrainingTabTest, TheSpeedControlsWriteTheirVariables) {
  start(1, "Training Settings");
  // The speed list, labelled, writes its mode even when it is already chosen.
  EXPECT_TRUE(w.ui().shows("Ball speed on each reset"));
  int writes = 0;
  w.host().cvarManager()->getCvar("speed_enabled").addOnValueChanged([&](std::string, CVarWrapper) { ++writes; });
  for (int i = 0; i < 2; ++i) click("Reset From Value Below");
  EXPECT_EQ(w.cvarInt("speed_enabled"), 2);
  EXPECT_EQ(writes, 2);
  // A value outside the list is shown with every mode still offered.
  w.console("speed_enabled 7");
  w.ui().frames(2);
  click("Reset from file");
  EXPECT_EQ(w.cvarInt("speed_enabled"), 1);

  click("3000", {.ctrl = true});
  w.ui().type("4000");
  w.ui().pressKey(ImGuiKey_Enter);
  EXPECT_EQ(w.cvarInt("cool_speed"), 4000);
}

TEST_F(TrainingTabTest, TheShotOrderListWritesItsVariable) {
  start(1, "Training Settings");
  EXPECT_TRUE(w.ui().shows("Shot order"));
  for (auto [item, value] :
       {std::pair{"Each once per round", 1}, {"In list order", 2}, {"Focus on misses", 3}, {"Random", 0}}) {
    click(item);
    EXPECT_EQ(w.cvarInt("training_order"), value) << item;
  }
}

TEST_F(TrainingTabTest, EachVarianceSliderWritesItsVariable) {
  start(1, "Training Settings");
  const std::tuple<const char*, const char*, const char*, float> sliders[] = {
      {"variance_location", "0 units", "250", 250},
      {"variance_direction", "0.0 degrees", "12.5", 12.5f},
      {"variance_speed", "0 %", "80", 50},  // held to its end
      {"training_auto_next", "off", "2.5", 2.5f},
  };
  for (const auto& [variable, shown, typed, value] : sliders) {
    click(shown, {.ctrl = true});
    w.ui().type(typed);
    w.ui().pressKey(ImGuiKey_Enter);
    EXPECT_EQ(w.host().cvarManager()->getCvar(variable).getFloatValue(), value) << variable;
  }
  click("Remember training");
  EXPECT_EQ(w.cvarInt("remember_training"), 1);
  expectTooltip("Direction variance",
                "Turns the ball's flight left or right by up to this many degrees on every reset.");
}

// A missing variable hides only what needs it.
TEST_F(TrainingTabTest, AMissingVariableHidesOnlyTheControlsThatNeedIt) {
  start(1, "Training Settings");
  w.host().removeCvar("training_order");
  w.host().removeCvar("variance_direction");
  w.ui().frames(2);
  for (const char* gone : {"Shot order", "In list order", "Direction variance"}) EXPECT_FALSE(w.ui().shows(gone));
  for (const char* kept : {"Sets the Speed Of The Ball", "Location variance", "Speed variance"}) {
    EXPECT_TRUE(w.ui().shows(kept)) << kept;
  }

  // Without the speed mode, the list, the slider and all below them go.
  w.host().removeCvar("speed_enabled");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Enable Car Reset"));
  EXPECT_FALSE(w.ui().shows("No Reset"));
  EXPECT_FALSE(w.ui().shows("Location variance"));
}

}  // namespace
