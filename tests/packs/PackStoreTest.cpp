// The pack store: the pack list, the shot names of a pack, and creating,
// copying, renaming and deleting packs with their console messages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/packs/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class PackStore : public PackFixture {};

TEST_F(PackStore, RescanListsTheSubFoldersByNameWhateverTheSystemsOrder) {
  for (const char* name : {"walls", "Kickoffs", "aerials", "Walls", "10 Air", "Zap"}) makePack(name);
  writeFile(packsFolder() + "/loose.shot", shotLine("loose"));
  plugin().loadTrainingPacks();
  EXPECT_THAT(plugin().trainingPacks,
              ElementsAre("10 Air", "aerials", "Kickoffs", "Walls", "walls", "Zap"));
}

TEST_F(PackStore, RescanOfAMissingPacksFolderGivesNoPacksAndSaysSo) {
  plugin().trainingPacks = {"Stale"};
  plugin().loadTrainingPacks();
  EXPECT_TRUE(plugin().trainingPacks.empty());
  EXPECT_THAT(log(), ElementsAre("Could not list " + packsFolder() + ": No such file or directory"));
}

TEST_F(PackStore, RescanKeepsTheCurrentPackCurrentWhereverTheSystemListsIt) {
  for (const char* name : {"A", "B", "C", "D"}) makePack(name);
  plugin().loadTrainingPacks();
  std::vector<std::string> listed = plugin().trainingPacks;
  // The list as it stands after two packs were created: out of the folder's
  // order.
  std::vector<std::string> stale(listed.rbegin(), listed.rend());
  plugin().trainingPacks = stale;
  setPackNumber(0);
  plugin().loadTrainingPacks();
  EXPECT_EQ(plugin().trainingPacks, listed);
  EXPECT_EQ(plugin().trainingPacks.at(packNumber()), stale[0]);
}

TEST_F(PackStore, ListingTakesShotAndTxtFilesOnlyCutAtTheLastDot) {
  usePacks({"P"});
  for (const char* name : {"a.b.shot", "Plain.shot", "Shots3.txt", "Upper.SHOT", "notes.md", ".shot",
                           "noextension", "x.shot.bak"}) {
    put("P", name, shotLine("x"));
  }
  fs::create_directories(file("P", "Folder.shot"));
  EXPECT_THAT(plugin().listPackShotNames(0), UnorderedElementsAre("a.b", "Plain", "Shots3"));
}

TEST_F(PackStore, ListingAnIndexOutsideThePackListGivesNothing) {
  usePacks({"P"});
  put("P", "One.shot", shotLine("One"));
  EXPECT_TRUE(plugin().listPackShotNames(-1).empty());
  EXPECT_TRUE(plugin().listPackShotNames(1).empty());
}

TEST_F(PackStore, CreateMakesTheFolderWritesItsDefaultShotAndLoadsIt) {
  usePacks({"First"});
  put("First", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().createTrainingPack("Second");
  EXPECT_EQ(text("Second", "defaultShot.shot"), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("First", "Second"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  // The next saved shot goes where the shown shots are.
  EXPECT_EQ(packNumber(), 1);
  EXPECT_TRUE(log().empty());
}

TEST_F(PackStore, CreateCreatesTheMissingPacksFolder) {
  plugin().createTrainingPack("Fresh");
  EXPECT_TRUE(has("Fresh", "defaultShot.shot"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Fresh"));
}

TEST_F(PackStore, CreateOfAnExistingFolderSaysSoAndChangesNothing) {
  usePacks({"Listed"});
  makePack("Made Outside");
  plugin().createTrainingPack("Made Outside");
  EXPECT_THAT(log(), ElementsAre("Training Pack Exists"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Listed"));
  EXPECT_TRUE(files("Made Outside").empty());
}

TEST_F(PackStore, CopyWritesEveryShotUnderItsStoredNameAndRepairsIt) {
  usePacks({"Source", "Other"});
  put("Source", "A.shot", shotLine("Renamed Shot", 1));
  put("Source", "B.shot", shotLine("B", 2));
  put("Source", "Shots4.txt", "3 -1200 3500 0 -2500 800 0 -4608 17 16384 Old_One 3200");
  put("Source", "Shots5.txt", shotLine("Shots5", 5));
  setPackNumber(1);
  plugin().loadTrainingPack(1);
  std::vector<std::string> shownBefore = shotNames();

  plugin().copyTrainingPack(0, "Copy");
  EXPECT_THAT(files("Copy"), UnorderedElementsAre("Renamed Shot.shot", "B.shot", "Old One.shot",
                                                  "Shots5.txt"));
  EXPECT_EQ(text("Copy", "Renamed Shot.shot"), shotLine("Renamed Shot", 1));
  EXPECT_EQ(text("Copy", "Old One.shot"), shotLine("Old One", 3, 3200));
  EXPECT_EQ(text("Copy", "Shots5.txt"), shotLine("Shots5", 5));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Source", "Other", "Copy"));
  // Neither the selection nor the shown shots change.
  EXPECT_EQ(packNumber(), 1);
  EXPECT_EQ(shotNames(), shownBefore);
  EXPECT_TRUE(log().empty());
  // Every shot shows in the copy.
  plugin().loadTrainingPack(2);
  EXPECT_THAT(shotNames(), UnorderedElementsAre("Renamed Shot", "B", "Old One", "Shots5"));
}

TEST_F(PackStore, CopyOntoAnExistingPackOrFromAMissingOneSaysThePackExists) {
  usePacks({"Source", "Taken", "Gone"});
  put("Source", "A.shot", shotLine("A"));
  fs::remove(pack("Gone"));
  plugin().copyTrainingPack(0, "Taken");
  plugin().copyTrainingPack(2, "New");
  EXPECT_THAT(log(), ElementsAre("Training Pack Exists", "Training Pack Exists"));
  EXPECT_TRUE(files("Taken").empty());
  EXPECT_FALSE(fs::exists(pack("New")));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Source", "Taken", "Gone"));
}

TEST_F(PackStore, RenameMovesTheFolderAndTheLoadedShotsWithIt) {
  usePacks({"Old Name"});
  put("Old Name", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().renameTrainingPack(0, "New Name");
  EXPECT_THAT(log(), ElementsAre("Training pack renamed successfully."));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("New Name"));
  EXPECT_FALSE(fs::exists(pack("Old Name")));
  EXPECT_EQ(text("New Name", "Lob.shot"), shotLine("Lob"));

  // An edit saved before the next reload lands in the renamed folder.
  Shot& lob = plugin().shots.at(0);
  EXPECT_EQ(lob.folderPath, pack("New Name") + "/");
  lob.updateShot(50, 0, 0, 0, 0, 0, 0, 0, 17, 0, "Lob", 3000, 0, 0);
  EXPECT_EQ(text("New Name", "Lob.shot"), "50 0 0 0 0 0 0 0 17 0 Lob 3000 0 0");
  EXPECT_FALSE(fs::exists(pack("Old Name")));
}

TEST_F(PackStore, RenameRefusesATakenNameAndAVanishedFolder) {
  usePacks({"Mine", "Theirs", "Vanished"});
  fs::remove(pack("Vanished"));
  plugin().renameTrainingPack(0, "Theirs");
  plugin().renameTrainingPack(2, "Back");
  EXPECT_THAT(log(), ElementsAre("Cannot rename. A training pack with that name already exists.",
                                 "Original training pack folder does not exist."));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Mine", "Theirs", "Vanished"));
  EXPECT_TRUE(fs::exists(pack("Mine")));
  EXPECT_FALSE(fs::exists(pack("Back")));
}

TEST_F(PackStore, DeletingTheCurrentPackLoadsTheFirstPack) {
  makePack("Keep");
  makePack("Drop");
  put("Keep", "Kept.shot", shotLine("Kept"));
  put("Drop", "Dropped.shot", shotLine("Dropped"));
  plugin().loadTrainingPacks();
  auto drop = static_cast<int>(std::find(plugin().trainingPacks.begin(), plugin().trainingPacks.end(), "Drop") -
                               plugin().trainingPacks.begin());
  setPackNumber(drop);
  plugin().loadTrainingPack(drop);

  plugin().deleteTrainingPack(drop);
  EXPECT_THAT(log(), ElementsAre("TrainingPack removed"));
  EXPECT_FALSE(fs::exists(pack("Drop")));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Keep"));
  EXPECT_EQ(packNumber(), 0);
  EXPECT_THAT(shotNames(), ElementsAre("Kept"));
}

TEST_F(PackStore, DeletingAnEarlierPackKeepsTheLoadedPackCurrent) {
  usePacks({"A", "B", "C"});
  put("C", "Mine.shot", shotLine("Mine"));
  setPackNumber(2);
  plugin().loadTrainingPack(2);

  plugin().deleteTrainingPack(0);
  ASSERT_EQ(plugin().trainingPacks.size(), 2u);
  EXPECT_EQ(plugin().trainingPacks.at(packNumber()), "C");
  EXPECT_THAT(shotNames(), ElementsAre("Mine"));
  // So a new shot goes into the pack on show.
  EXPECT_TRUE(plugin().addShotToPack(packNumber(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "New", 0, 0));
  EXPECT_TRUE(has("C", "New.shot"));
}

TEST_F(PackStore, DeletingTheOnlyPackLeavesAnEmptyOneLoaded) {
  usePacks({"Only"});
  plugin().loadTrainingPack(0);  // writes its default shot
  plugin().deleteTrainingPack(0);
  EXPECT_THAT(log(), ElementsAre("TrainingPack removed", "TrainingPack empty"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Empty Training Pack"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_EQ(packNumber(), 0);
}

TEST_F(PackStore, DeletingAPackThatCannotBeRemovedSaysSoAndKeepsIt) {
  usePacks({"Current", "Stuck"});
  put("Stuck", "Pinned.shot", shotLine("Pinned"));
  UndeletableFile pinned(file("Stuck", "Pinned.shot"));
  if (!pinned.protects()) GTEST_SKIP() << "cannot make a file undeletable here";
  setPackNumber(0);
  plugin().deleteTrainingPack(1);
  EXPECT_THAT(log(), ElementsAre("Could not delete TrainingPack, please delete it manually"));
  EXPECT_THAT(plugin().trainingPacks, UnorderedElementsAre("Current", "Stuck"));
  EXPECT_EQ(plugin().trainingPacks.at(packNumber()), "Current");
}

TEST_F(PackStore, OperationsOnAnIndexOutsideThePackListDoNothing) {
  usePacks({"Only"});
  put("Only", "Lob.shot", shotLine("Lob"));
  setPackNumber(5);
  for (int index : {-1, 1, 5}) {
    plugin().copyTrainingPack(index, "Copy");
    plugin().renameTrainingPack(index, "Renamed");
    plugin().deleteTrainingPack(index);
  }
  EXPECT_TRUE(log().empty());
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Only"));
  EXPECT_FALSE(fs::exists(pack("Copy")));
  EXPECT_FALSE(fs::exists(pack("Renamed")));
  EXPECT_EQ(packNumber(), 5);
}

}  // namespace
