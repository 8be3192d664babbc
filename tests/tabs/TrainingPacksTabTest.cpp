// The "Training Packs" tab as a player uses it. What each operation does on
// disk is the pack store's; these tests pin that it reaches the disk.

#include <gmock/gmock.h>

#include <filesystem>

#include "storage/PackText.h"
#include "ui/NameRules.h"
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
    showWindow();
    openTab("Training Packs");
  }
  bool packFolderExists(const std::string& pack) { return fs::is_directory(harness.packFolder(pack)); }
  void openPackPopup(const std::string& button, const std::string& pack, std::string_view shown) {
    clickPackRow(button, pack);
    expectShown(shown);
  }
};

TEST_F(TrainingPacksTabTest, SelectingAPackLoadsItWithTrainingSwitchedOff) {
  const std::string other = plugin().trainingPacks.at(1);
  plugin().trainingActive = true;
  click(other);
  EXPECT_EQ(harness.cvarInt("TrainingPackNum"), 1);
  EXPECT_TRUE(shows("Selected: " + other));
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_EQ(displayedShotNames().size(), other == "Second" ? 1u : 2u);
}

TEST_F(TrainingPacksTabTest, AddMakesANewPackOnlyUnderAGoodName) {
  clickAndExpect("Add A New Pack", "New Pack Name");
  typeRefused("New Pack Name", "First ", takenMessage);  // compared as cleaned
  typeRefused("First", "Demo: Pack", namerules::unlistedForbiddenMessage);
  typeRefused("Demo: Pack", "nul", namerules::deviceNameMessage);
  typeRefused("nul", "v1.2", forbiddenMessage);
  typeRefused("v1.2", " _ ", blankMessage);
  typeRefused("_", "", emptyMessage);
  confirm(namePopup, "Cancel");

  clickAndExpect("Add A New Pack", "New Pack Name");
  replaceText("New Pack Name", "Fresh Pack");
  confirm();
  EXPECT_THAT(shotFilesIn("Fresh Pack"), ElementsAre("defaultShot"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("First", "Fresh Pack", "Second"));
  EXPECT_TRUE(shows("Selected: Fresh Pack"));
  EXPECT_THAT(displayedShotNames(), ElementsAre("defaultShot"));
}

TEST_F(TrainingPacksTabTest, RenameMovesThePacksFolderToAFreeName) {
  openPackPopup("Rename", "Second", namePopup);
  EXPECT_FALSE(shows(takenMessage));  // its own name
  click("OK");
  EXPECT_TRUE(shows(namePopup));
  typeRefused("Second", "First", takenMessage);
  replaceText("First", "Renamed");
  confirm();
  EXPECT_THAT(shotFilesIn("Renamed"), ElementsAre("Gamma"));
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("First", "Renamed"));
}

TEST_F(TrainingPacksTabTest, CopyMakesANewPackUnderAFreeNameKeepingTheSelection) {
  const int32_t current = harness.cvarInt("TrainingPackNum");
  openPackPopup("Copy", "First", "Copied Pack Name");
  typeRefused("Copied Pack Name", "Second", takenMessage);
  replaceText("Second", "First Copy");
  confirm();
  EXPECT_THAT(shotFilesIn("First Copy"), ElementsAre("Alpha", "Beta"));
  EXPECT_EQ(harness.cvarInt("TrainingPackNum"), current);
  // A copy that cannot carry every shot stays open saying why, and makes nothing.
  const std::string broken = harness.packFolder("First") + "/Broken.shot";
  writeFile(broken, "1 2 half a li");
  openPackPopup("Copy", "First", "Copied Pack Name");
  replaceText("Copied Pack Name", "Second Copy");
  clickAndExpect("OK", "The shot's file Broken.shot is gone or no longer holds a shot");
  EXPECT_FALSE(packFolderExists("Second Copy"));
  confirm(namePopup, "Cancel");
}

TEST_F(TrainingPacksTabTest, DeleteAsksThenRemovesOnlyAPackStillListed) {
  const std::string chosen = plugin().trainingPacks.at(1);
  clickAndExpect("Delete", "Are You Sure You Want To Delete This Pack. This is Permanent", 1);
  plugin().trainingPacks.erase(plugin().trainingPacks.begin() + 1);  // under the open popup
  expectShown("This training pack is no longer in the list");
  click("OK");
  confirm("Selected: " + chosen, "Cancel");
  EXPECT_TRUE(packFolderExists(chosen));

  const std::string other = plugin().trainingPacks.at(0);
  openPackPopup("Delete", other, "Selected: " + other);
  confirm("Selected: " + other);
  EXPECT_FALSE(packFolderExists(other));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre(chosen));
}

TEST_F(TrainingPacksTabTest, ANameCutOffByItsColumnShowsWholeInATooltip) {
  const std::string name = "Second pack whose name runs far past its column";
  fs::create_directories(harness.packFolder(name));
  click("Reload Packs");
  const auto cut = ui().findContaining("Second pack");
  ASSERT_FALSE(cut.empty()) << ui().describe();
  EXPECT_FALSE(shows(name));
  ui().hoverAt(cut.at(0).center());
  EXPECT_TRUE(shows(name)) << ui().describe();
}

TEST_F(TrainingPacksTabTest, ADeletedPackComesBackThroughUndoOrTheTrash) {
  const std::string alpha = shotFile("First", "Alpha");
  openPackPopup("Delete", "First", "Selected: First");
  confirm("Selected: First");
  clickAndExpect("Undo", "First");
  EXPECT_EQ(shotFile("First", "Alpha"), alpha);
  EXPECT_FALSE(shows("Deleted \"First\"."));
  openPackPopup("Delete", "First", "Selected: First");
  confirm("Selected: First");
  harness.advance(29);
  expectShown("Deleted \"First\".");
  harness.advance(2);
  EXPECT_TRUE(ui().waitUntilGone("Deleted \"First\"."));
  openPackPopup("Delete", "Second", "Selected: Second");
  confirm("Selected: Second");
  expectShown("Deleted \"Second\".");
  click("Reload Packs");
  EXPECT_TRUE(ui().waitUntilGone("Deleted \"Second\"."));

  // The trash lists the newest first and puts back what is chosen.
  clickAndExpect("Trash", "Empty Trash");
  const auto second = ui().findContaining("Deleted pack \"Second\", 1 shot");
  const auto first = ui().findContaining("Deleted pack \"First\", 2 shots");
  ASSERT_TRUE(!second.empty() && !first.empty()) << ui().describe();
  EXPECT_LT(second.at(0).min.y, first.at(0).min.y);
  clickAndExpect("Restore", "Restored training pack \"Second\" from the trash");
  EXPECT_THAT(shotFilesIn("Second"), ElementsAre("Gamma"));
  clickAndExpect("Empty Trash", "Are You Sure You Want To Empty The Trash. This is Permanent");
  clickAndExpect("OK", "The trash is empty");
  confirm("The trash is empty", "Close");
  EXPECT_FALSE(packFolderExists("First"));
  // A pack the trash cannot take stays, and the popup says why.
  const std::string trash = harness.dataFolder() + "/QMShots/Trash";
  fs::remove_all(trash);
  writeFile(trash, "in the way");
  openPackPopup("Delete", "Second", "Selected: Second");
  click("OK");
  EXPECT_FALSE(ui().findContaining("Could not make the trash folder").empty()) << ui().describe();
  expectShown("Cancel");  // the popup grows to the message in the next frame
  confirm("Selected: Second", "Cancel");
  EXPECT_TRUE(packFolderExists("Second"));
}

TEST_F(TrainingPacksTabTest, ShareShowsThePackAsOneTextToCopyOrSave) {
  addShot("First", "Bad", "1 2 three");
  const std::string longName = "A shot whose name makes its line longer than the text box is wide Zulu";
  addShot("First", longName, shotLine(longName));
  openPackPopup("Share", "First", "Copy To Clipboard");
  // The box scrolls sideways to the end of the longest line.
  const std::string lineEnd = "Zulu 3200 0 0";
  EXPECT_TRUE(ui().findContaining(lineEnd).empty());
  ui().scrollAt(ui().findContaining("92.5 10 3500").at(0).center(), -40, uidriver::Mods{.shift = true});
  EXPECT_FALSE(ui().findContaining(lineEnd).empty()) << ui().describe();
  EXPECT_TRUE(shows("3 shots"));
  EXPECT_TRUE(shows("1 shot could not be included in the text: Bad.shot"));
  clickAndExpect("Copy To Clipboard", "Copied to the clipboard");
  const DecodedPack copied = decodePackText(ui().clipboard());
  EXPECT_EQ(copied.name, "First");
  EXPECT_EQ(copied.shots.size(), 3u);
  click("Save To File");
  const std::string path = harness.dataFolder() + "/QMShots/Exports/First.qmpack";
  expectShown("Saved to " + path);
  EXPECT_EQ(ui().find("Saved to " + path).at(0).color, ui().find("3 shots").at(0).color);  // not red
  EXPECT_EQ(readFile(path), ui().clipboard());
  confirm("Copy To Clipboard", "Close");
}

TEST_F(TrainingPacksTabTest, ImportShowsWhatThePastedTextHoldsThenMakesItTheSelectedPack) {
  ui().setClipboard("not a pack");
  clickAndExpect("Import Pack", "Paste From Clipboard");
  click("Paste From Clipboard");
  const std::string refused = "This is not a training pack text: it must begin with \"QMPACK 1\"";
  expectShown(refused);
  replaceText("not a pack", "QMPACK 2", 0, false);  // typed into the field, as pasted
  EXPECT_FALSE(ui().findContaining("is of version 2").empty()) << ui().describe();

  ui().setClipboard(encodePackText("First:", {shotLine("Lob"), shotLine("Chip", 5)}));
  clickAndExpect("Paste From Clipboard", "2 shots");
  EXPECT_TRUE(shows(takenMessage));  // the name field holds the text's name, cleaned
  EXPECT_TRUE(shows("Names changed to suit every platform: \"First:\" to \"First\""));
  typeRefused("First", "v1.2", forbiddenMessage);
  std::filesystem::create_directories(harness.packFolder("Taken"));  // not listed
  replaceText("v1.2", "Taken");
  clickAndExpect("OK", "A training pack named \"Taken\" already exists");
  replaceText("Taken", "Shared");
  confirm("Paste From Clipboard");
  EXPECT_TRUE(shows("Selected: Shared"));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Lob", "Chip"));
  EXPECT_EQ(shotFile("Shared", "Chip"), shotLine("Chip", 5));
}

}  // namespace
