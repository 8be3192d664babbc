// The shot editor as a player uses it: fields and their rules, name checks,
// saving, editing, cancelling, the test buttons, the preview.

#include <gmock/gmock.h>

#include <filesystem>
#include <limits>

#include "playback/MomentCapture.h"
#include "pluginsdk/sim/Motion.h"
#include "tests/tabs/WindowFixture.h"
#include "ui/NameRules.h"
#include "ui/TextFields.h"

namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::UnorderedElementsAre;

constexpr const char* takenMessage = "A Shot with this name already exists!";
constexpr const char* forbiddenMessage =
    "Your Shot Name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";

class ShotEditorTest : public WindowTest {
 protected:
  ShotEditorTest() {
    addPack("Pack", {"Alpha", "Beta"});
    showWindow();
    openTab("Shots");
  }
  void openNewShot() {
    clickAndExpect("Create New Shot", "Type Shot Name");
  }
  void nameAndSave(const std::string& shown, const std::string& name) {
    replaceText(shown, name);
    click("Save Shot");
  }
  // Drags the `occurrence`-th slider showing `value` to an end of the window.
  void dragSlider(std::string_view value, int occurrence, bool toRight) {
    auto shown = ui().find(value);
    ASSERT_GT(shown.size(), static_cast<size_t>(occurrence)) << ui().describe();
    ImVec2 from = shown[static_cast<size_t>(occurrence)].center();
    ui().dragAt(from, ImVec2(toRight ? 1279.0f : 1.0f, from.y));
  }
  // The preview's line beginning with `lead`, as shown ("" when it is not).
  std::string previewLine(std::string_view lead) {
    auto shown = ui().findContaining(lead);
    return shown.empty() ? "" : shown[0].text;
  }
};

TEST_F(ShotEditorTest, TheEditorsFieldsMakeTheShotItSaves) {
  openNewShot();
  EXPECT_EQ(harness.cvarInt("speed_enabled"), 2);
  dragSlider("0.000", 0, true);  // ball X, past its right end
  EXPECT_EQ(plugin().ballLocationX, 4096.0f);
  // Text fields take the typed number by their rules when left; the saved
  // line below pins each value.
  click("Enable textboxes");
  replaceText("0.000", "-12.5", 0);  // ball Y
  ASSERT_TRUE(ui().hover("-12.500"));
  EXPECT_TRUE(shows("The Y position of the ball is -12.500000"));
  replaceText("0.000", "1+2", 0);    // ball Z: not a number, no change
  EXPECT_TRUE(shows("0.000"));
  // Tab, and a click on a field drawn above, leave a field as Enter does.
  replaceText("0.000", "1200", 1, false);  // velocity X
  ui().pressKey(ImGuiKey_Tab);
  ui().type("-300");  // into velocity Y, whose text Tab selected
  plugin().ballLocationX = 4095.9995f;  // shown as 4096.000
  click("4096.000");                     // ball X
  ui().type("7");
  ui().pressKey(ImGuiKey_Escape);  // takes the edit back, keeping the digits not shown
  EXPECT_EQ(plugin().ballLocationX, 4095.9995f);
  replaceText("4096.000", "-5000");  // clamped
  replaceText("3000", "3100.2");     // the speed rounds up like every integer

  clickAndExpect("Car location", "Car Yaw Rotation Value");
  replaceText("0", "12.3", 0);             // yaw rounds up
  replaceText("0", "-99999999999999", 1);  // roll: far beyond 32 bits
  click("Enable textboxes");               // back to sliders
  dragSlider("0", 0, false);               // pitch, past its left end
  click("Enable textboxes");               // saving switches them off again
  click("Ball");
  nameAndSave("Insert Shot Name Here", "Made Shot");

  expectShown("Create New Shot");
  EXPECT_FALSE(plugin().useTextboxes);
  EXPECT_EQ(shotFile("Pack", "Made Shot"), "0 -4096 -12.5 1200 -300 0 0 0 0 13 Made_Shot 3101 -32764 -32764");
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha", "Beta", "Made Shot"));
  EXPECT_EQ(harness.cvarInt("speed_enabled"), 1);
}

TEST_F(ShotEditorTest, SaveWaitsForAGoodNameSayingWhatIsWrong) {
  openNewShot();
  const std::pair<const char*, const char*> cases[] = {
      {"Alpha", takenMessage}, {"a/b", forbiddenMessage}, {"_ _", blankMessage},
      {"Shots12", namerules::reservedShotNameMessage}, {"aux.txt", namerules::deviceNameMessage},
      {"Demo: 1", namerules::unlistedForbiddenMessage}, {"", emptyMessage}};
  std::string shown = "Insert Shot Name Here";
  for (const auto& [typed, message] : cases) {
    replaceText(shown, typed);
    shown = typed;
    for (const auto& other : cases) EXPECT_EQ(shows(other.second), other.second == message) << typed;
    click("Save Shot");
  }
  EXPECT_TRUE(plugin().editorOpen);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));
  // The empty field shows no text: a click left of its label.
  const auto label = ui().find("Type Shot Name").at(0);
  ui().clickAt(ImVec2(label.min.x - 40, label.center().y));
  ui().type("Fine Name");
  click("Save Shot");
  EXPECT_FALSE(plugin().editorOpen);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta", "Fine Name"));
}

TEST_F(ShotEditorTest, TheEditorsFooterStaysInViewOnBothTabs) {
  ImGui::SetCurrentContext(ui().context());
  ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1000, 400));
  openNewShot();
  ui().frame();  // the tab bar's labels show from its second frame on
  for (const char* tab : {"Ball", "Car location"}) {
    clickAndExpect(tab, "Save Shot");
    for (const char* shown : {"Type Shot Name", "Insert Shot Name Here", "Cancel"}) {
      EXPECT_TRUE(shows(shown)) << tab << ": " << shown << "\n" << ui().describe();
    }
  }
  nameAndSave("Insert Shot Name Here", "From The Car Tab");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta", "From The Car Tab"));
}

TEST_F(ShotEditorTest, EditingUnderItsOwnNameRewritesTheShotsFile) {
  clickShotRow("Edit", "Alpha");
  expectShown("Currently editing shot: Alpha");
  EXPECT_FALSE(shows(takenMessage));
  EXPECT_EQ(harness.cvarInt("cool_speed"), 3200);
  EXPECT_EQ(harness.cvarInt("car_enabled"), 0);
  click("Enable textboxes");
  replaceText("10.000", "777");
  replaceText("Alpha", "Beta");  // another shot's name
  EXPECT_TRUE(shows(takenMessage));
  click("Edit Shot");
  EXPECT_TRUE(plugin().editorOpen);
  replaceText("Beta", "Alpha");
  EXPECT_FALSE(shows(takenMessage));
  click("Edit Shot");
  EXPECT_FALSE(plugin().editorOpen);
  EXPECT_EQ(shotFile("Pack", "Alpha"), "92.5 777 3500 0 -2500 800 0 -4608 17 16384 Alpha 3200 0 0");
  // What it held comes back beside it, named after it.
  clickAndExpect("Undo", "Alpha 2");
  EXPECT_EQ(shotFile("Pack", "Alpha 2"), shotLine("Alpha 2", 10));
  EXPECT_FALSE(shows("Replaced \"Alpha\"."));

  expectShown("Create New Shot");
}

TEST_F(ShotEditorTest, EditingUnderAFreeNameMovesTheShotsFile) {
  clickShotRow("Edit", "Beta");
  expectShown("Edit Shot");
  replaceText("Beta", "Gamma");
  click("Edit Shot");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Gamma"));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha", "Gamma"));
}

TEST_F(ShotEditorTest, CancelAfterTheTestButtonMovedTheBallLeavesEverythingAsItWas) {
  harness.startLocalMatch();
  clickShotRow("Edit", "Beta");
  expectShown("Edit Shot");
  click("Enable textboxes");
  replaceText("20.000", "1000");
  harness.host().calls.clear();
  click("Moves The Ball");
  ui().frames(2);
  EXPECT_THAT(harness.host().calls, Contains(testing::StartsWith("Ball.SetLocation(1000, ")));
  clickAndExpect("Cancel", "Create New Shot");
  EXPECT_FALSE(plugin().useTextboxes);
  EXPECT_EQ(shotFile("Pack", "Beta"), shotLine("Beta", 20));
  EXPECT_EQ(plugin().ballLocationX, plugin().shots.at(0).ballLocationX);
}

TEST_F(ShotEditorTest, ClosingTheEditorPutsBothSwitchesBackInStepWithTheConsole) {
  harness.console("quellmark_enabled 0");
  for (auto [opener, closer] : {std::pair{"Create New Shot", "Cancel"}, {"Create New Shot", "Save Shot"},
                                {"Edit", "Cancel"}, {"Edit", "Edit Shot"}}) {
    SCOPED_TRACE(std::string(opener) + ", then " + closer);
    harness.console("car_enabled 1");
    harness.console("speed_enabled 0");
    plugin().trainingActive = true;
    clickAndExpect(opener, closer);
    EXPECT_TRUE(plugin().pluginEnabled);  // the try-out buttons work in the editor
    EXPECT_FALSE(plugin().trainingActive);  // the key press plays the shot being made
    click(closer);
    EXPECT_TRUE(ui().waitFor("Create New Shot"));
    EXPECT_FALSE(plugin().pluginEnabled);
    EXPECT_EQ(plugin().carResetEnabled, harness.cvarInt("car_enabled") == 1);
    EXPECT_EQ(harness.cvarInt("speed_enabled"), 0);
  }
}

TEST_F(ShotEditorTest, PickingAShotLoadsItSwitchingTrainingOff) {
  harness.startLocalMatch();
  plugin().trainingActive = true;
  plugin().modifiersActive = true;
  click("Beta");
  EXPECT_EQ(plugin().ballLocationX, 20.0f);
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_FALSE(plugin().modifiersActive);
}

TEST_F(ShotEditorTest, ThePreviewFollowsThePickedShotOrTheSliders) {
  // Steep enough to land before reaching the goal.
  for (const auto& [name, x] : {std::pair{"Alpha", 10}, std::pair{"Beta", 20}}) {
    addShot("Pack", name, fmt::format("92.5 {} 3500 0 -1500 1500 0 -4608 17 16384 {} 3200 0 0", x, name));
  }
  plugin().loadTrainingPack(0);
  harness.startLocalMatch();
  click("Beta");
  // The Shots tab shows the current shot, flying at its own speed.
  EXPECT_EQ(previewLine("Lands: "), "Lands: X 20, Y -1812");
  EXPECT_TRUE(shows("orange net: +Y"));
  click("Alpha");
  EXPECT_EQ(previewLine("Apex: "), "Apex: 1951");
  EXPECT_EQ(previewLine("Lands: "), "Lands: X 10, Y -1812");

  openNewShot();
  EXPECT_EQ(previewLine("Apex: "), "Apex: 93");  // at rest on the centre spot, held above the floor
  EXPECT_EQ(previewLine("Lands: "), "Lands: X 0, Y 0");
  dragSlider("0.000", 2, true);  // ball Z: at rest under the ceiling
  EXPECT_EQ(previewLine("Apex: "), "Apex: 1951");  // held under the ceiling
  EXPECT_EQ(previewLine("Lands: "), "Lands: not within 3 s");
  dragSlider("0.000", 3, false);  // velocity Y: thrown toward the blue goal
  const std::string lands = previewLine("Lands: ");
  EXPECT_THAT(lands, testing::StartsWith("Lands: X 0, Y -"));
  EXPECT_GT(lands.size(), std::string("Lands: X 0, Y -").size()) << lands;
}


TEST_F(ShotEditorTest, AShotThatCannotBeSavedSaysWhyInTheOpenEditor) {
  // A folder holds the name: the save is refused.
  std::filesystem::create_directories(harness.packFolder("Pack") + "/Blocked.shot");
  harness.startLocalMatch();
  openNewShot();
  click("Enable textboxes");
  replaceText("0.000", "1234", 0);
  nameAndSave("Insert Shot Name Here", "Blocked");
  expectShown("A shot file named \"Blocked\" is already in the pack");
  EXPECT_TRUE(plugin().editorOpen);
  EXPECT_EQ(plugin().ballLocationX, 1234.0f);  // the pack was not reloaded over it
  clickAndExpect("Cancel", "Create New Shot");
  openNewShot();  // a new editor: the name has not failed yet
  replaceText("Insert Shot Name Here", "Blocked");
  EXPECT_FALSE(shows("A shot file named \"Blocked\" is already in the pack"));
  nameAndSave("Blocked", "Free");
  EXPECT_FALSE(plugin().editorOpen);
  EXPECT_THAT(shotFilesIn("Pack"), Contains("Free"));

  // An edit whose pack folder went while the editor was open.
  expectShown("Create New Shot");
  clickShotRow("Edit", "Free");
  expectShown("Edit Shot");
  std::filesystem::remove_all(harness.packFolder("Pack"));
  clickAndExpect("Edit Shot", "Could not write Free.shot");
  EXPECT_TRUE(plugin().editorOpen);
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha", "Beta", "Free"));
}

TEST_F(ShotEditorTest, EditingKeepsANameLongerThanTheNameField) {
  const std::string longName = "Long " + std::string(200, 'x');
  addShot("Pack", longName, shotLine(longName));
  openTab("Training Packs");
  click("Reload Packs");
  click("Pack");
  openTab("Shots");
  clickShotRow("Edit", longName);
  expectShown("Edit Shot");
  click("Edit Shot");
  EXPECT_FALSE(plugin().editorOpen);
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha", "Beta", longName));
}

// "Capture From Game" after a second of a local match: the ball thrown from
// (0, 0, 500), then held where the second left it.
class CaptureTest : public ShotEditorTest {
 protected:
  void playASecond() {
    harness.startLocalMatch();
    harness.host().setWorldStepper(sim::ballStepper());
    harness.host().ball()->location = {0, 0, 500};
    harness.host().ball()->velocity = {0, 1000, 500};
    harness.advance(1);
    harness.host().setWorldStepper(nullptr);
    harness.console("cool_speed 3500");
    clickAndExpect("Capture From Game", "Seconds ago");
  }
};

TEST_F(CaptureTest, TheButtonIsDisabledSayingWhyWithoutALocalMatch) {
  ui().hover("Capture From Game");
  EXPECT_TRUE(ui().waitFor(capturemessages::noMatch)) << ui().describe();
  click("Capture From Game");
  ui().frames(2);
  EXPECT_FALSE(plugin().editorOpen);
}

TEST_F(CaptureTest, TheSliderTakesTheEditorBackInTimeFromTheLatestMoment) {
  playASecond();
  EXPECT_EQ(plugin().ballLocationY, harness.host().ball()->location.Y);
  EXPECT_EQ(plugin().ballVelocityY, 1000);
  EXPECT_EQ(plugin().carLocationY, -4608);
  EXPECT_EQ(plugin().carYaw, 16384);
  EXPECT_EQ(harness.cvarInt("cool_speed"), 2985);  // the ball's speed, held to the range
  EXPECT_TRUE(shows("Captured 1"));
  const std::string apexNow = previewLine("Apex: ");
  dragSlider("0.0", 0, true);  // a second or so ago: near the throw's start
  EXPECT_NEAR(plugin().ballLocationZ, 500, 40);
  EXPECT_LT(plugin().ballLocationY, 100);
  EXPECT_NE(previewLine("Apex: "), apexNow);
  click("Save Shot");
  Shot saved;
  saved.filePath = harness.packFolder("Pack") + "/Captured 1.shot";
  ASSERT_EQ(saved.readValues(), ShotRead::kept);
  EXPECT_NEAR(saved.ballLocationZ, 500, 40);
  EXPECT_EQ(saved.ballSpeed, 2985);
}

TEST_F(CaptureTest, CancelLeavesNoTrace) {
  playASecond();
  clickAndExpect("Cancel", "Create New Shot");
  EXPECT_EQ(harness.cvarInt("cool_speed"), 3500);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));
  EXPECT_FALSE(shows("Captured 1"));
}

// The rules behind the fields that the window cannot show whole.
TEST(TypedNumber, OnlyAWholeDecimalNumberCounts) {
  for (auto [text, value] : {std::pair{"+5", 5.0}, {".5", 0.5}, {"5.", 5.0}}) {
    EXPECT_EQ(parseTypedNumber(text), value) << text;
  }
  for (const char* text : {"", "-", ".", "1.2.3", "--1", "+-1", "1e5"}) {
    EXPECT_EQ(parseTypedNumber(text), std::nullopt) << text;
  }
  EXPECT_EQ(parseTypedNumber("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
}

TEST(NameFields, TextIsCutToTheFieldWithoutSplittingACharacter) {
  char field[8];
  namerules::setFieldText(field, "abcdef\xC3\xA9");  // "é" would straddle the cut
  EXPECT_STREQ(field, "abcdef");
  namerules::setFieldText(field, std::string(20, '\x80'));  // a name of stray bytes: none starts a character
  EXPECT_STREQ(field, "");
}

// A popup's "taken" message follows a list that changed under the same text.
TEST(NameFields, TheTakenCacheAsksAgainForAnotherListALongerOneOrAnotherText) {
  namerules::TakenNameCache cache;
  std::vector<Shot> shots(1), other(1);
  shots.reserve(2);
  other[0].name = "Gamma";
  EXPECT_FALSE(cache.shotNameTaken(shots, "Gamma"));
  EXPECT_TRUE(cache.shotNameTaken(other, "Gamma"));  // another pack of as many shots
  EXPECT_FALSE(cache.shotNameTaken(shots, "Gamma"));
  shots.push_back(other[0]);  // the same storage, one longer
  EXPECT_TRUE(cache.shotNameTaken(shots, "Gamma"));
  EXPECT_FALSE(cache.shotNameTaken(shots, "Delta"));
}

}  // namespace
