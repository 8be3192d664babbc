// Hostile input and files a write must not touch: no shot is lost, no
// temporary file is left, nothing outside the pack folder changes. Faults
// part-way through a write are the fault campaign's (tests/faults).

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "tests/storage/PackFolder.h"

namespace {

namespace fs = std::filesystem;

class ShotSafety : public PackFolder {};

TEST_F(ShotSafety, AFolderInPlaceOfTheFileIsKeptAndACrashsTemporaryFileIsReplaced) {
  fs::create_directory(path("Dir.shot"));
  Shot shot;
  shot.filePath = path("Dir.shot");
  shot.name = "Dir";
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_FALSE(shot.deleteShotFile());
  EXPECT_TRUE(fs::is_directory(path("Dir.shot")));

  put("A.shot", "1 2 3 4 5 6 7 8 9 10 A 3100 11 12");
  put(".A.shot.tmp", "1 2 half a li");
  EXPECT_TRUE(load("A").saveShotFile());
  EXPECT_EQ(files(), (Files{"A.shot", "Dir.shot"}));
  EXPECT_EQ(text("A.shot"), "1 2 3 4 5 6 7 8 9 10 A 3100 11 12");
}

TEST_F(ShotSafety, HostileFilesNeverReachOutsideThePackNorLoseTheFile) {
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
    shot.loadShot(folder(), "G");
    const Files left = files();
    ASSERT_EQ(left.size(), 1u) << line.substr(0, 60);
    EXPECT_TRUE(left.begin()->ends_with(".shot")) << *left.begin();
    fs::remove(path(*left.begin()));
  }
  EXPECT_EQ(outside(), before);
}

}  // namespace
