// The "Training" and "Training Settings" tabs, driven as a player drives
// them, down to what the bound key then does in the game.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <set>

#include "tests/support/WindowHarness.h"

namespace {

using testing::ElementsAre;

// Values of the shots the tests lay down (WindowHarness::addShot).
constexpr float kCarX = 500;
constexpr float kCarZ = 17;

class TrainingTabTest : public testing::Test {
 protected:
  // Shots "Shot 1" .. "Shot n" (or other names ending in the number) in
  // "Pack A"; shot i has ball X 100 * i and car yaw i. The plug-in is
  // switched on (car reset too) and a local match runs.
  void start(int shotCount, const char* tab = "Training", const std::string& name = "Shot ") {
    for (int i = 1; i <= shotCount; ++i) {
      w.addShot("Pack A", name + std::to_string(i), 100.0f * static_cast<float>(i), i);
    }
    w.enablePlugin();
    w.startLocalMatch();
    w.openWindow();
    ASSERT_TRUE(w.openTab(tab)) << w.ui().describe();
  }
  std::vector<bool>& selections() { return w.plugin().shotSelections; }
  // Names of the shots ticked for training, in name order.
  std::set<std::string> ticked() {
    std::set<std::string> names;
    for (size_t i = 0; i < w.plugin().shots.size() && i < selections().size(); ++i) {
      if (selections()[i]) names.insert(w.plugin().shots[i].name);
    }
    return names;
  }
  std::vector<bool> all(bool value) { return std::vector<bool>(w.plugin().shots.size(), value); }
  // The bound keyboard key, as the host runs it.
  void pressResetKey() { ASSERT_TRUE(w.host().pressKey("BackSpace")); }
  // Makes every draw of the reset cycle come from `draws`, in order.
  void scriptDraws(std::deque<int32_t> draws) {
    script = std::move(draws);
    w.plugin().drawNumber = [this](int32_t low, int32_t high) {
      EXPECT_FALSE(script.empty()) << "an unexpected draw from " << low << " to " << high;
      if (script.empty()) return low;
      int32_t value = script.front();
      script.pop_front();
      return value;
    };
  }

  WindowHarness w;
  std::deque<int32_t> script;
};

TEST_F(TrainingTabTest, ShowsTheIntroThePackAndOneCheckboxPerShotElevenToARow) {
  start(23);
  EXPECT_TRUE(w.ui().shows("Here You can pick which shots will show up in training."));
  EXPECT_FALSE(w.ui().findContaining("You can reset your shot by pressing").empty());
  EXPECT_TRUE(w.ui().shows("Selected: Pack A"));
  std::map<float, int> perRow;
  for (int i = 1; i <= 23; ++i) {
    auto found = w.ui().find("Shot " + std::to_string(i));
    ASSERT_EQ(found.size(), 1u) << i << "\n" << w.ui().describe();
    ++perRow[found[0].min.y];
  }
  std::vector<int> rows;
  for (const auto& [y, count] : perRow) rows.push_back(count);
  EXPECT_THAT(rows, ElementsAre(11, 11, 1));
}

TEST_F(TrainingTabTest, RowsWrapBeforeTheWindowsEdgeSoEveryShotCanBeTicked) {
  const std::string name = "Corner pinch shot ";  // names of about 20 characters
  start(40, "Training", name);
  auto window = w.ui().windowRect("Quellmark Training");
  ASSERT_TRUE(window);
  for (int i = 1; i <= 40; ++i) {
    auto found = w.ui().find(name + std::to_string(i));
    ASSERT_EQ(found.size(), 1u) << i << "\n" << w.ui().describe();
    EXPECT_LE(found[0].max.x, window->max.x) << i;
  }
  ASSERT_TRUE(w.ui().click(name + "11"));
  EXPECT_THAT(ticked(), ElementsAre(name + "11"));
}

TEST_F(TrainingTabTest, ALargePackScrollsToShotsOutOfViewAndTicksTheOneClicked) {
  start(600);
  std::set<std::string> shownFirst;
  for (const auto& text : w.ui().findContaining("Shot ")) shownFirst.insert(text.text);
  ASSERT_FALSE(shownFirst.empty());
  ASSERT_LT(shownFirst.size(), 600u);  // rows out of view are not drawn

  auto window = w.ui().windowRect("Quellmark Training");
  ASSERT_TRUE(window);
  w.ui().scrollAt(ImVec2((window->min.x + window->max.x) / 2, (window->min.y + window->max.y) / 2), -1000);
  w.ui().frames(2);
  std::string newlyShown;
  for (const auto& text : w.ui().findContaining("Shot ")) {
    if (!shownFirst.count(text.text)) newlyShown = text.text;
  }
  ASSERT_FALSE(newlyShown.empty()) << w.ui().describe();
  ASSERT_TRUE(w.ui().click(newlyShown));
  EXPECT_THAT(ticked(), ElementsAre(newlyShown));
}

TEST_F(TrainingTabTest, APackNumberOutOfRangeHidesOnlyTheSelectedLine) {
  start(2);
  w.console("TrainingPackNum 5");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().findContaining("Selected:").empty());
  EXPECT_TRUE(w.ui().shows("Activate Training"));
  EXPECT_TRUE(w.ui().shows("Shot 2"));
  w.console("TrainingPackNum -1");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().findContaining("Selected:").empty());
}

TEST_F(TrainingTabTest, ShotCheckboxesAndTheTwoSwitchesWriteTheirState) {
  start(3);
  ASSERT_TRUE(w.ui().click("Shot 2"));
  EXPECT_THAT(ticked(), ElementsAre("Shot 2"));
  ASSERT_TRUE(w.ui().click("Shot 2"));
  EXPECT_THAT(ticked(), testing::IsEmpty());
  EXPECT_EQ(selections().size(), 3u);

  ASSERT_TRUE(w.ui().click("Activate Training"));
  EXPECT_TRUE(w.plugin().trainingActive);
  ASSERT_TRUE(w.ui().click("Enable Car Reset"));
  EXPECT_EQ(w.cvarInt("car_enabled"), 0);
  EXPECT_FALSE(w.plugin().carResetEnabled);

  ASSERT_TRUE(w.ui().hover("Activate Training"));
  EXPECT_TRUE(w.ui().shows("Toggle If Training is active or not"));
  ASSERT_TRUE(w.ui().hover("Enable Car Reset"));
  EXPECT_TRUE(w.ui().shows("Toggle Whether The Car Resets When A Shot Is Reset"));
  ASSERT_TRUE(w.ui().hover("Shot 3"));
  EXPECT_TRUE(w.ui().shows("Toggle This Shot"));
  ASSERT_TRUE(w.ui().hover("Select/Deselect All"));
  EXPECT_TRUE(w.ui().shows("Selects all shots if clicked or deselects them if they are already all selected."));
}

TEST_F(TrainingTabTest, SelectAllSelectsThenClearsEveryShot) {
  start(4);
  ASSERT_TRUE(w.ui().click("Select/Deselect All"));
  EXPECT_EQ(selections(), all(true));
  ASSERT_TRUE(w.ui().click("Select/Deselect All"));
  EXPECT_EQ(selections(), all(false));
}

TEST_F(TrainingTabTest, SelectAllAfterTickingEveryShotByHandLeavesThemTickedFirst) {
  start(3);
  for (const char* shot : {"Shot 1", "Shot 2", "Shot 3"}) ASSERT_TRUE(w.ui().click(shot));
  EXPECT_EQ(selections(), all(true));
  ASSERT_TRUE(w.ui().click("Select/Deselect All"));
  EXPECT_EQ(selections(), all(true));
  ASSERT_TRUE(w.ui().click("Select/Deselect All"));
  EXPECT_EQ(selections(), all(false));
}

TEST_F(TrainingTabTest, WithThePluginOffSelectAllDoesNothingButSingleBoxesWork) {
  start(3);
  w.console("quellmark_enabled 0");
  ASSERT_TRUE(w.ui().click("Select/Deselect All"));
  EXPECT_EQ(selections(), all(false));
  EXPECT_FALSE(w.plugin().allShotsSelected);
  ASSERT_TRUE(w.ui().click("Shot 3"));
  EXPECT_THAT(ticked(), ElementsAre("Shot 3"));
}

TEST_F(TrainingTabTest, NamesShowUnderscoresAsSpacesAndHashesAsTyped) {
  start(2);
  w.plugin().shots[0].name = "Left_wall_pinch";
  w.plugin().shots[1].name = "Corner ##2";
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Left wall pinch"));
  EXPECT_TRUE(w.ui().shows("Corner ##2")) << w.ui().describe();
  ASSERT_TRUE(w.ui().click("Corner ##2"));
  EXPECT_THAT(ticked(), ElementsAre("Corner ##2"));
  ASSERT_TRUE(w.ui().click("Left wall pinch"));
  EXPECT_THAT(ticked(), ElementsAre("Corner ##2", "Left_wall_pinch"));
}

TEST_F(TrainingTabTest, TheBoundKeyPlaysOnlyTheTickedShots) {
  start(5);
  ASSERT_TRUE(w.ui().click("Shot 2"));
  ASSERT_TRUE(w.ui().click("Shot 4"));
  ASSERT_TRUE(w.ui().click("Activate Training"));
  std::set<float> ballXs;
  for (int i = 0; i < 20; ++i) {
    pressResetKey();
    ballXs.insert(w.host().ball()->location.X);
    EXPECT_EQ(w.host().car()->location.X, kCarX);
  }
  EXPECT_THAT(ballXs, testing::IsSubsetOf({200.0f, 400.0f}));
}

TEST_F(TrainingTabTest, SwitchingTrainingOnStartsTheShotOrderAgain) {
  start(4);
  w.console("training_order 2");
  for (const char* shot : {"Shot 1", "Shot 3", "Shot 4"}) ASSERT_TRUE(w.ui().click(shot));
  ASSERT_TRUE(w.ui().click("Activate Training"));
  std::vector<float> ballXs;
  auto press = [&] {
    pressResetKey();
    ballXs.push_back(w.host().ball()->location.X);
  };
  press();
  press();
  ASSERT_TRUE(w.ui().click("Activate Training"));
  press();  // training off: the working shot again
  ASSERT_TRUE(w.ui().click("Activate Training"));
  press();
  // The ticked shots in the order the pack lists them.
  std::vector<float> listed;
  for (const Shot& shot : w.plugin().shots) {
    if (shot.name != "Shot 2") listed.push_back(shot.ballLocationX);
  }
  EXPECT_THAT(ballXs, ElementsAre(listed[0], listed[1], listed[1], listed[0]));
}

// ---- "Training Settings" ----

TEST_F(TrainingTabTest, ModifiersAreOffUntilActivateModifiersIsTicked) {
  start(1, "Training Settings");
  for (const char* box : {"Mirror Shots", "Split Shot", "Mirror Car", "Split Car", "Make Ceiling", "Randomize spawns"}) {
    ASSERT_TRUE(w.ui().click(box)) << box;
  }
  w.plugin().trainingActive = true;
  w.plugin().shotSelections = {true};
  scriptDraws({0});
  pressResetKey();
  EXPECT_EQ(w.host().ball()->location.X, 100);
  EXPECT_EQ(w.host().car()->location.X, kCarX);
  EXPECT_EQ(w.host().car()->location.Z, kCarZ);
  EXPECT_TRUE(script.empty());
}

TEST_F(TrainingTabTest, MirrorShotsAndMirrorCarFlipBallAndCarTogether) {
  start(1, "Training Settings");
  for (const char* box : {"Activate modifiers", "Mirror Shots", "Mirror Car"}) ASSERT_TRUE(w.ui().click(box)) << box;
  EXPECT_TRUE(w.plugin().modifiersActive && w.plugin().mirrorShots && w.plugin().mirrorCar);
  w.plugin().trainingActive = true;
  w.plugin().shotSelections = {true};
  scriptDraws({0, 1});  // the shot, then the mirror bit
  pressResetKey();
  EXPECT_EQ(w.host().ball()->location.X, -100);
  EXPECT_EQ(w.host().car()->location.X, -kCarX);
  EXPECT_EQ(w.host().car()->rotation.Yaw, 32764 - 1);
  w.advance(0.3);
  EXPECT_EQ(w.host().ball()->velocity.X, -10);
}

TEST_F(TrainingTabTest, SplitShotAndSplitCarDrawBitsOfTheirOwn) {
  start(1, "Training Settings");
  for (const char* box : {"Activate modifiers", "Mirror Shots", "Split Shot", "Mirror Car", "Split Car"}) {
    ASSERT_TRUE(w.ui().click(box)) << box;
  }
  w.plugin().trainingActive = true;
  w.plugin().shotSelections = {true};
  scriptDraws({0, 0, 1, 1});  // the shot, ball bit, direction bit, car bit
  pressResetKey();
  EXPECT_EQ(w.host().ball()->location.X, 100);
  EXPECT_EQ(w.host().car()->location.X, -kCarX);
  w.advance(0.3);
  EXPECT_EQ(w.host().ball()->velocity.X, -10);
}

TEST_F(TrainingTabTest, MakeCeilingPutsTheCarOnTheRoofUnlessRandomizeSpawnsSaysOtherwise) {
  start(1, "Training Settings");
  ASSERT_TRUE(w.ui().click("Activate modifiers"));
  ASSERT_TRUE(w.ui().click("Make Ceiling"));
  w.plugin().trainingActive = true;
  w.plugin().shotSelections = {true};
  scriptDraws({0, 7});  // the shot, the ceiling draw
  pressResetKey();
  EXPECT_EQ(w.host().car()->location.Z, 2024.0f);
  EXPECT_EQ(w.host().car()->rotation.Roll, 32764);
  EXPECT_EQ(w.host().car()->rotation.Yaw, 1 + 7);

  ASSERT_TRUE(w.ui().click("Randomize spawns"));
  scriptDraws({0, 7});
  pressResetKey();
  EXPECT_EQ(w.host().car()->location.Z, kCarZ);
  EXPECT_EQ(w.host().car()->rotation.Yaw, 1 + 7);
  scriptDraws({0, 2});
  pressResetKey();
  EXPECT_EQ(w.host().car()->location.Z, 2024.0f);
}

TEST_F(TrainingTabTest, ModifierTooltipsAndTheCarResetSwitchReachingTheKey) {
  start(1, "Training Settings");
  EXPECT_TRUE(w.ui().shows("Modifies Training Shots"));
  ASSERT_TRUE(w.ui().hover("Split Car"));
  EXPECT_TRUE(w.ui().shows("Toggles If mirroring the direction and the location of the car is active or not"));
  ASSERT_TRUE(w.ui().hover("Randomize spawns"));
  EXPECT_TRUE(w.ui().shows("Toggle whether it has a chance to spawn you on the celing."));
  ASSERT_TRUE(w.ui().click("Enable Car Reset"));
  EXPECT_EQ(w.cvarInt("car_enabled"), 0);
  // Without car reset the key leaves the car where it is.
  Vector before = w.host().car()->location;
  pressResetKey();
  EXPECT_EQ(w.host().car()->location.X, before.X);
  ASSERT_TRUE(w.ui().click("Enable Car Reset"));
  EXPECT_EQ(w.cvarInt("car_enabled"), 1);
  pressResetKey();
  EXPECT_EQ(w.host().car()->location.X, kCarX);
}

TEST_F(TrainingTabTest, TheSpeedListWritesTheModeEvenWhenItIsAlreadyChosen) {
  start(1, "Training Settings");
  int writes = 0;
  w.host().cvarManager()->getCvar("speed_enabled").addOnValueChanged([&](std::string, CVarWrapper) { ++writes; });
  EXPECT_TRUE(w.ui().shows("No Reset"));
  EXPECT_TRUE(w.ui().shows("Reset from file"));
  ASSERT_TRUE(w.ui().click("Reset From Value Below"));
  EXPECT_EQ(w.cvarInt("speed_enabled"), 2);
  ASSERT_TRUE(w.ui().click("Reset From Value Below"));
  EXPECT_EQ(w.cvarInt("speed_enabled"), 2);
  EXPECT_EQ(writes, 2);
  ASSERT_TRUE(w.ui().click("No Reset"));
  EXPECT_EQ(w.cvarInt("speed_enabled"), 0);
  // A value outside the list is shown with every mode still offered.
  w.console("speed_enabled 7");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Reset from file"));
  ASSERT_TRUE(w.ui().click("Reset from file"));
  EXPECT_EQ(w.cvarInt("speed_enabled"), 1);
}

TEST_F(TrainingTabTest, TheSpeedSliderWritesTheBallSpeed) {
  start(1, "Training Settings");
  EXPECT_TRUE(w.ui().shows("Sets the Speed Of The Ball"));
  ASSERT_TRUE(w.ui().click("3000", 0, {.ctrl = true})) << w.ui().describe();
  w.ui().type("4000");
  w.ui().pressKey(ImGuiKey_Enter);
  EXPECT_EQ(w.cvarInt("cool_speed"), 4000);

  // Dragged past its end the slider stops at 4600.
  auto value = w.ui().find("4000").at(0);
  w.ui().dragAt(value.center(), ImVec2(value.center().x + 2000, value.center().y));
  EXPECT_EQ(w.cvarInt("cool_speed"), 4600);
  ASSERT_TRUE(w.ui().hover("4600"));
  EXPECT_TRUE(w.ui().shows("The speed of the ball will be 4600"));

  w.console("speed_enabled 2");
  pressResetKey();
  EXPECT_EQ(w.host().ball()->targetSpeed, 4600);
}

TEST_F(TrainingTabTest, ShotOrderAndVarianceControlsWriteTheirVariables) {
  start(1, "Training Settings");
  EXPECT_TRUE(w.ui().shows("Shot order"));
  for (auto [item, value] : {std::pair{"Each once per round", 1}, {"In list order", 2}, {"Random", 0}}) {
    ASSERT_TRUE(w.ui().click(item)) << item << "\n" << w.ui().describe();
    EXPECT_EQ(w.cvarInt("training_order"), value) << item;
  }

  struct Slider {
    const char* variable;
    const char* shown;
    const char* typed;
    float value;
    const char* label;
    const char* tooltip;
  } sliders[] = {
      {"variance_location", "0 units", "250", 250, "Location variance",
       "Moves the ball's start by up to this many units sideways and lengthways on every reset."},
      {"variance_direction", "0.0 degrees", "12.5", 12.5f, "Direction variance",
       "Turns the ball's flight left or right by up to this many degrees on every reset."},
      {"variance_speed", "0 %", "80", 50, "Speed variance",  // held to its end
       "Makes the ball fly up to this many percent faster or slower on every reset."},
  };
  for (const Slider& slider : sliders) {
    SCOPED_TRACE(slider.variable);
    ASSERT_TRUE(w.ui().click(slider.shown, 0, {.ctrl = true})) << w.ui().describe();
    w.ui().type(slider.typed);
    w.ui().pressKey(ImGuiKey_Enter);
    EXPECT_EQ(w.host().cvarManager()->getCvar(slider.variable).getFloatValue(), slider.value);
    ASSERT_TRUE(w.ui().hover(slider.label));
    EXPECT_TRUE(w.ui().shows(slider.tooltip));
  }
}

TEST_F(TrainingTabTest, AMissingVariableHidesWhatNeedsIt) {
  start(1, "Training Settings");
  // A missing shot-order or variance variable hides only its own control.
  w.host().removeCvar("training_order");
  w.host().removeCvar("variance_direction");
  w.ui().frames(2);
  EXPECT_FALSE(w.ui().shows("Shot order"));
  EXPECT_FALSE(w.ui().shows("In list order"));
  EXPECT_FALSE(w.ui().shows("Direction variance"));
  EXPECT_TRUE(w.ui().shows("Sets the Speed Of The Ball"));
  EXPECT_TRUE(w.ui().shows("Location variance"));
  EXPECT_TRUE(w.ui().shows("Speed variance"));

  // Without the speed mode, the list, the slider and all below them go.
  w.host().removeCvar("speed_enabled");
  w.ui().frames(2);
  EXPECT_TRUE(w.ui().shows("Enable Car Reset"));
  EXPECT_FALSE(w.ui().shows("No Reset"));
  EXPECT_FALSE(w.ui().shows("Sets the Speed Of The Ball"));
  EXPECT_FALSE(w.ui().shows("Location variance"));
  EXPECT_TRUE(w.ui().shows("Training Settings"));
}

}  // namespace
