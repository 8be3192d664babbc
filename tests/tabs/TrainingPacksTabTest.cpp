// The "Training Packs" tab as a player uses it: choosing a pack, adding,
// copying, renaming and deleting packs, with the name checks and the
// console's messages.

#include <gmock/gmock.h>

#include <filesystem>

#include "storage/PackText.h"
#include "tests/tabs/WindowFixture.h"

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::UnorderedElementsAre;

constexpr const char* takenMessage = "A training pack with this name already exists!";
constexpr const char* forbiddenMessage =
    "Your training pack name cannot contain the characters . , / , \\ , | , * , ? , \" , < , or >";

class TrainingPacksTabTest : public WindowTest {
 protected:
  TrainingPacksTabTest() {
    addPack("First", {"Alpha", "Beta"});
    addPack("Second", {"Gamma"});
  }
  void start() {
    showWindow();
    openTab("Training Packs");
  }
  bool packFolderExists(const std::string& pack) {
    return fs::is_directory(harness.packFolder(pack));
  }
};

TEST_F(TrainingPacksTabTest, SelectingAPackLoadsItAndSwitchesTrainingOff) {
  start();
  const std::string other = plugin().trainingPacks.at(1);
  plugin().trainingActive = true;
  plugin().modifiersActive = true;
  click(other);
  EXPECT_EQ(harness.cvarInt("TrainingPackNum"), 1);
  EXPECT_TRUE(shows("Selected: " + other));
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_FALSE(plugin().modifiersActive);
  EXPECT_EQ(harness.cvarInt("shotNumber1"), 0);
  if (other == "Second") {
    EXPECT_THAT(displayedShotNames(), ElementsAre("Gamma"));
  } else {
    EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha", "Beta"));
  }
}

TEST_F(TrainingPacksTabTest, AddChecksTheNameThenCreatesAndLoadsThePack) {
  start();
  click("Add A New Pack");
  expectShown("New Pack Name");
  typeRefused("New Pack Name", "First", takenMessage);
  typeRefused("First", "v1.2", forbiddenMessage);
  typeRefused("v1.2", " _ ", blankMessage);
  typeRefused("_", "", emptyMessage);
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("First", "Second"));
  EXPECT_TRUE(shows("Enter a new name:"));
  click("Cancel");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));

  click("Add A New Pack");
  expectShown("New Pack Name");
  replaceText("New Pack Name", "Fresh Pack");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_TRUE(packFolderExists("Fresh Pack"));
  EXPECT_THAT(shotFilesIn("Fresh Pack"), ElementsAre("defaultShot"));
  EXPECT_EQ(plugin().trainingPacks.back(), "Fresh Pack");
  EXPECT_TRUE(shows("Fresh Pack"));
  EXPECT_THAT(displayedShotNames(), ElementsAre("defaultShot"));
}

TEST_F(TrainingPacksTabTest, AddingAPackWhoseFolderAppearedOutsideSaysItExists) {
  start();
  fs::create_directories(harness.packFolder("Outside"));
  click("Add A New Pack");
  expectShown("New Pack Name");
  replaceText("New Pack Name", "Outside");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_TRUE(harness.logged("Training Pack Exists"));
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("First", "Second"));

  click("Reload Packs");
  EXPECT_TRUE(ui().waitFor("Outside"));
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("First", "Second", "Outside"));
}

TEST_F(TrainingPacksTabTest, CopyMakesANewPackWithEveryShotAndKeepsTheSelection) {
  start();
  const int32_t current = harness.cvarInt("TrainingPackNum");
  clickPackRow("Copy", "First");
  expectShown("Copied Pack Name");
  typeRefused("Copied Pack Name", "Second", takenMessage);
  replaceText("Second", "First Copy");
  EXPECT_FALSE(shows(takenMessage));
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_THAT(shotFilesIn("First Copy"), ElementsAre("Alpha", "Beta"));
  EXPECT_EQ(shotFile("First Copy", "Alpha"), shotFile("First", "Alpha"));
  EXPECT_EQ(harness.cvarInt("TrainingPackNum"), current);
  EXPECT_TRUE(shows("First Copy"));
}

TEST_F(TrainingPacksTabTest, RenameKeepsNoOwnNameAndMovesTheFolder) {
  start();
  clickPackRow("Rename", "Second");
  expectShown("Enter a new name:");
  EXPECT_FALSE(shows(takenMessage));  // its own name
  click("OK");
  EXPECT_TRUE(shows("Enter a new name:"));
  typeRefused("Second", "First", takenMessage);
  replaceText("First", "Renamed");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Enter a new name:"));
  EXPECT_TRUE(harness.logged("Training pack renamed successfully."));
  EXPECT_FALSE(packFolderExists("Second"));
  EXPECT_THAT(shotFilesIn("Renamed"), ElementsAre("Gamma"));
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("First", "Renamed"));
}

TEST_F(TrainingPacksTabTest, DeleteAsksThenRemovesThePack) {
  start();
  clickPackRow("Delete", "Second");
  expectShown("Are You Sure You Want To Delete This Pack. This is Permanent");
  EXPECT_TRUE(shows("Selected: Second"));
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Selected: Second"));
  EXPECT_TRUE(harness.logged("TrainingPack removed"));
  EXPECT_FALSE(packFolderExists("Second"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("First"));
}

TEST_F(TrainingPacksTabTest, DeletingTheLastPackLeavesAFreshOne) {
  start();
  clickPackRow("Delete", "Second");
  expectShown("Selected: Second");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Selected: Second"));
  clickPackRow("Delete", "First");
  expectShown("Selected: First");
  click("OK");
  EXPECT_TRUE(ui().waitFor("Empty Training Pack"));
  EXPECT_TRUE(harness.logged("TrainingPack empty"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Empty Training Pack"));
  EXPECT_THAT(displayedShotNames(), ElementsAre("defaultShot"));
}

TEST_F(TrainingPacksTabTest, AConfirmedDeleteNeverReachesAPackTheListHasSinceLost) {
  start();
  const std::string chosen = plugin().trainingPacks.at(1);
  click("Delete", 1);
  expectShown("Selected: " + chosen);
  // The list changes under the open popup.
  plugin().trainingPacks.erase(plugin().trainingPacks.begin() + 1);
  expectShown("This training pack is no longer in the list");
  click("OK");
  ui().frames(2);
  EXPECT_TRUE(packFolderExists(chosen));
  EXPECT_FALSE(harness.logged("TrainingPack removed"));
}

TEST_F(TrainingPacksTabTest, ShareShowsThePackAsOneTextToCopyOrSave) {
  start();
  clickPackRow("Share", "First");
  expectShown("Copy To Clipboard");
  EXPECT_TRUE(shows("2 shots"));
  click("Copy To Clipboard");
  expectShown("Copied to the clipboard");
  const DecodedPack copied = decodePackText(ui().clipboard());
  ASSERT_TRUE(copied.ok()) << copied.error;
  EXPECT_EQ(copied.name, "First");
  EXPECT_EQ(copied.shots.size(), 2u);
  click("Save To File");
  const std::string path = harness.dataFolder() + "/QMShots/Exports/First.qmpack";
  expectShown("Saved to " + path);
  EXPECT_EQ(readFile(path), ui().clipboard());
  click("Close");
  EXPECT_TRUE(ui().waitUntilGone("Copy To Clipboard"));
}

TEST_F(TrainingPacksTabTest, ImportShowsWhatThePastedTextHoldsThenMakesAndSelectsThePack) {
  start();
  ui().setClipboard("not a pack");
  click("Import Pack");
  expectShown("Paste From Clipboard");
  click("Paste From Clipboard");
  const std::string refused = "This is not a training pack text: it must begin with \"QMPACK 1\"";
  expectShown(refused);
  click("OK");
  EXPECT_TRUE(shows(refused));

  ui().setClipboard(encodePackText("First", {shotLine("Lob"), shotLine("Chip", 5)}));
  click("Paste From Clipboard");
  expectShown("2 shots");
  EXPECT_TRUE(shows(takenMessage));  // the name field holds the text's name
  typeRefused("First", "v1.2", forbiddenMessage);
  replaceText("v1.2", "Shared");
  click("OK");
  EXPECT_TRUE(ui().waitUntilGone("Paste From Clipboard"));
  EXPECT_EQ(plugin().trainingPacks.back(), "Shared");
  EXPECT_TRUE(shows("Selected: Shared"));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Lob", "Chip"));
  EXPECT_EQ(shotFile("Shared", "Chip"), shotLine("Chip", 5));
}

}  // namespace
