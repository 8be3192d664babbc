// What a read does to the file: the name cleaned, the file renamed to match
// it, placeholders removed, and files already in order left alone.

#include <gtest/gtest.h>

#include "tests/storage/PackFolder.h"

namespace {

class ShotNormalize : public PackFolder {};

TEST_F(ShotNormalize, RenamesTheFileToTheNameAndRewritesIt) {
  put("A.shot", "1 2 3 4 5 6 7 8 9 10 Wall_Read 3000 0 0");
  const Shot shot = load("A");
  EXPECT_EQ(shot.name, "Wall Read");
  EXPECT_EQ(shot.filePath, path("Wall Read.shot"));
  EXPECT_EQ(shot.folderPath, folder());
  EXPECT_EQ(files(), std::set<std::string>{"Wall Read.shot"});
  EXPECT_EQ(text("Wall Read.shot"), "1 2 3 4 5 6 7 8 9 10 Wall_Read 3000 0 0");
}

TEST_F(ShotNormalize, AppendsDigitsToTheGrowingNameWhileTheFileIsTaken) {
  put("B.shot", "0 0 0 0 0 0 0 0 0 0 B 3000 1 0");
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  const Shot first = load("A");
  EXPECT_EQ(first.name, "B1");
  EXPECT_EQ(text("B1.shot"), "1 0 0 0 0 0 0 0 0 0 B1 3000 0 0");

  put("A.shot", "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  std::filesystem::create_directory(path("B12.shot"));  // a folder takes a name too
  put("B12.shot/inside", "x");
  const Shot second = load("A");
  EXPECT_EQ(second.name, "B123");
  EXPECT_EQ(files(),
            (std::set<std::string>{"B.shot", "B1.shot", "B12.shot", "B123.shot"}));
  EXPECT_EQ(text("B.shot"), "0 0 0 0 0 0 0 0 0 0 B 3000 1 0");
  EXPECT_EQ(text("B12.shot/inside"), "x");
}

TEST_F(ShotNormalize, ANameMatchingTheStemLeavesTheFileUntouched) {
  // Not the text a save would write, so a rewrite would show.
  put("Same.shot", "1.0 +2 3 4 5 6 7 8 9 10 Same 3000 0 0 trailing");
  const Shot shot = load("Same");
  EXPECT_EQ(shot.ballLocationX, 2);
  EXPECT_EQ(text("Same.shot"), "1.0 +2 3 4 5 6 7 8 9 10 Same 3000 0 0 trailing");

  // Forbidden characters count for neither side.
  put("We*ird.shot", "1 0 0 0 0 0 0 0 0 0 W?eird 3000 0 0");
  EXPECT_EQ(load("We*ird").name, "Weird");
  EXPECT_TRUE(has("We*ird.shot"));
}

TEST_F(ShotNormalize, LegacyFilesKeepTheirNameOrMoveToTheCurrentLayout) {
  put("Shots4.txt", "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");
  EXPECT_EQ(load("Shots4").filePath, path("Shots4.txt"));
  EXPECT_EQ(text("Shots4.txt"), "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");

  put("Shots5.txt", "1 0 0 0 0 0 0 0 0 0 Flick 3000 0 0");
  EXPECT_EQ(load("Shots5").filePath, path("Flick.shot"));
  EXPECT_FALSE(has("Shots5.txt"));

  // A name of the older form keeps the only file the loader looks up for it.
  put("Shots1.txt", "1 2 3 4 5 6 7 8 17 9 Shots2");
  EXPECT_EQ(load("Shots1").filePath, path("Shots2.txt"));
  put("Shots6.shot", "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");
  Shot listed;
  listed.filePath = path("Shots6.shot");
  EXPECT_TRUE(listed.readShotFile());
  EXPECT_EQ(listed.filePath, path("Shots41.txt"));
}

TEST_F(ShotNormalize, PlaceholdersAreDeletedOnlyFromOlderTxtFiles) {
  put("Shots3.txt", "0 0 0 0 0 0 0 0 0 0 Shot3 3000 0 0");
  load("Shots3", false);
  put("Shots4.txt", "-0 0 0 0 0 0 0 0 0 0 Shot12 3000");  // pitch and roll absent
  load("Shots4", false);
  EXPECT_TRUE(files().empty());
  // A ".shot" file holds a shot a player saved or renamed, whatever it holds.
  put("X.shot", "0 0 0 0 0 0 0 0 0 0 Shot2 3000 0 0");
  EXPECT_EQ(load("X").filePath, path("Shot2.shot"));
  EXPECT_EQ(files(), std::set<std::string>{"Shot2.shot"});
}

TEST_F(ShotNormalize, NearPlaceholdersStay) {
  const char* lines[] = {
      "0 0 0 0 0 0 0 0 0.001 0 Shot3 3000 0 0",  // a value set
      "0 0 0 0 0 0 0 0 0 0 Shot3 3001 0 0",      // another speed
      "0 0 0 0 0 0 0 0 0 1 Shot3 3000 0 0",      // yaw
      "0 0 0 0 0 0 0 0 0 0 Shot3 3000 5 0",      // pitch
      "0 0 0 0 0 0 0 0 0 0 shot3 3000 0 0",      // case matters
      "0 0 0 0 0 0 0 0 0 0 Shot 3000 0 0",       // digits needed
      "0 0 0 0 0 0 0 0 0 0 Shot3a 3000 0 0",
  };
  for (const char* line : lines) {
    put("Shots9.txt", line);
    const Shot shot = load("Shots9");
    EXPECT_FALSE(shot.isBlankShot()) << line;
    EXPECT_TRUE(has(shot.filePath.substr(folder().size()))) << line;
    std::filesystem::remove(shot.filePath);
  }
}

TEST_F(ShotNormalize, APlaceholderUnderItsOwnNameIsKept) {
  put("Shot3.shot", "0 0 0 0 0 0 0 0 0 0 Shot3 3000 0 0");
  EXPECT_TRUE(load("Shot3").isBlankShot());
  EXPECT_TRUE(has("Shot3.shot"));
}

TEST_F(ShotNormalize, AShotWithoutANameStaysVisibleUnderItsFileName) {
  // Older versions moved these to a file named only ".shot", which no
  // listing shows.
  put("My_Shot.shot", "1 2 3 4 5 6 7 8 9 10");
  put("Blank.shot", "0 0 0 0 0 0 0 0 0 0 _ 3000 0 0");
  put("___.shot", "1 0 0 0 0 0 0 0 0 0 *** 3000 0 0");
  put("Shot5.shot", "0 0 0 0 0 0 0 0 0 0 _ 3000 0 0");
  EXPECT_EQ(load("Blank").name, "Blank");
  EXPECT_EQ(load("___").name, "___");
  EXPECT_EQ(load("Shot5").name, "Shot5");  // not renamed, so not removed either
  // The file's name read as a name: underscores become spaces, as for
  // any other name, and the file moves to match.
  const Shot mine = load("My_Shot");
  EXPECT_EQ(mine.name, "My Shot");
  EXPECT_EQ(text("My Shot.shot"), "1 2 3 4 5 6 7 8 9 10 My_Shot 0 137463 137463");
  EXPECT_EQ(files(),
            (std::set<std::string>{"My Shot.shot", "Blank.shot", "___.shot", "Shot5.shot"}));

  // Stable from then on: a save and a read change nothing.
  for (const char* stem : {"My Shot", "Blank", "___"}) {
    Shot shot = load(stem);
    const std::string before = shot.filePath;
    ASSERT_TRUE(shot.saveShotFile());
    EXPECT_EQ(load(stem).filePath, before) << stem;
  }
}

TEST_F(ShotNormalize, ANameNoFileCanCarryLeavesTheFileAsItWas) {
  // 300 bytes cannot be a file name: the rename cannot happen, the read
  // reports false, nothing throws and nothing moves.
  const std::string line = "1 0 0 0 0 0 0 0 0 0 " + std::string(300, 'n') + " 3000 0 0";
  put("Long.shot", line);
  load("Long", false);
  EXPECT_EQ(files(), std::set<std::string>{"Long.shot"});
  EXPECT_EQ(text("Long.shot"), line);
}

TEST_F(ShotNormalize, DigitsThatOutgrowTheFileNameLimitEndTheSearch) {
  const std::string name(249, 'd');  // "d…d.shot" is 254 bytes, "d…d1.shot" 255
  put(name + ".shot", "1 0 0 0 0 0 0 0 0 0 " + name + " 3000 0 0");
  put(name + "1.shot", "1 0 0 0 0 0 0 0 0 0 " + name + "1 3000 0 0");
  put("A.shot", "2 0 0 0 0 0 0 0 0 0 " + name + " 3000 0 0");
  load("A", false);  // the next candidate, name + "12", is 256 bytes
  EXPECT_TRUE(has("A.shot"));
  EXPECT_EQ(files().size(), 3u);
}

}  // namespace
