// The "Shots" tab as a player uses it: picking a shot, the row popups and
// their name checks, and the warning before a pack grows past 59 shots.

#include <gmock/gmock.h>

#include <filesystem>

#include "tests/tabs/WindowFixture.h"

namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;

constexpr const char* takenMessage = "A Shot with this name already exists!";
constexpr const char* forbiddenMessage =
    "Your shot name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
constexpr const char* lagWarning = "Adding more shots to this pack may cause lag issues.";

class ShotsTabTest : public WindowTest {
 protected:
  // The first `count` shot names of a big pack: "1 Shot", "2 Shot", ...
  static std::vector<std::string> numberedShots(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(std::to_string(i) + " Shot");
    return names;
  }
  // Shows the window with `pack` current and the "Shots" tab open (the
  // first pack listed is the folder's first, which no test can choose).
  void start(const std::string& pack = "") {
    showWindow();
    if (!pack.empty() && plugin().trainingPacks.at(0) != pack) selectPack(pack);
    openTab("Shots");
  }
  // Types into the popup's name field, which shows `shown` now.
  void typeName(std::string_view shown, std::string_view typed) { replaceText(shown, typed); }
};

TEST_F(ShotsTabTest, PickingAShotLoadsItAndSwitchesTrainingOff) {
  addPack("Pack", {"1 Alpha", "2 Beta"});
  start();
  harness.startLocalMatch();
  plugin().trainingActive = true;
  plugin().modifiersActive = true;
  click("2 Beta");
  EXPECT_EQ(harness.cvarInt("shotNumber1"), 1);
  EXPECT_EQ(plugin().ballLocationX, 20.0f);
  EXPECT_EQ(plugin().currentShotName, "2 Beta");
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_FALSE(plugin().modifiersActive);
  EXPECT_TRUE(shows("Selected: Pack"));
}

TEST_F(ShotsTabTest, RenameChecksTheNameAndRenamesTheFile) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  clickShotRow("Rename", "Alpha");
  expectShown("Enter a new name:");
  // Its own name: no message, and OK does nothing.
  EXPECT_FALSE(shows(takenMessage));
  click("OK");
  EXPECT_TRUE(shows("Enter a new name:"));
  typeRefused("Alpha", "Beta", takenMessage);
  typeName("Beta", "B_eta");  // shown as "B eta": free
  EXPECT_FALSE(shows(takenMessage));
  typeRefused("B_eta", "Be/ta", forbiddenMessage);
  typeRefused("Be/ta", "__", blankMessage);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));

  typeName("__", "Gamma Ray");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Beta", "Gamma Ray"));
  EXPECT_EQ(shotFile("Pack", "Gamma Ray"), shotLine("Gamma Ray", 10));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Beta", "Gamma Ray"));
}

TEST_F(ShotsTabTest, AnEmptyNameIsRefusedInEveryShotPopup) {
  addPack("Pack", {"Alpha"});
  start();
  clickShotRow("Copy", "Alpha");
  expectShown("Copied Shot Name");
  typeRefused("Copied Shot Name", "", emptyMessage);
  EXPECT_TRUE(shows(emptyMessage));
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha"));
}

TEST_F(ShotsTabTest, DeleteAsksThenRemovesTheFile) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  clickShotRow("Delete", "Beta");
  expectShown("Are You Sure You Want To Delete This Shot. This is Permanent");
  EXPECT_TRUE(shows("Selected: Beta"));
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone("Selected: Beta"));
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));

  clickShotRow("Delete", "Beta");
  expectShown("Selected: Beta");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Selected: Beta"));
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha"));
  EXPECT_THAT(displayedShotNames(), ElementsAre("Alpha"));
}

TEST_F(ShotsTabTest, CopyWritesTheShotUnderTheNewNameInTheSamePack) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  clickShotRow("Copy", "Alpha");
  expectShown("Copied Shot Name");
  typeRefused("Copied Shot Name", "Beta", takenMessage);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));
  typeName("Beta", "Alpha Again");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Alpha Again", "Beta"));
  EXPECT_EQ(shotFile("Pack", "Alpha Again"), shotLine("Alpha Again", 10));
}

TEST_F(ShotsTabTest, TransferCopiesTheShotIntoTheChosenPackUnderTheTypedName) {
  addPack("Pack", {"Alpha", "Beta"});
  addPack("Other", {"Alpha"});
  start("Pack");
  clickShotRow("Transfer", "Alpha");
  expectShown("Select a training pack to transfer the shot named: Alpha");
  click("Other");
  // "Alpha" is taken in the target.
  EXPECT_TRUE(ui().waitFor("A shot with this name already exists!"));
  click("OK");
  EXPECT_THAT(shotFilesIn("Other"), ElementsAre("Alpha"));
  typeName("Alpha", "Moved Over");
  EXPECT_FALSE(shows("A shot with this name already exists!"));
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));

  EXPECT_THAT(shotFilesIn("Other"), ElementsAre("Alpha", "Moved Over"));
  EXPECT_EQ(shotFile("Other", "Moved Over"), shotLine("Moved Over", 10));
  // A transfer leaves the shot where it was too.
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));

  // A second transfer of the same name into the same pack is refused: the
  // target is listed afresh.
  clickShotRow("Transfer", "Alpha");
  expectShown("Enter a new name:");
  click("Other");
  typeName("Alpha", "Moved Over");
  EXPECT_TRUE(ui().waitFor("A shot with this name already exists!"));
}

TEST_F(ShotsTabTest, TransferIntoAPackOfSixtyWarnsFirstAndTransfersOnce) {
  addPack("Pack", {"Alpha"});
  addPack("Big", numberedShots(60));
  start("Pack");
  clickShotRow("Transfer", "Alpha");
  expectShown("Enter a new name:");
  click("Big");
  ui().frame();
  click("OK");
  expectShown(lagWarning);
  EXPECT_FALSE(shows("Enter a new name:"));
  EXPECT_EQ(shotFilesIn("Big").size(), 60u);
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone(lagWarning));
  ui().frames(5);
  EXPECT_FALSE(shows("Enter a new name:"));
  EXPECT_EQ(shotFilesIn("Big").size(), 61u);
  EXPECT_TRUE(shotFileExists("Big", "Alpha"));
  EXPECT_FALSE(plugin().shotPopups.transferShotOpen);
}

TEST_F(ShotsTabTest, CopyInAPackOfSixtyWarnsFirstThenAsksForTheName) {
  addPack("Big", numberedShots(60));
  start();
  click("Copy", 0);
  expectShown(lagWarning);
  EXPECT_FALSE(shows("Enter a new name:"));
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone(lagWarning));
  ui().frames(3);
  EXPECT_FALSE(shows("Enter a new name:"));  // abandoned both

  click("Copy", 0);
  expectShown(lagWarning);
  click("OK");
  expectShown("Copied Shot Name");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_EQ(shotFilesIn("Big").size(), 61u);
}

TEST_F(ShotsTabTest, ANewShotInAPackOfSixtyWarnsFirst) {
  addPack("Big", numberedShots(60));
  harness.console("car_enabled 1");
  start();
  click("Create New Shot");
  expectShown(lagWarning);
  EXPECT_FALSE(plugin().editorOpen);
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone(lagWarning));
  EXPECT_FALSE(plugin().editorOpen);
  // The switches the new shot set for the editor follow the console again.
  EXPECT_FALSE(plugin().pluginEnabled);
  EXPECT_TRUE(plugin().carResetEnabled);
  click("Create New Shot");
  expectShown(lagWarning);
  click("OK");
  expectShown("Type Shot Name");
  EXPECT_TRUE(plugin().editorOpen);
}

TEST_F(ShotsTabTest, FiftyNineShotsTakeANewShotAndACopyWithoutAWarning) {
  addPack("Pack", numberedShots(59));
  start();
  click("Copy", 0);
  expectShown("Copied Shot Name");
  EXPECT_FALSE(shows(lagWarning));
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_EQ(plugin().shots.size(), 60u);

  // The next one would make 61.
  click("Create New Shot");
  expectShown(lagWarning);
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone(lagWarning));
  click("Delete", 0);
  expectShown("Selected: 1 Shot");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Selected: 1 Shot"));
  ASSERT_EQ(plugin().shots.size(), 59u);
  click("Create New Shot");
  expectShown("Type Shot Name");
  EXPECT_FALSE(shows(lagWarning));
}

TEST_F(ShotsTabTest, NameFieldsSelectTheirTextOnFocusSoTypingReplacesIt) {
  addPack("Pack", {"1 Alpha"});
  start();
  struct Field {
    const char* tab;
    const char* button;
    const char* preset;  // the text the field shows when it opens
    const char* opened;  // shown once it is open
  };
  const Field fields[] = {
      {"Training Packs", "Add A New Pack", "New Pack Name", "Enter a new name:"},
      {"Training Packs", "Copy", "Copied Pack Name", "Enter a new name:"},
      {"Training Packs", "Rename", "Pack", "Enter a new name:"},
      {"Shots", "Copy", "Copied Shot Name", "Enter a new name:"},
      {"Shots", "Rename", "1 Alpha", "Enter a new name:"},
      {"Shots", "Transfer", "1 Alpha", "Enter a new name:"},
      {"Shots", "Create New Shot", "Insert Shot Name Here", "Type Shot Name"},
  };
  for (const Field& field : fields) {
    SCOPED_TRACE(field.preset);
    openTab(field.tab);
    click(field.button);
    expectShown(field.opened);
    click(field.preset);  // a popup's texts come first
    ui().type("Typed");
    EXPECT_TRUE(shows("Typed")) << ui().describe();
    click("Cancel");
    EXPECT_TRUE(ui().waitUntilGone(field.opened));
  }
}

TEST_F(ShotsTabTest, AConfirmedPopupNeverActsOnAShotTheListHasSinceLost) {
  addPack("Pack", {"2 Alpha", "3 Beta"});
  start();
  click("Delete", 1);  // 3 Beta
  expectShown("Selected: 3 Beta");
  // The pack changes under the open popup: row 1 is now another shot.
  addShot("Pack", "1 Aardvark", shotLine("1 Aardvark"));
  plugin().loadTrainingPack(0);
  expectShown("This shot is no longer in the pack");
  click("OK");
  ui().frames(2);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("1 Aardvark", "2 Alpha", "3 Beta"));
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone("This shot is no longer in the pack"));
}

TEST_F(ShotsTabTest, NamesAreCheckedAndPassedOnAsTheyWillBeStored) {
  addPack("Pack", {"1 A", "2 B"});
  addPack("Other", {});
  start("Pack");
  clickShotRow("Rename", "2 B");
  expectShown("Enter a new name:");
  typeRefused("2 B", "1 A ", takenMessage);
  click("Cancel");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("1 A", "2 B"));

  clickShotRow("Transfer", "1 A");
  expectShown("Enter a new name:");
  click("Other");
  typeName("1 A", " 1 A ");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_EQ(shotFile("Other", "1 A"), shotLine("1 A", 10));
}

TEST_F(ShotsTabTest, AnActionThatFailsKeepsItsPopupOpenAndSaysWhy) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  std::filesystem::remove(harness.packFolder("Pack") + "/Beta.shot");  // outside the plug-in
  clickShotRow("Delete", "Beta");
  expectShown("Selected: Beta");
  click("OK");
  expectShown("The shot could not be deleted: its file is gone or its pack's folder cannot be "
              "written");
  click("Cancel");
  clickShotRow("Copy", "Beta");
  expectShown("Copied Shot Name");
  click("OK");
  expectShown("The shot could not be copied: its file is gone, or the pack cannot be written or "
              "holds a file of this name");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha"));
}

TEST_F(ShotsTabTest, AShotNameHoldingHashesIsShownWhole) {
  addPack("Pack", {"Shot ## 2"});
  start();
  EXPECT_TRUE(shows("Shot ## 2")) << ui().describe();
}

}  // namespace
