// The operations on one shot's file in a pack folder: load by name, create,
// the default shot, update, delete and rename, with their refusals.

#include <gtest/gtest.h>

#include <vector>

#include "tests/storage/PackFolder.h"

namespace {

class ShotPackFile : public PackFolder {};

TEST_F(ShotPackFile, LoadFindsLegacyNamesOnlyAsTxt) {
  put("Shots12.shot", "1 0 0 0 0 0 0 0 0 0 Shots12 3000 0 0");
  load("Shots12", false);
  put("Shots12.txt", "2 0 0 0 0 0 0 0 0 0 Shots12 3000 0 0");
  EXPECT_EQ(load("Shots12").ballLocationZ, 2);

  put("Shots.shot", "3 0 0 0 0 0 0 0 0 0 Shots 3000 0 0");
  EXPECT_EQ(load("Shots").ballLocationZ, 3);
  put("Shots1a.shot", "4 0 0 0 0 0 0 0 0 0 Shots1a 3000 0 0");
  EXPECT_EQ(load("Shots1a").ballLocationZ, 4);
}

TEST_F(ShotPackFile, LoadRefusesWhatIsNoShotFileInThisFolder) {
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  Shot shot;
  EXPECT_FALSE(shot.loadShot(dir.str("pack"), "A"));  // no final "/"
  EXPECT_FALSE(shot.loadShot(folder(), ""));
  EXPECT_FALSE(shot.loadShot(folder(), "Missing"));
  EXPECT_FALSE(shot.loadShot(folder() + "/../pack/", "../pack/A"));
  std::filesystem::create_directory(path("Dir.shot"));
  EXPECT_FALSE(shot.loadShot(folder(), "Dir"));
  EXPECT_TRUE(shot.filePath.empty());
  EXPECT_TRUE(shot.folderPath.empty());
}

TEST_F(ShotPackFile, CreateWritesANewFileAndNeverOverwrites) {
  Shot shot;
  ASSERT_TRUE(create(shot, folder(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "Shots12", 3100, 11, 12}));
  EXPECT_EQ(shot.filePath, path("Shots12.txt"));  // where the loader looks for that name
  EXPECT_TRUE(shot.folderPath.empty());
  EXPECT_EQ(text("Shots12.txt"), "1 2 3 4 5 6 7 8 9 10 Shots12 3100 11 12");

  Shot again;
  EXPECT_FALSE(create(again, folder(), {9, 9, 9, 0, 0, 0, 0, 0, 0, 0, "Shots12"}));
  EXPECT_TRUE(again.filePath.empty());
  EXPECT_EQ(text("Shots12.txt"), "1 2 3 4 5 6 7 8 9 10 Shots12 3100 11 12");
}

TEST_F(ShotPackFile, CreateRefusesNamesThatCannotNameAFileInThePack) {
  for (const std::string& name : std::vector<std::string>{"", "___", "_", "***", "../escape", "a/b", "a\\b", "what?",
                                 std::string("nu\0l", 4)}) {
    Shot shot;
    EXPECT_FALSE(create(shot, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, name})) << name;
  }
  Shot shot;
  EXPECT_FALSE(create(shot, dir.str("pack"), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "NoSlash"}));
  EXPECT_TRUE(files().empty());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST_F(ShotPackFile, CreateIntoAMissingFolderSaysItWroteNothing) {
  Shot shot;
  EXPECT_FALSE(create(shot, dir.str("gone/"), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "A"}));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "gone"));
}

TEST_F(ShotPackFile, DefaultShotIsWrittenOnce) {
  Shot shot;
  ASSERT_TRUE(shot.createDefaultShot(folder()));
  EXPECT_EQ(text("defaultShot.shot"), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_EQ(shot.name, "defaultShot");
  EXPECT_EQ(shot.carPitch, 0);

  put("defaultShot.shot", "5 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  Shot second;
  EXPECT_FALSE(second.createDefaultShot(folder()));
  EXPECT_FALSE(second.createDefaultShot(dir.str("pack")));
  EXPECT_EQ(text("defaultShot.shot"), "5 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  // Not blank: its name is no placeholder's.
  EXPECT_FALSE(load("defaultShot").isBlankShot());
}

TEST_F(ShotPackFile, UpdateWritesTheNewNameIntoTheOldFileAndTheNextLoadRenames) {
  put("Old.shot", "1 0 0 0 0 0 0 0 0 0 Old 3000 0 0");
  Shot shot = load("Old");
  update(shot, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, "New Name", 3200, 0, 0});
  EXPECT_EQ(files(), std::set<std::string>{"Old.shot"});
  EXPECT_EQ(text("Old.shot"), "2 0 0 0 0 0 0 0 0 0 New_Name 3200 0 0");
  EXPECT_EQ(load("Old").filePath, path("New Name.shot"));
}

TEST_F(ShotPackFile, DeleteRemovesOnlyTheShotsFile) {
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  Shot shot = load("A");
  EXPECT_TRUE(shot.deleteShotFile());
  EXPECT_FALSE(shot.deleteShotFile());  // already gone
  EXPECT_TRUE(files().empty());

  std::filesystem::create_directory(path("Dir.shot"));
  shot.filePath = path("Dir.shot");
  EXPECT_FALSE(shot.deleteShotFile());
  EXPECT_TRUE(has("Dir.shot"));
}

TEST_F(ShotPackFile, RenameMovesTheFileAndWritesTheNewName) {
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  Shot shot = load("A");
  ASSERT_TRUE(shot.renameShot("Ceiling Pinch"));
  EXPECT_EQ(shot.name, "Ceiling Pinch");
  EXPECT_EQ(files(), std::set<std::string>{"Ceiling Pinch.shot"});
  EXPECT_EQ(text("Ceiling Pinch.shot"), "1 0 0 0 0 0 0 0 0 0 Ceiling_Pinch 3000 0 0");
  EXPECT_TRUE(shot.renameShot("Ceiling Pinch"));  // its own name: nothing moves
  EXPECT_EQ(files(), std::set<std::string>{"Ceiling Pinch.shot"});
}

TEST_F(ShotPackFile, RenameNeverReplacesAnotherFile) {
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  put("B.shot", "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  std::filesystem::create_directory(path("C.shot"));
  Shot shot = load("A");
  EXPECT_FALSE(shot.renameShot("B"));
  EXPECT_FALSE(shot.renameShot("C"));
  EXPECT_EQ(shot.filePath, path("A.shot"));
  EXPECT_EQ(shot.name, "A");
  EXPECT_EQ(text("A.shot"), "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  EXPECT_EQ(text("B.shot"), "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
}

TEST_F(ShotPackFile, RenameRefusesUnusableNamesAndChangesNothing) {
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  Shot shot = load("A");
  for (const std::string& name : std::vector<std::string>{"", "__", "|", "../A2", std::string(300, 'x')}) {
    EXPECT_FALSE(shot.renameShot(name)) << name;
  }
  EXPECT_EQ(shot.name, "A");
  EXPECT_EQ(files(), std::set<std::string>{"A.shot"});
  EXPECT_EQ(text("A.shot"), "1 0 0 0 0 0 0 0 0 0 A 3000 0 0");
}

TEST_F(ShotPackFile, ACreatedRecordRenamesWithinItsOwnFolder) {
  Shot shot;
  ASSERT_TRUE(create(shot, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "A"}));
  ASSERT_TRUE(shot.renameShot("B"));  // folderPath is empty here
  EXPECT_EQ(shot.filePath, path("B.shot"));
  EXPECT_EQ(files(), std::set<std::string>{"B.shot"});
}

TEST_F(ShotPackFile, NamesAtTheFileNameLimit) {
  const std::string longest(250, 'L');  // + ".shot" = 255 bytes
  Shot shot;
  ASSERT_TRUE(create(shot, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, longest}));
  EXPECT_EQ(load(longest).name, longest);
  update(shot, {2, 0, 0, 0, 0, 0, 0, 0, 0, 0, longest});  // through a temporary name
  EXPECT_EQ(load(longest).ballLocationZ, 2);
  EXPECT_EQ(files(), std::set<std::string>{longest + ".shot"});

  Shot tooLong;
  EXPECT_FALSE(create(tooLong, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, longest + "L"}));
  Shot loaded = load(longest);
  EXPECT_FALSE(loaded.renameShot(longest + "L"));
  EXPECT_FALSE(loaded.loadShot(folder(), longest + "L"));
  EXPECT_EQ(files(), std::set<std::string>{longest + ".shot"});
}

TEST_F(ShotPackFile, NonAsciiNamesRoundTrip) {
  const std::string name = "Schuß über Ωmega 🚀";
  Shot shot;
  ASSERT_TRUE(create(shot, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, name}));
  const Shot back = load(name);
  EXPECT_EQ(back.name, name);
  EXPECT_EQ(files(), std::set<std::string>{name + ".shot"});
}

}  // namespace
