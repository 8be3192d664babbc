// The start-up work: the older bind file removed, the key binds loaded, older
// shot files moved into a pack of their own, and the first pack loaded.

#include "tests/support/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class Migration : public PackFixture {
 protected:
  std::string shotsFolder() const { return harness.dataFolder() + "/QMShots"; }
  void putOld(const std::string& fileName, const std::string& text) const {
    writeFile(shotsFolder() + "/" + fileName, text);
  }
  Files oldFolder() const { return entriesOf(shotsFolder()); }
};

const std::string lob = "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Lob 3200";
const std::string wall = "50 0 0 0 0 0 0 0 17 0 Wall 3000 0 0";

TEST_F(Migration, OlderDataMovesIntoYourOldShotsLoadedAtStart) {
  putOld("Shots1.txt", lob);
  putOld("Shots10.txt", wall);
  for (const char* other : {"notes.txt", "shots1.txt", "Shots1.TXT", "Shots1a.txt", "MyShots1.txt"}) {
    putOld(other, "keep me");
  }
  putOld("bind.txt", "bind XboxTypeS_A controlInput");
  fs::create_directories(shotsFolder() + "/Shots7.txt");  // a folder, not a file
  setPackNumber(3);
  plugin().migrateOldData();
  EXPECT_EQ(plugin().oldDataMigrated, 1);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Your Old Shots"));
  EXPECT_EQ(packNumber(), 0);
  EXPECT_THAT(shotNames(), ElementsAre("Lob", "Wall"));
  // Loading renamed the older files after their shots and repaired them.
  EXPECT_THAT(files("Your Old Shots"), UnorderedElementsAre("Lob.shot", "Wall.shot"));
  EXPECT_EQ(text("Your Old Shots", "Lob.shot"), lob + " 0 0");
  EXPECT_EQ(text("Your Old Shots", "Wall.shot"), wall);
  EXPECT_THAT(oldFolder(), UnorderedElementsAre("notes.txt", "shots1.txt", "Shots1.TXT", "Shots1a.txt", "MyShots1.txt",
                                                "Shots7.txt", "TrainingPacks"));
  EXPECT_TRUE(log().empty());
}

TEST_F(Migration, TakenPackNamesAreSkippedByTheNamingRule) {
  putOld("Shots1.txt", lob);
  makePack("Your Old Shots");
  makePack("Your Old Shots2");
  plugin().moveOldShotsToPack();
  EXPECT_THAT(files("Your Old Shots3"), ElementsAre("Shots1.txt"));
}

TEST_F(Migration, WithPacksButNoShots1OnlyTheFirstPackIsLoaded) {
  makePack("Mine");
  put("Mine", "Lob.shot", shotLine("Lob"));
  putOld("Shots2.txt", wall);
  setPackNumber(3);
  plugin().migrateOldData();
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Mine"));
  EXPECT_EQ(packNumber(), 0);
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
  EXPECT_THAT(oldFolder(), ElementsAre("Shots2.txt", "TrainingPacks"));
}

TEST_F(Migration, AFreshInstallationStartsReadyToPlayItsDefaultShot) {
  plugin().migrateOldData();
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Your Old Shots"));
  EXPECT_THAT(files("Your Old Shots"), ElementsAre("defaultShot.shot"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_TRUE(harness.host().pressKey("BackSpace"));
  EXPECT_TRUE(harness.host().pressKey("XboxTypeS_Back"));
  EXPECT_TRUE(log().empty());
}

TEST_F(Migration, WhatCannotBeRemovedOrSearchedIsReportedWithoutStoppingTheRest) {
  // A folder with something in it cannot be removed as a file would be.
  putOld("bind.txt/inside", "x");
  const fs::path cfg = harness.dir().path() / "cfg";
  fs::remove_all(cfg);
  fs::create_symlink("cfg", cfg);  // every path through it fails to resolve
  plugin().migrateOldData();
  EXPECT_THAT(log(), Contains("Could not delete old bind file, please delete it manually").Times(1));
  EXPECT_TRUE(harness.host().pressKey("BackSpace"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Your Old Shots"));
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  // A folder no path can reach: said, and the start-up goes on.
  fs::remove_all(shotsFolder());
  fs::create_symlink("QMShots", shotsFolder());
  plugin().migrateOldData();
  EXPECT_THAT(log(), Contains("Training pack error: Too many levels of symbolic links (" + shotsFolder() +
                              "/bind.txt)"));
}

}  // namespace
