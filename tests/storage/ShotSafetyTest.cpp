// Hostile input and files a write must not touch: no shot is lost, no
// temporary file is left, nothing outside the pack folder changes. Faults
// part-way through a write are the fault campaign's (tests/faults).

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <map>
#include <random>

#include "tests/storage/PackFolder.h"

namespace {

namespace fs = std::filesystem;

// Root passes every permission check. While this lives, the thread runs
// without the capabilities that let it, so read-only files act on it as on
// a player.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    if (syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct reduced[2];
    std::memcpy(reduced, saved_, sizeof reduced);
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      reduced[capability / 32].effective &= ~(1u << (capability % 32));
    }
    dropped_ = syscall(SYS_capset, &header_, reduced) == 0;
  }
  ~WithoutPermissionOverride() {
    if (dropped_) syscall(SYS_capset, &header_, saved_);
  }
  WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
  WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool dropped_ = false;
};

class ShotSafety : public PackFolder {
 protected:
  const std::string original = "1 2 3 4 5 6 7 8 9 10 A 3100 11 12";
};

TEST_F(ShotSafety, AReadOnlyFileIsNotWrittenAndKeepsItsText) {
  put("A.shot", original);
  Shot shot = load("A");
  fs::permissions(path("A.shot"), fs::perms::owner_read | fs::perms::group_read);
  WithoutPermissionOverride asPlayer;
  if (std::ofstream(path("A.shot"), std::ios::app)) GTEST_SKIP() << "cannot drop root's rights";
  shot.ballLocationZ = 50;
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_EQ(text("A.shot"), original);
  EXPECT_EQ(files(), Files{"A.shot"});
}

TEST_F(ShotSafety, WhatIsNotTheShotsOwnFileIsNeverReplaced) {
  fs::create_directory(path("Dir.shot"));
  Shot shot;
  shot.filePath = path("Dir.shot");
  shot.name = "Dir";
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_TRUE(fs::is_directory(path("Dir.shot")));
  EXPECT_EQ(files(), Files{"Dir.shot"});

  // A temporary file a crash left is replaced, then gone.
  put("A.shot", original);
  put(".A.shot.tmp", "1 2 half a li");
  EXPECT_TRUE(load("A").saveShotFile());
  EXPECT_EQ(files(), (Files{"A.shot", "Dir.shot"}));
  EXPECT_EQ(text("A.shot"), original);
}

TEST_F(ShotSafety, ARecordWithoutAFileWritesNowhere) {
  // What a temporary file for an empty path would be called: a write there
  // would replace it.
  writeFile(dir.path() / "..tmp", "the player's");
  const fs::path workingFolder = fs::current_path();
  fs::current_path(dir.path());
  Shot shot;
  shot.name = "Loose";
  const bool saved = shot.saveShotFile();
  update(shot, at(1, "Loose"));
  const bool renamed = shot.renameShot("Other");
  fs::current_path(workingFolder);
  EXPECT_FALSE(saved);
  EXPECT_FALSE(renamed);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
  EXPECT_EQ(readFile(dir.path() / "..tmp"), "the player's");
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
