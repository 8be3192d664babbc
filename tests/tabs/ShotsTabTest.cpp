// The "Shots" tab's row popups and their name checks, and the warning before
// a pack grows past 59 shots.

#include <gmock/gmock.h>

#include <filesystem>

#include "tests/tabs/WindowFixture.h"
#include "ui/WindowParts.h"

namespace {

using testing::ElementsAre;
using testing::UnorderedElementsAre;

constexpr const char* takenMessage = "A Shot with this name already exists!";
constexpr const char* transferTakenMessage = "A shot with this name already exists!";
constexpr const char* forbiddenMessage =
    "Your shot name cannot contain the characters / , \\ , | , * , ? , \" , < , or >";
constexpr const char* lagWarning = "Adding more shots to this pack may cause lag issues.";

class ShotsTabTest : public WindowTest {
 protected:
  // "1 Shot", "2 Shot", ... up to `count`.
  static std::vector<std::string> numberedShots(int count) {
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i) names.push_back(std::to_string(i) + " Shot");
    return names;
  }
  // Shows the window with `pack` current and the "Shots" tab open.
  void start(const std::string& pack = "") {
    if (!harness.windowShown()) showWindow();
    if (!pack.empty()) {
      openTab("Training Packs");
      click(pack);
    }
    openTab("Shots");
  }
  void openRowPopup(const std::string& button, const std::string& shot, std::string_view shown = namePopup) {
    clickShotRow(button, shot);
    expectShown(shown);
  }
};

TEST_F(ShotsTabTest, RenameMovesTheFileOnlyToANameFreeAsItWillBeStored) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  openRowPopup("Rename", "Alpha");
  // Its own name: no message, and OK does nothing.
  EXPECT_FALSE(shows(takenMessage));
  click("OK");
  EXPECT_TRUE(shows(namePopup));
  typeRefused("Alpha", "Beta ", takenMessage);
  replaceText("Beta", "B_eta");  // shown as "B eta": free
  EXPECT_FALSE(shows(takenMessage));
  typeRefused("B_eta", "Be/ta", forbiddenMessage);
  typeRefused("Be/ta", "__", blankMessage);
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));

  replaceText("__", "Gamma Ray");
  confirm();
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Beta", "Gamma Ray"));
  EXPECT_EQ(shotFile("Pack", "Gamma Ray"), shotLine("Gamma Ray", 10));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Beta", "Gamma Ray"));
}

TEST_F(ShotsTabTest, CopyWritesTheShotUnderAFreeNameInTheSamePack) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  openRowPopup("Copy", "Alpha", "Copied Shot Name");
  typeRefused("Copied Shot Name", "Beta", takenMessage);
  typeRefused("Beta", "", emptyMessage);
  confirm(namePopup, "Cancel");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Beta"));

  openRowPopup("Copy", "Alpha", "Copied Shot Name");
  replaceText("Copied Shot Name", "Alpha Again");
  confirm();
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha", "Alpha Again", "Beta"));
  EXPECT_EQ(shotFile("Pack", "Alpha Again"), shotLine("Alpha Again", 10));
}

TEST_F(ShotsTabTest, DeleteAsksFirstThenMovesTheShotsFileToTheTrash) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  openRowPopup("Delete", "Beta", "Are You Sure You Want To Delete This Shot. This is Permanent");
  confirm("Selected: Beta");
  EXPECT_THAT(shotFilesIn("Pack"), ElementsAre("Alpha"));
  EXPECT_THAT(displayedShotNames(), UnorderedElementsAre("Alpha"));
  clickAndExpect("Undo", "Beta");  // back byte for byte from the trash
  EXPECT_EQ(shotFile("Pack", "Beta"), shotLine("Beta", 20));
  EXPECT_FALSE(shows("Deleted \"Beta\"."));
}

// A shot's results: its row's summary, the plot under the preview of the
// picked shot, and "Reset Results", which asks first.
TEST_F(ShotsTabTest, EachRowShowsItsResultsWhichResetClearsAfterAsking) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  EXPECT_TRUE(shows("No attempts of this shot yet"));
  for (const bool made : {true, false, true}) plugin().packResults["Alpha.shot"].record(made, 1);
  const std::string summary = "2/3 \xC2\xB7 67%";
  expectShown(summary);
  EXPECT_TRUE(shows("recent rate"));
  const std::string question = "Forget every attempt of this pack's shots? This cannot be undone.";
  clickAndExpect("Reset Results", question);
  confirm(question, "Cancel");
  EXPECT_TRUE(shows(summary));
  clickAndExpect("Reset Results", question);
  confirm(question);
  EXPECT_FALSE(shows(summary));
  EXPECT_EQ(readFile(harness.packFolder("Pack") + "/.stats"), "QMTraining results 1\n");
}

TEST_F(ShotsTabTest, OnlyAPackOfSixtyWarnsBeforeItGrows) {
  addPack("Pack", numberedShots(59));
  addPack("Big", numberedShots(60));
  harness.console("car_enabled 1");
  start("Pack");
  clickAndExpect("Copy", "Copied Shot Name", 0);
  confirm(namePopup, "Cancel");

  // A transfer checks the name in the target, warns once it is given, and
  // stores the name without its outer spaces.
  openRowPopup("Transfer", "1 Shot", "Select a training pack to transfer the shot named: 1 Shot");
  clickAndExpect("Big", transferTakenMessage);
  replaceText("1 Shot", " Moved ", 0, false);
  EXPECT_FALSE(shows(transferTakenMessage));
  clickAndExpect("OK", lagWarning);
  EXPECT_FALSE(shows(namePopup));
  confirm(lagWarning);
  ui().frames(5);
  EXPECT_FALSE(shows(namePopup));
  EXPECT_EQ(shotFilesIn("Big").size(), 61u);
  EXPECT_EQ(shotFile("Big", "Moved"), shotLine("Moved", 10));
  EXPECT_EQ(shotFilesIn("Pack").size(), 59u);

  std::filesystem::remove(harness.packFolder("Big") + "/Moved.shot");  // sixty again
  start("Big");
  for (auto [button, opened] : {std::pair{"Copy", namePopup}, {"Create New Shot", "Type Shot Name"}}) {
    SCOPED_TRACE(button);
    clickAndExpect(button, lagWarning);
    EXPECT_FALSE(shows(opened));
    confirm(lagWarning, "Cancel");
    ui().frames(3);
    EXPECT_FALSE(shows(opened));
    EXPECT_FALSE(plugin().editorOpen);
    // The switches a new shot set for the editor follow the console again.
    EXPECT_FALSE(plugin().pluginEnabled);
    EXPECT_TRUE(plugin().carResetEnabled);
    clickAndExpect(button, lagWarning);
    confirm(lagWarning);
    expectShown(opened);
    click("Cancel");
  }
}

TEST_F(ShotsTabTest, TypingIntoAnOpenedPopupReplacesItsPresetText) {
  addPack("Pack", {"1 Alpha"});
  start();
  // The text each field shows when it opens, and what shows it open; a
  // popup's first field has the focus, the editor's is clicked.
  const struct {
    const char *tab, *button, *preset, *opened;
  } fields[] = {
      {"Training Packs", "Add A New Pack", "New Pack Name", namePopup},
      {"Training Packs", "Copy", "Copied Pack Name", namePopup},
      {"Training Packs", "Rename", "Pack", namePopup},
      {"Training Packs", "Import Pack", "", "Paste From Clipboard"},
      {"Shots", "Copy", "Copied Shot Name", namePopup},
      {"Shots", "Rename", "1 Alpha", namePopup},
      {"Shots", "Transfer", "1 Alpha", namePopup},
      {"Shots", "Create New Shot", "Insert Shot Name Here", "Type Shot Name"},
  };
  for (const auto& field : fields) {
    SCOPED_TRACE(field.button);
    openTab(field.tab);
    clickAndExpect(field.button, field.opened);
    if (!plugin().editorOpen) ui().frame();
    if (plugin().editorOpen) click(field.preset);
    EXPECT_TRUE(ui().type("Typed"));
    EXPECT_TRUE(shows("Typed")) << ui().describe();  // in place of the preset, not beside it
    confirm(field.opened, "Cancel");
  }
}

TEST_F(ShotsTabTest, PopupsOpenWithoutRedLines) {
  addPack("A Pack", {"Alpha"});
  addPack("B Pack", {"Beta"});
  start("A Pack");
  const struct {
    const char *tab, *button, *opened;
  } popups[] = {
      {"Shots", "Transfer", "Select a training pack to transfer the shot named: Alpha"},
      {"Training Packs", "Import Pack", "Paste From Clipboard"},
  };
  const ImU32 red = ImGui::ColorConvertFloat4ToU32(windowparts::messageRed);
  for (const auto& popup : popups) {
    openTab(popup.tab);
    clickAndExpect(popup.button, popup.opened);
    ui().frame();
    for (const uidriver::ShownText& shown : ui().shown()) EXPECT_NE(shown.color, red) << shown.text;
    confirm(popup.opened, "Cancel");
  }
  EXPECT_EQ(plugin().transferTargetPack, 1);
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
}

TEST_F(ShotsTabTest, AnActionThatFailsSaysWhyInItsPopupLeftOpen) {
  addPack("Pack", {"Alpha", "Beta"});
  start();
  std::filesystem::remove(harness.packFolder("Pack") + "/Beta.shot");  // outside the plug-in
  openRowPopup("Delete", "Beta", "Selected: Beta");
  clickAndExpect("OK", "The shot's file Beta.shot is gone");
  expectShown("Cancel");  // the popup grows by the line first
  click("Cancel");
  openRowPopup("Copy", "Beta", "Copied Shot Name");
  clickAndExpect("OK", "The shot's file Beta.shot is gone or no longer holds a shot");
}

}  // namespace
