// Loading a pack into `shots`: order, fall-backs, what a load resets, the
// repair of older files, and adding and copying single shots.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "storage/ShotOrder.h"
#include "tests/packs/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class PackLoading : public PackFixture {};

TEST_F(PackLoading, ShotsComeInNumberThenTextOrder) {
  usePacks({"P"});
  for (const char* name : {"Backboard", "10 Flick", "2 Flick", "3) air", "3) Wall", "1 2 Pinch",
                           "11 Pinch", "0 Start", "1 Start"}) {
    put("P", std::string(name) + ".shot", shotLine(name));
  }
  put("P", "backboard.shot", shotLine("backboard"));
  plugin().loadTrainingPack(0);
  // The unnumbered names follow, by name, as on every machine.
  EXPECT_THAT(shotNames(), ElementsAre("1 Start", "2 Flick", "3) Wall", "3) air", "10 Flick",
                                       "11 Pinch", "1 2 Pinch", "0 Start", "Backboard",
                                       "backboard"));
}

TEST_F(PackLoading, ALargePackEndsInShotNameLessOrder) {
  usePacks({"Big"});
  for (int i = 0; i < 120; ++i) {
    std::string name = std::to_string((i * 7919) % 60) + (i % 3 ? ") Shot " : " Shot ") +
                       std::string(1, static_cast<char>('A' + i % 26)) + std::to_string(i);
    put("Big", name + ".shot", shotLine(name));
  }
  plugin().loadTrainingPack(0);
  ASSERT_EQ(plugin().shots.size(), 120u);
  EXPECT_TRUE(std::is_sorted(plugin().shots.begin(), plugin().shots.end(), shotNameLess));
}

TEST_F(PackLoading, ALoadReplacesTheShotsAndResetsSelectionTrainingAndShotNumber) {
  usePacks({"P"});
  put("P", "B.shot", shotLine("B", 2));
  put("P", "1 A.shot", shotLine("1 A", 1));
  plugin().shotSelections = {true, true, true};
  plugin().trainingActive = true;
  plugin().modifiersActive = true;
  harness.console("shotNumber1 4");

  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), ElementsAre("1 A", "B"));
  EXPECT_EQ(plugin().shots[0].filePath, file("P", "1 A.shot"));
  EXPECT_EQ(plugin().shots[0].folderPath, pack("P") + "/");
  EXPECT_THAT(plugin().shotSelections, ElementsAre(false, false));
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_FALSE(plugin().modifiersActive);
  EXPECT_EQ(harness.cvarInt("shotNumber1"), 0);
}

TEST_F(PackLoading, TheFirstShotBecomesTheWorkingShotInALocalMatch) {
  usePacks({"P"});
  put("P", "1 Lob.shot", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 1_Lob 3200 0 0");
  put("P", "2 Wall.shot", shotLine("2 Wall", 300));
  harness.startLocalMatch();
  plugin().loadTrainingPack(0);
  EXPECT_EQ(plugin().currentShotName, "1 Lob");
  EXPECT_EQ(plugin().ballLocationX, -1200);
  EXPECT_EQ(plugin().ballSpeed, 3200);
}

TEST_F(PackLoading, AnEmptyPackShowsItsDefaultShotNeverThePreviousPacksShots) {
  usePacks({"Full", "Empty"});
  put("Full", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().trainingActive = true;

  plugin().loadTrainingPack(1);
  EXPECT_EQ(text("Empty", "defaultShot.shot"), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_FALSE(plugin().trainingActive);
}

TEST_F(PackLoading, APackWhoseFolderVanishedShowsNoShotsSaysSoAndIsNotRecreated) {
  usePacks({"Full", "Gone"});
  put("Full", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  fs::remove(pack("Gone"));
  plugin().loadTrainingPack(1);
  EXPECT_FALSE(fs::exists(pack("Gone")));
  EXPECT_TRUE(shotNames().empty());
  EXPECT_THAT(log(), ElementsAre("Could not list " + pack("Gone") + "/: No such file or directory"));
}

TEST_F(PackLoading, WithoutAnyPackTheFirstLoadCreatesOne) {
  plugin().loadTrainingPack(0);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Training Pack 1"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_EQ(text("Training Pack 1", "defaultShot.shot"), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
}

TEST_F(PackLoading, AnIndexOutsideThePackListLoadsNothing) {
  usePacks({"P"});
  put("P", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().trainingActive = true;
  for (int index : {-1, 1, 7}) plugin().loadTrainingPack(index);
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
  EXPECT_TRUE(plugin().trainingActive);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("P"));
}

TEST_F(PackLoading, AFileThatIsNoShotLineIsLeftOutAsItIsAndNamed) {
  usePacks({"P", "Q"});
  put("P", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  put("Q", "Comma.shot", "1 2 3 4 5 100,5 7 8 9 10 Comma 3000 0 0");
  plugin().loadTrainingPack(1);
  EXPECT_TRUE(plugin().shots.empty());
  EXPECT_TRUE(plugin().shotSelections.empty());
  EXPECT_EQ(harness.cvarInt("shotNumber1"), 0);
  EXPECT_EQ(text("Q", "Comma.shot"), "1 2 3 4 5 100,5 7 8 9 10 Comma 3000 0 0");
  EXPECT_THAT(log(), ElementsAre("Could not read shot file " + file("Q", "Comma.shot") +
                                 "; it was left as it is"));
}

TEST_F(PackLoading, EveryFileIsListedOnceAndANameOfTheOlderFormStaysListed) {
  usePacks({"P"});
  put("P", "Shots12.shot", shotLine("Shots12", 1));
  put("P", "Shots12.txt", shotLine("Shots12", 2));
  put("P", "Shots1.txt", "1 2 3 4 5 6 7 8 17 9 Shots2");
  for (int load = 0; load < 2; ++load) {
    plugin().loadTrainingPack(0);
    std::vector<std::string> paths;
    for (const Shot& shot : plugin().shots) paths.push_back(shot.filePath);
    EXPECT_THAT(paths, ElementsAre(file("P", "Shots12.shot"), file("P", "Shots12.txt"),
                                   file("P", "Shots2.txt")));
  }
}

TEST_F(PackLoading, ANormalisedFileIsReadWithoutBeingWritten) {
  usePacks({"P"});
  put("P", "Lob.shot", shotLine("Lob"));
  auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(file("P", "Lob.shot"), old);
  plugin().loadTrainingPack(0);
  EXPECT_EQ(fs::last_write_time(file("P", "Lob.shot")), old);
  EXPECT_THAT(files("P"), ElementsAre("Lob.shot"));
}

TEST_F(PackLoading, MissingSpeedPitchAndRollAreRepairedInTheFile) {
  usePacks({"P"});
  put("P", "My_Shot.shot", "1 2 3 4 5 6 7 8 9 10 My_Shot 0");
  plugin().loadTrainingPack(0);
  ASSERT_EQ(plugin().shots.size(), 1u);
  const Shot& shot = plugin().shots[0];
  EXPECT_EQ(shot.name, "My Shot");
  EXPECT_EQ(shot.ballSpeed, 3000);
  EXPECT_EQ(shot.carPitch, 0);
  EXPECT_EQ(shot.carRoll, 0);
  // Renamed to its name by the read, and written with the repair.
  EXPECT_THAT(files("P"), ElementsAre("My Shot.shot"));
  EXPECT_EQ(text("P", "My Shot.shot"), "1 2 3 4 5 6 7 8 9 10 My_Shot 3000 0 0");
}

TEST_F(PackLoading, AFileKeepingItsNameGetsTheRepairWritten) {
  usePacks({"P"});
  put("P", "Lob.shot", "1 2 3 4 5 6 7 8 9 10 Lob 3100 0");
  plugin().loadTrainingPack(0);
  EXPECT_EQ(text("P", "Lob.shot"), "1 2 3 4 5 6 7 8 9 10 Lob 3100 0 0");
}

TEST_F(PackLoading, AnOlderTxtShotMovesToItsNameWithTheRepair) {
  usePacks({"P"});
  put("P", "Shots3.txt", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Wall_Shot 3200");
  put("P", "Shots4.txt", "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");
  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), UnorderedElementsAre("Wall Shot", "Shots4"));
  EXPECT_THAT(files("P"), UnorderedElementsAre("Wall Shot.shot", "Shots4.txt"));
  EXPECT_EQ(text("P", "Wall Shot.shot"), shotLine("Wall Shot", 92.5f, 3200));
}

TEST_F(PackLoading, ABlankPlaceholderIsDeletedAndStaysDeleted) {
  usePacks({"P"});
  put("P", "Shots3.txt", "0 0 0 0 0 0 0 0 0 0 Shot3 3000");
  put("P", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
  EXPECT_THAT(files("P"), ElementsAre("Lob.shot"));
}

TEST_F(PackLoading, AnAllZeroShotWithoutSpeedIsKeptAndRepaired) {
  usePacks({"P"});
  // Without a speed it is no placeholder when it is read; the repair then
  // gives it the usual speed.
  put("P", "Shots4.txt", "0 0 0 0 0 0 0 0 0 0 Shot4");
  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), ElementsAre("Shot4"));
  EXPECT_EQ(text("P", "Shot4.shot"), "0 0 0 0 0 0 0 0 0 0 Shot4 3000 0 0");
  EXPECT_FALSE(has("P", "Shots4.txt"));
}

TEST_F(PackLoading, RepairLoadedShotWritesOnlyWhenSomethingIsMissing) {
  usePacks({"P"});
  Shot shot;
  shot.filePath = file("P", "Some_Name.shot");
  shot.name = "Some_Name";
  shot.ballSpeed = 0;
  plugin().repairLoadedShot(shot);
  EXPECT_EQ(shot.name, "Some Name");
  EXPECT_EQ(shot.ballSpeed, 3000);
  EXPECT_EQ(shot.carPitch, 0);
  EXPECT_EQ(shot.carRoll, 0);
  EXPECT_EQ(text("P", "Some_Name.shot"), "0 0 0 0 0 0 0 0 0 0 Some_Name 3000 0 0");

  Shot complete;
  complete.filePath = file("P", "Complete.shot");
  complete.name = "Com_plete";
  complete.ballSpeed = 3100;
  complete.carPitch = complete.carRoll = 5;
  plugin().repairLoadedShot(complete);
  EXPECT_EQ(complete.name, "Com_plete");
  EXPECT_FALSE(has("P", "Complete.shot"));
}

TEST_F(PackLoading, AddWritesTheShotWithTheFixedSpeedAndReloads) {
  usePacks({"P"});
  put("P", "2 Lob.shot", shotLine("2 Lob"));
  plugin().loadTrainingPack(0);
  harness.console("cool_speed 4100");
  EXPECT_TRUE(plugin().addShotToPack(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "1 New", 11, 12));
  EXPECT_EQ(text("P", "1 New.shot"), "1 2 3 4 5 6 7 8 9 10 1_New 4100 11 12");
  EXPECT_THAT(shotNames(), ElementsAre("1 New", "2 Lob"));
}

TEST_F(PackLoading, AddRefusesATakenFileAMissingFolderAndABadIndex) {
  usePacks({"P", "Gone"});
  put("P", "Taken.shot", shotLine("Taken", 7));
  fs::remove(pack("Gone"));
  EXPECT_FALSE(plugin().addShotToPack(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "Taken", 0, 0));
  EXPECT_FALSE(plugin().addShotToPack(1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "New", 0, 0));
  EXPECT_FALSE(plugin().addShotToPack(2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "New", 0, 0));
  EXPECT_EQ(text("P", "Taken.shot"), shotLine("Taken", 7));
  EXPECT_THAT(files("P"), ElementsAre("Taken.shot"));
  EXPECT_FALSE(fs::exists(pack("Gone")));
  EXPECT_TRUE(plugin().shots.empty());
}

TEST_F(PackLoading, CopyTakesTheListedShotsOwnFileNotANamesakeInTheCurrentPack) {
  usePacks({"A", "B"});
  put("A", "X.shot", shotLine("X", 1));
  put("B", "X.shot", shotLine("X", 2));
  plugin().loadTrainingPack(0);
  setPackNumber(1);  // without a reload, as a console line does
  EXPECT_TRUE(plugin().copyShotToPack(1, 1, 0, "Y"));
  EXPECT_EQ(text("B", "Y.shot"), shotLine("Y", 1));
}

TEST_F(PackLoading, CopyDuplicatesInThePackAndTransfersToAnotherFromTheFile) {
  usePacks({"P", "Q"});
  put("P", "Lob.shot", shotLine("Lob", 1));
  plugin().loadTrainingPack(0);
  // Changed on disk since the load: the copy takes the file's values.
  put("P", "Lob.shot", "5 -1200 3500 0 -2500 800 0 -4608 17 16384 Lob 3300");

  EXPECT_TRUE(plugin().copyShotToPack(0, 0, 0, "Lob Copy"));
  EXPECT_TRUE(plugin().copyShotToPack(0, 1, 0, "Moved Lob"));
  EXPECT_EQ(text("P", "Lob Copy.shot"), shotLine("Lob Copy", 5, 3300));
  EXPECT_EQ(text("Q", "Moved Lob.shot"), shotLine("Moved Lob", 5, 3300));
  EXPECT_TRUE(has("P", "Lob.shot"));
  // Nothing is reloaded here.
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
}

TEST_F(PackLoading, CopyReportsEveryRefusal) {
  usePacks({"P", "Q", "Gone"});
  put("P", "Lob.shot", shotLine("Lob"));
  put("Q", "Taken.shot", shotLine("Taken", 9));
  plugin().loadTrainingPack(0);
  fs::remove(pack("Gone"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 1, "New"));   // shot index == size
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, -1, "New"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 2, 0, "New"));   // target folder missing
  EXPECT_FALSE(plugin().copyShotToPack(0, 3, 0, "New"));   // no such pack
  EXPECT_FALSE(plugin().copyShotToPack(-1, 1, 0, "New"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 0, "Taken")); // the target file is there
  EXPECT_EQ(text("Q", "Taken.shot"), shotLine("Taken", 9));
  EXPECT_THAT(files("Q"), ElementsAre("Taken.shot"));
  // A shot whose file is gone is not copied as a blank shot.
  fs::remove(file("P", "Lob.shot"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 0, "Ghost"));
  EXPECT_FALSE(has("Q", "Ghost.shot"));
}

}  // namespace
