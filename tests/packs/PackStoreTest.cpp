// The pack store: the pack list, and creating, copying, renaming and
// deleting packs with their console messages.

#include "storage/Trash.h"
#include "tests/support/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::UnorderedElementsAre;

class PackStore : public PackFixture {};

TEST_F(PackStore, RescanListsTheSubFoldersByNameKeepingTheCurrentPackCurrent) {
  plugin().trainingPacks = {"Stale"};
  plugin().loadTrainingPacks();
  EXPECT_TRUE(plugin().trainingPacks.empty());
  EXPECT_THAT(log(), ElementsAre("Could not list " + packsFolder() + ": No such file or directory"));

  for (const char* name : {"walls", "Kickoffs", "\xC3\x89t\xC3\xA9", "aerials", "Walls", "10 Air", "Zap"}) {
    makePack(name);
  }
  writeFile(packsFolder() + "/loose.shot", shotLine("loose"));
  // The list as it stands after packs were created: out of the folder's order.
  plugin().trainingPacks = {"Zap", "walls", "Walls", "Kickoffs", "aerials", "10 Air"};
  setPackNumber(1);
  plugin().loadTrainingPacks();
  EXPECT_THAT(plugin().trainingPacks,
              ElementsAre("10 Air", "aerials", "Kickoffs", "Walls", "walls", "Zap", "\xC3\x89t\xC3\xA9"));
  EXPECT_EQ(packNumber(), 4);
}

TEST_F(PackStore, CreateLoadsANewFolderHoldingItsDefaultShot) {
  plugin().createTrainingPack("First");  // the packs folder is made too
  put("First", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().createTrainingPack("Second");
  EXPECT_EQ(text("Second", "defaultShot.shot"), defaultShotLine);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("First", "Second"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_EQ(packNumber(), 1);  // the next saved shot goes where the shown shots are
  EXPECT_TRUE(log().empty());
  // Cleaned by the name rule and put in its place in the sorted list.
  plugin().createTrainingPack(" Aerials\x1b: ");
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Aerials", "First", "Second"));
  EXPECT_EQ(packNumber(), 0);
  for (const char* taken : {"Aerials ", "aux", "Second."}) plugin().createTrainingPack(taken);
  EXPECT_THAT(log(), ElementsAre("Training Pack Exists", "The pack name cannot be used: \"aux\" names a device on "
                                 "Windows (CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9, also with an extension)",
                                 "Training Pack Exists"));
  EXPECT_EQ(entriesOf(packsFolder()), (Files{"Aerials", "First", "Second"}));
}

TEST_F(PackStore, CopyWritesEveryShotUnderItsStoredNameAsALoadRepairsIt) {
  usePacks({"Other", "Source"});
  put("Source", "A.shot", shotLine("Renamed Shot", 1));
  put("Source", "B.shot", shotLine("B", 2));
  put("Source", "Shots4.txt", "3 -1200 3500 0 -2500 800 0 -4608 17 16384 Old_One 3200");
  put("Source", "Shots5.txt", shotLine("Shots5", 5));
  // Two shots whose files share a name: both arrive, one under a free name.
  put("Source", "Shots12.shot", shotLine("Shots12", 12));
  put("Source", "Shots12.txt", shotLine("Shots12", 13));
  setPackNumber(0);
  plugin().loadTrainingPack(0);
  EXPECT_TRUE(plugin().copyTrainingPack(1, "Copy ").ok());
  EXPECT_THAT(files("Copy"), UnorderedElementsAre("Renamed Shot.shot", "B.shot", "Old One.shot", "Shots5.txt",
                                                  "Shots12.txt", "Shots121.txt"));
  EXPECT_EQ(text("Copy", "Renamed Shot.shot"), shotLine("Renamed Shot", 1));
  EXPECT_EQ(text("Copy", "Old One.shot"), shotLine("Old One", 3, 3200));
  // The source's older file is normalised as a load does it: no placeholder
  // for the missing rotation reaches it.
  EXPECT_EQ(text("Source", "Old One.shot"), shotLine("Old One", 3, 3200));
  EXPECT_EQ(text("Copy", "Shots5.txt"), shotLine("Shots5", 5));
  EXPECT_THAT((std::set<std::string>{text("Copy", "Shots12.txt"), text("Copy", "Shots121.txt")}),
              testing::AnyOf(UnorderedElementsAre(shotLine("Shots12", 12), shotLine("Shots121", 13)),
                             UnorderedElementsAre(shotLine("Shots12", 13), shotLine("Shots121", 12))));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Copy", "Other", "Source"));
  // Neither the selected pack nor the shown shots change.
  EXPECT_EQ(packNumber(), 1);
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(plugin().copyTrainingPack(2, "Other").error, "Training Pack Exists");  // onto an existing pack
  EXPECT_THAT(log(), ElementsAre("Training Pack Exists"));
  EXPECT_THAT(files("Other"), ElementsAre("defaultShot.shot"));
  // A shot that cannot be read fails the copy, which leaves nothing behind.
  put("Source", "Broken.shot", "1 2 half a li");
  const std::string reason = "The shot's file Broken.shot is gone or no longer holds a shot";
  EXPECT_EQ(plugin().copyTrainingPack(2, "Half").error, reason);
  EXPECT_EQ(log().back(), "Could not copy into training pack Half: " + reason);
  EXPECT_THAT(entriesOf(packsFolder()), UnorderedElementsAre("Source", "Other", "Copy"));
  EXPECT_EQ(plugin().trainingPacks.size(), 3u);
}

TEST_F(PackStore, RenameMovesTheFolderWithItsLoadedShots) {
  usePacks({"Old Name", "Theirs", "Vanished"});
  put("Old Name", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  fs::remove(pack("Vanished"));
  plugin().renameTrainingPack(0, "Theirs");
  plugin().renameTrainingPack(2, "Back");
  plugin().renameTrainingPack(0, "New Name");
  EXPECT_THAT(log(), ElementsAre("Cannot rename. A training pack with that name already exists.",
                                 "Original training pack folder does not exist.",
                                 "Training pack renamed successfully."));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("New Name", "Theirs", "Vanished"));
  EXPECT_FALSE(fs::exists(pack("Back")));
  // An edit saved before the next reload lands in the renamed folder.
  Shot& lob = plugin().shots.at(0);
  EXPECT_EQ(lob.folderPath, pack("New Name") + "/");
  lob.updateShot(50, 0, 0, 0, 0, 0, 0, 0, 17, 0, "Lob", 3000, 0, 0);
  EXPECT_EQ(text("New Name", "Lob.shot"), "50 0 0 0 0 0 0 0 17 0 Lob 3000 0 0");
  EXPECT_FALSE(fs::exists(pack("Old Name")));  // not made again by the edit
  plugin().renameTrainingPack(0, "Zulu. ");  // the current pack moves in the list and stays current
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Theirs", "Vanished", "Zulu"));
  EXPECT_EQ(packNumber(), 2);
}

TEST_F(PackStore, DeletingAPackKeepsTheLoadedPackCurrentOrLoadsTheFirst) {
  usePacks({"A", "B", "C"});
  put("A", "Kept.shot", shotLine("Kept"));
  put("C", "Mine.shot", shotLine("Mine"));
  setPackNumber(2);
  plugin().loadTrainingPack(2);
  plugin().deleteTrainingPack(1);
  EXPECT_EQ(packNumber(), 1);
  EXPECT_THAT(shotNames(), ElementsAre("Mine"));
  plugin().deleteTrainingPack(1);  // the current one
  EXPECT_FALSE(fs::exists(pack("C")));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("A"));
  EXPECT_EQ(packNumber(), 0);
  EXPECT_THAT(shotNames(), ElementsAre("Kept"));
  plugin().deleteTrainingPack(0);  // the only one
  EXPECT_THAT(log(), ElementsAre("TrainingPack removed", "TrainingPack removed", "TrainingPack removed",
                                 "TrainingPack empty"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Empty Training Pack"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_EQ(packNumber(), 0);
}

TEST_F(PackStore, WhatADeleteOrAnOverwriteLosesComesBackByteIdentical) {
  plugin().oldDataMigrated = 1;
  usePacks({"A", "B"});
  put("A", "Lob.shot", shotLine("Lob"));
  put("B", "X.shot", shotLine("X"));
  plugin().loadTrainingPack(0);
  // A pack goes whole, by a rename, and comes back under a free name.
  const Outcome<TrashEntry> trashed = plugin().deleteTrainingPack(1);
  ASSERT_TRUE(trashed.ok()) << trashed.error;
  EXPECT_THAT(fs::path(trashed.value.folder).filename().string(),
              testing::MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}-[0-9]{2}-[0-9]{2} B"));
  EXPECT_FALSE(fs::exists(pack("B")));
  plugin().createTrainingPack("B");
  EXPECT_EQ(plugin().restoreFromTrash(trashed.value).value, "Restored training pack \"B 2\" from the trash");
  EXPECT_EQ(text("B 2", "X.shot"), shotLine("X"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("A", "B", "B 2"));
  setPackNumber(0);
  plugin().loadTrainingPack(0);
  // A shot, by "RestoreLast": under its own name, then beside a new shot of that name.
  ASSERT_TRUE(plugin().deleteShot(plugin().shots.at(0)).ok());
  EXPECT_TRUE(files("A").empty());
  harness.console("RestoreLast");
  EXPECT_EQ(text("A", "Lob.shot"), shotLine("Lob"));
  ASSERT_TRUE(plugin().deleteShot(plugin().shots.at(0)).ok());
  put("A", "Lob.shot", shotLine("Lob", 1));
  harness.console("RestoreLast");
  EXPECT_EQ(text("A", "Lob 2.shot"), shotLine("Lob 2"));  // only the name inside differs
  // "OverideShot" keeps what the file held.
  harness.startLocalMatch();
  harness.console("shotNumber1 0");
  harness.console("OverideShot");
  const Outcome<std::vector<TrashEntry>> listed = plugin().listTrashEntries();
  ASSERT_EQ(listed.value.size(), 1u);
  EXPECT_EQ(listed.value[0].kind, TrashKind::replacedShot);
  EXPECT_EQ(readFile(listed.value[0].folder + "/Lob.shot"), shotLine("Lob", 1));
  fs::remove(file("A", "Lob.shot"));  // nothing to keep: written all the same
  harness.console("OverideShot");
  EXPECT_TRUE(fs::exists(file("A", "Lob.shot")));
  EXPECT_EQ(plugin().emptyTrashEntries().value, 1u);
  harness.console("RestoreLast");
  EXPECT_THAT(log(), ElementsAre("TrainingPack removed", "Restored shot \"Lob\" to training pack A from the trash",
                                 "Restored shot \"Lob 2\" to training pack A from the trash",
                                 "The trash is empty: nothing to restore"));
}

TEST_F(PackStore, ADeleteTheTrashCannotKeepIsRefused) {
  usePacks({"A"});
  put("A", "Lob.shot", shotLine("Lob"));
  const std::string trash = harness.dataFolder() + "/QMShots/Trash";
  writeFile(trash, "in the way");
  EXPECT_FALSE(plugin().deleteTrainingPack(0).ok());
  Shot lob;
  lob.filePath = file("A", "Lob.shot");
  EXPECT_THAT(plugin().deleteShot(lob).error, HasSubstr("Could not make the trash folder " + trash));
  EXPECT_FALSE(plugin().keepBeforeOverwrite(lob).ok());
  EXPECT_EQ(text("A", "Lob.shot"), shotLine("Lob"));
  EXPECT_THAT(log(), ElementsAre(HasSubstr("Could not delete TrainingPack: Could not make the trash folder")));
}

// 30 days, then at most so many shots, the oldest going first.
TEST_F(PackStore, TheTrashKeepsToItsLimits) {
  usePacks({"A"});
  const std::string trash = harness.dataFolder() + "/QMShots/Trash";
  const int64_t day = 24 * 60 * 60;
  const int64_t now = plugin().clockSeconds();
  for (int age : {0, 20, 31, 45}) {
    const std::string name = std::to_string(age);
    put("A", name + ".shot", shotLine(name));
    ASSERT_TRUE(moveShotToTrash(trash, file("A", name + ".shot"), name, now - age * day).ok());
  }
  EXPECT_EQ(pruneTrash(trash, now, 100 * day, 3).value, 1u);
  EXPECT_EQ(listTrash(trash).value.back().name, "31");  // newest first
  // What an interrupted restore leaves goes too; an item without its record stays.
  writeFile(trash + "/half/entry.txt", "QMTRASH 1\n");
  fs::create_directories(trash + "/unrecorded/Pack");
  harness.console("LoadShot");  // the start-up work
  EXPECT_THAT(log(), testing::Contains("Removed 1 trash entries older than 30 days or past 2,000 shots"));
  EXPECT_THAT(log(), testing::Contains(HasSubstr("; 1 unfinished trash entr(ies)")));
  EXPECT_EQ(listTrash(trash).value.size(), 2u);
  EXPECT_EQ(entriesOf(trash).size(), 3u);  // with "unrecorded"
}

}  // namespace
