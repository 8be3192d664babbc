// Failures part-way and hostile input: no shot is lost, no temporary file is
// left, nothing outside the pack folder changes.

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <map>
#include <random>

#include "tests/storage/PackFolder.h"

namespace {

namespace fs = std::filesystem;

// Root passes every permission check. While this lives, the thread runs
// without the capabilities that let it, so read-only files and folders act
// on it as on a player.
class WithoutPermissionOverride {
 public:
  WithoutPermissionOverride() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
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
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool dropped_ = false;
};

// Files this process writes may not grow past `bytes`: a disk that fills up
// in the middle of a write. A write past the limit fails with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = nullptr;
};

bool canCreateFileIn(const fs::path& folder) {
  const fs::path probe = folder / "probe";
  const bool created = static_cast<bool>(std::ofstream(probe));
  std::error_code error;
  fs::remove(probe, error);
  return created;
}

class ShotSafety : public PackFolder {
 protected:
  // Everything under the temporary folder but outside the pack: path -> text.
  std::map<std::string, std::string> outside() const {
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      const std::string name = entry.path().string();
      if (name.rfind(dir.str("pack"), 0) == 0) continue;
      found[name] = entry.is_regular_file() ? readFile(entry.path()) : "<dir>";
    }
    return found;
  }

  void setPackWritable(bool writable) const {
    fs::permissions(dir.path() / "pack", fs::perms::owner_write,
                    writable ? fs::perm_options::add : fs::perm_options::remove);
  }

  const std::string original = "1 2 3 4 5 6 7 8 9 10 A 3100 11 12";
};

TEST_F(ShotSafety, AWriteThatFailsPartWayLeavesTheOldFileWhole) {
  put("A.shot", original);
  Shot shot = load("A");
  bool saved = true;
  {
    FileSizeLimit limit(10);  // the new text is longer than this
    update(shot, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9, "A", 3300, 1, 1});
    saved = shot.saveShotFile();
  }
  EXPECT_FALSE(saved);
  EXPECT_EQ(text("A.shot"), original);
  EXPECT_EQ(files(), std::set<std::string>{"A.shot"});  // no temporary file left

  EXPECT_TRUE(shot.saveShotFile());
  EXPECT_EQ(text("A.shot"), "9 9 9 9 9 9 9 9 9 9 A 3300 1 1");
}

TEST_F(ShotSafety, ANewFileThatCannotBeWrittenWholeIsNotCreated) {
  Shot shot;
  {
    FileSizeLimit limit(10);
    EXPECT_FALSE(create(shot, folder(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "New"}));
  }
  EXPECT_TRUE(files().empty());
}

TEST_F(ShotSafety, SomethingOtherThanAFileAtThePathIsNeverReplaced) {
  fs::create_directory(path("Dir.shot"));
  Shot shot;
  shot.filePath = path("Dir.shot");
  shot.name = "Dir";
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_TRUE(fs::is_directory(path("Dir.shot")));
  EXPECT_EQ(files(), std::set<std::string>{"Dir.shot"});
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
  shot.updateShot(1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "Loose", 3000, 0, 0);
  const bool renamed = shot.renameShot("Other");
  fs::current_path(workingFolder);
  EXPECT_FALSE(saved);
  EXPECT_FALSE(renamed);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
  EXPECT_EQ(readFile(dir.path() / "..tmp"), "the player's");
}

TEST_F(ShotSafety, ATemporaryFileLeftByACrashIsReplacedAndRemoved) {
  put("A.shot", original);
  put(".A.shot.tmp", "1 2 half a li");
  Shot shot = load("A");
  EXPECT_TRUE(shot.saveShotFile());
  EXPECT_EQ(files(), std::set<std::string>{"A.shot"});
  EXPECT_EQ(text("A.shot"), original);
}

TEST_F(ShotSafety, AReadOnlyFileIsNotWrittenAndKeepsItsText) {
  put("A.shot", original);
  Shot shot = load("A");
  fs::permissions(path("A.shot"), fs::perms::owner_read | fs::perms::group_read);
  WithoutPermissionOverride asPlayer;
  if (std::ofstream(path("A.shot"), std::ios::app)) GTEST_SKIP() << "cannot drop root's rights";
  shot.ballLocationZ = 50;
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_EQ(text("A.shot"), original);
  EXPECT_EQ(files(), std::set<std::string>{"A.shot"});
}

TEST_F(ShotSafety, AReadOnlyPackFolderChangesNothingAndLosesNothing) {
  put("A.shot", original);
  put("B.shot", "1 0 0 0 0 0 0 0 0 0 Renamed 3000 0 0");
  Shot shot = load("A");
  setPackWritable(false);
  {
    WithoutPermissionOverride asPlayer;
    if (canCreateFileIn(dir.path() / "pack")) {
      setPackWritable(true);
      GTEST_SKIP() << "cannot drop root's rights";
    }
    shot.ballLocationZ = 50;
    EXPECT_FALSE(shot.saveShotFile());
    EXPECT_FALSE(shot.renameShot("C"));
    EXPECT_FALSE(shot.deleteShotFile());
    load("B", false);  // its rename fails: left out, file as it was
    Shot created;
    EXPECT_FALSE(create(created, folder(), {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "New"}));
  }
  setPackWritable(true);
  EXPECT_EQ(files(), (std::set<std::string>{"A.shot", "B.shot"}));
  EXPECT_EQ(text("A.shot"), original);
  EXPECT_EQ(text("B.shot"), "1 0 0 0 0 0 0 0 0 0 Renamed 3000 0 0");
}

TEST_F(ShotSafety, APackFolderThatVanishesAfterListingIsHandledQuietly) {
  put("A.shot", original);
  Shot shot = load("A");
  const std::set<std::string> listed = files();
  fs::remove_all(dir.path() / "pack");
  for (const std::string& fileName : listed) {
    Shot again;
    EXPECT_FALSE(again.loadShot(folder(), fileName.substr(0, fileName.rfind('.'))));
  }
  EXPECT_FALSE(shot.readShotFile());
  EXPECT_FALSE(shot.saveShotFile());
  EXPECT_FALSE(shot.renameShot("B"));
  EXPECT_FALSE(shot.deleteShotFile());
  EXPECT_FALSE(fs::exists(dir.path() / "pack"));
}

TEST_F(ShotSafety, HostileFilesNeverReachOutsideThePackNorLoseTheFile) {
  put("../outside.shot", "0 0 0 0 0 0 0 0 0 0 outside 3000 0 0");
  put("../evil.shot", "keep");
  const auto before = outside();

  std::mt19937 random(7);
  std::string garbage(4096, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  const std::string tenMegabytes(10 << 20, '7');
  const std::string lines[] = {
      garbage,
      tenMegabytes,
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
    const std::set<std::string> left = files();
    ASSERT_EQ(left.size(), 1u) << line.substr(0, 60);
    EXPECT_TRUE(left.begin()->ends_with(".shot")) << *left.begin();
    for (const std::string& fileName : left) fs::remove(path(fileName));
  }
  EXPECT_EQ(outside(), before);
}

}  // namespace
