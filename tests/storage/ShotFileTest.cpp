// One shot's file in a pack folder: what a read does to it, create, update,
// delete and rename with their refusals, and hostile files. Faults part-way
// through a write are the fault campaign's (tests/faults).

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <vector>

#include "tests/support/PackFixture.h"

namespace {

namespace fs = std::filesystem;

class ShotFile : public PackFolder {};

// Only the folder and the name matter to these creates.
bool createNamed(Shot& shot, const std::string& folder, const std::string& name) {
  return shot.createShotFile(folder, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, name, 3000, 0, 0).ok();
}

TEST_F(ShotFile, AReadRenamesTheFileToTheNameAppendingDigitsWhileTheFileIsTaken) {
  put("A.shot", "1 2 3 4 5 6 7 8 9 10 Wall_Read 3000 0 0");
  const Shot shot = load("A");
  EXPECT_EQ(shot.name, "Wall Read");
  EXPECT_EQ(shot.filePath, path("Wall Read.shot"));
  EXPECT_EQ(shot.folderPath, folder());
  EXPECT_EQ(files(), Files{"Wall Read.shot"});
  EXPECT_EQ(text("Wall Read.shot"), "1 2 3 4 5 6 7 8 9 10 Wall_Read 3000 0 0");

  // A name matching the stem leaves the file untouched; a rewrite would show.
  put("Same.shot", "1.0 +2 3 4 5 6 7 8 9 10 Same 3000 0 0 trailing");
  EXPECT_EQ(load("Same").ballLocationX, 2);
  EXPECT_EQ(text("Same.shot"), "1.0 +2 3 4 5 6 7 8 9 10 Same 3000 0 0 trailing");

  put("B.shot", "0 0 0 0 0 0 0 0 0 0 B 3000 1 0");
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  EXPECT_EQ(load("A").name, "B1");
  put("A.shot", "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  put("B12.shot/inside", "x");  // a folder takes a name too
  EXPECT_EQ(load("A").name, "B123");
  EXPECT_EQ(files(), (Files{"Wall Read.shot", "Same.shot", "B.shot", "B1.shot", "B12.shot", "B123.shot"}));
  EXPECT_EQ(text("B.shot"), "0 0 0 0 0 0 0 0 0 0 B 3000 1 0");
  EXPECT_EQ(text("B1.shot"), "1 0 0 0 0 0 0 0 0 0 B1 3000 0 0");
}

TEST_F(ShotFile, AShotWithoutANameKeepsItsFileName) {
  // Never moved to a file named only ".shot", which no listing shows.
  for (const char* line : {"1 2 3 4 5 6 7 8 9 10", "0 0 0 0 0 0 0 0 0 0 _ 3000 0 0", "1 0 0 0 0 0 0 0 0 0 *** 3000"}) {
    put("Nameless.shot", line);
    EXPECT_EQ(load("Nameless").name, "Nameless") << line;
    EXPECT_EQ(files(), Files{"Nameless.shot"}) << line;
  }
}

TEST_F(ShotFile, PlaceholdersAreDeletedOnlyFromOlderTxtFiles) {
  put("Shots3.txt", "0 0 0 0 0 0 0 0 0 0 Shot3 3000 0 0");
  load("Shots3", false);
  put("Shots4.txt", "-0 0 0 0 0 0 0 0 0 0 Shot12 3000");  // pitch and roll absent
  load("Shots4", false);
  EXPECT_TRUE(files().empty());
  // A ".shot" file holds a shot a player saved or renamed, whatever it holds.
  put("X.shot", "0 0 0 0 0 0 0 0 0 0 Shot2 3000 0 0");
  EXPECT_EQ(load("X").filePath, path("Shot2.shot"));
  put("Shot3.shot", "0 0 0 0 0 0 0 0 0 0 Shot3 3000 0 0");
  EXPECT_TRUE(load("Shot3").isBlankShot());
  EXPECT_EQ(files(), (Files{"Shot2.shot", "Shot3.shot"}));
  // Near placeholders stay: a value set, another speed, yaw, pitch, case, no digits.
  for (const char* line : {"0 0 0 0 0 0 0 0 0.001 0 Shot3 3000 0 0", "0 0 0 0 0 0 0 0 0 0 Shot3 3001 0 0",
                           "0 0 0 0 0 0 0 0 0 1 Shot3 3000 0 0", "0 0 0 0 0 0 0 0 0 0 Shot3 3000 5 0",
                           "0 0 0 0 0 0 0 0 0 0 shot3 3000 0 0", "0 0 0 0 0 0 0 0 0 0 Shot 3000 0 0",
                           "0 0 0 0 0 0 0 0 0 0 Shot3a 3000 0 0"}) {
    put("Shots9.txt", line);
    const Shot shot = load("Shots9");
    EXPECT_FALSE(shot.isBlankShot()) << line;
    EXPECT_TRUE(fs::remove(shot.filePath)) << line;
  }
}

TEST_F(ShotFile, OlderNamesLiveOnlyInTxtFilesThatMoveWhenTheShotIsNamedOtherwise) {
  put("Shots12.shot", "1 0 0 0 0 0 0 0 0 0 Shots12 3000 0 0");
  load("Shots12", false);
  put("Shots4.txt", "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");
  EXPECT_EQ(load("Shots4").filePath, path("Shots4.txt"));
  put("Shots5.txt", "1 0 0 0 0 0 0 0 0 0 Flick 3000 0 0");
  EXPECT_EQ(load("Shots5").filePath, path("Flick.shot"));
  // A name of the older form keeps the only file the loader looks up for it.
  put("Shots1.txt", "1 2 3 4 5 6 7 8 17 9 Shots2");
  EXPECT_EQ(load("Shots1").filePath, path("Shots2.txt"));
  put("Shots6.shot", "1 0 0 0 0 0 0 0 0 0 Shots4 3000 0 0");
  Shot listed;
  listed.filePath = path("Shots6.shot");
  EXPECT_TRUE(listed.readShotFile());
  EXPECT_EQ(listed.filePath, path("Shots41.txt"));
  EXPECT_EQ(files(), (Files{"Shots12.shot", "Shots4.txt", "Flick.shot", "Shots2.txt", "Shots41.txt"}));
}

TEST_F(ShotFile, CreateWritesOnlyANewFileUnderAUsableName) {
  Shot shot;
  ASSERT_TRUE(shot.createShotFile(folder(), 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "Shots12", 3100, 11, 12));
  EXPECT_EQ(shot.filePath, path("Shots12.txt"));  // where the loader looks for that name
  Shot again;
  EXPECT_FALSE(createNamed(again, folder(), "Shots12"));
  for (const std::string& name : std::vector<std::string>{"", "___", "_", "***", "../escape", "a/b", "a\\b",
                                                          "what?", std::string("nu\0l", 4), "a:b",
                                                          "esc\x1b", "CON", "aux.txt", "lpt9", "Com1 .x"}) {
    EXPECT_FALSE(createNamed(again, folder(), name)) << name;
  }
  EXPECT_FALSE(createNamed(again, dir.str("pack"), "NoSlash"));
  EXPECT_FALSE(createNamed(again, dir.str("gone/"), "A"));
  const float inf = std::numeric_limits<float>::infinity();
  EXPECT_FALSE(again.createShotFile(folder(), std::nanf(""), inf, -inf, 0, 0, 0, 0, 0, 0, 3, "Odd", 3000, 0, 0));
  again.filePath = path("Odd.shot");
  again.ballLocationZ = std::nanf("");
  EXPECT_FALSE(again.saveShotFile());  // nor when saved directly
  EXPECT_EQ(text("Shots12.txt"), "1 2 3 4 5 6 7 8 9 10 Shots12 3100 11 12");
  EXPECT_EQ(files(), Files{"Shots12.txt"});
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
  // A created record renames within its own folder (its folderPath is empty).
  ASSERT_TRUE(shot.renameShot("B"));
  EXPECT_EQ(files(), Files{"B.shot"});
  // A name as long as a file name may be: written through its temporary file.
  EXPECT_TRUE(createNamed(again, folder(), std::string(250, 'n')));
  EXPECT_TRUE(createNamed(again, folder(), "Com0"));  // no device: they count from 1
}

TEST_F(ShotFile, UpdateWritesTheNewNameIntoTheOldFileForTheNextLoadToRename) {
  put("Old.shot", "1 0 0 0 0 0 0 0 0 0 Old 3000 0 0");
  Shot shot = load("Old");
  shot.updateShot(2, 0, 0, 0, 0, 0, 0, 0, 0, 0, "New Name", 3200, 0, 0);
  EXPECT_EQ(files(), Files{"Old.shot"});
  EXPECT_EQ(text("Old.shot"), "2 0 0 0 0 0 0 0 0 0 New_Name 3200 0 0");
  Shot renamed = load("Old");
  EXPECT_EQ(renamed.filePath, path("New Name.shot"));
  EXPECT_TRUE(renamed.deleteShotFile());
  EXPECT_FALSE(renamed.deleteShotFile());  // already gone
  EXPECT_TRUE(files().empty());
}

TEST_F(ShotFile, RenameMovesTheFileToItsNewNameNeverOverAnotherFile) {
  put("A.shot", "5 0 0 0 0 0 0 0 0 0 A 3000 0 0");
  Shot shot = load("A");
  // Changed by hand since it was loaded, in the older layout: the rename
  // carries what the file says now, filled in as a load fills it.
  put("A.shot", "1 0 0 0 0 0 0 0 0 0 A 3100");
  ASSERT_TRUE(shot.renameShot("Ceiling Pinch"));
  EXPECT_EQ(files(), Files{"Ceiling Pinch.shot"});
  EXPECT_EQ(text("Ceiling Pinch.shot"), "1 0 0 0 0 0 0 0 0 0 Ceiling_Pinch 3100 0 0");
  EXPECT_EQ(shot.ballLocationZ, 1);
  EXPECT_TRUE(shot.renameShot("Ceiling Pinch"));  // its own name: nothing moves
  ASSERT_TRUE(shot.renameShot("A"));
  put("B.shot", "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  fs::create_directory(path("C.shot"));
  for (const std::string& name : std::vector<std::string>{"B", "C", "", "__", "|", "../A2", std::string(300, 'x')}) {
    EXPECT_FALSE(shot.renameShot(name)) << name;
  }
  EXPECT_EQ(shot.filePath, path("A.shot"));
  EXPECT_EQ(shot.name, "A");
  EXPECT_EQ(files(), (Files{"A.shot", "B.shot", "C.shot"}));
  EXPECT_EQ(text("A.shot"), "1 0 0 0 0 0 0 0 0 0 A 3100 0 0");
  EXPECT_EQ(text("B.shot"), "2 0 0 0 0 0 0 0 0 0 B 3000 0 0");
  // A temporary file a crash left is replaced, then gone.
  put(".A.shot.tmp", "1 2 half a li");
  EXPECT_TRUE(shot.saveShotFile());
  EXPECT_EQ(files(), (Files{"A.shot", "B.shot", "C.shot"}));
  EXPECT_EQ(text("A.shot"), "1 0 0 0 0 0 0 0 0 0 A 3100 0 0");
  // A file that no longer reads as a shot is not renamed.
  put("A.shot", "1 2 half a li");
  EXPECT_FALSE(shot.renameShot("D"));
  EXPECT_EQ(files(), (Files{"A.shot", "B.shot", "C.shot"}));
}

TEST_F(ShotFile, HostileFilesNeverReachOutsideThePackNorLoseTheFile) {
  // Everything under the temporary folder but outside the pack: path -> text.
  const auto outside = [this] {
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      const std::string name = entry.path().string();
      if (name.rfind(dir.str("pack"), 0) == 0) continue;
      found[name] = entry.is_regular_file() ? readFile(entry.path()) : "<dir>";
    }
    return found;
  };
  put("../outside.shot", "0 0 0 0 0 0 0 0 0 0 outside 3000 0 0");
  put("../evil.shot", "keep");
  const auto before = outside();

  std::mt19937 random(7);
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  const std::string lines[] = {
      garbage,
      std::string(10 << 20, '7'),
      "1 2 3 4 5 6 7 8 9 10 " + std::string(10 << 20, 'n') + " 3000 0 0",
      "1 2 3 4 5 6 7 8 9 10 ../../evil 3000 0 0",
      "1 2 3 4 5 6 7 8 9 10 .. 3000 0 0",
      "1 2 3 4 5 6 7 8 9 10 . 3000 0 0",
      std::string("1 2 3 4 5 6 7 8 9 10 ab\0/../../evil 3000 0 0", 43),
      std::string("\0\0\0 \xff\xfe 1e999999 -nan(0x1) ", 23),
      "1e-400 1e400 inf -inf nan 0 0 0 0 2147483648 x 99999999999 -1 -1",
  };
  for (const std::string& line : lines) {
    put("G.shot", line);
    Shot shot;
    shot.filePath = path("G.shot");
    shot.readShot();
    const Files left = files();
    ASSERT_EQ(left.size(), 1u) << line.substr(0, 60);
    EXPECT_TRUE(left.begin()->ends_with(".shot")) << *left.begin();
    fs::remove(path(*left.begin()));
  }
  EXPECT_EQ(outside(), before);
}

}  // namespace
