#pragma once
// The plug-in loaded into a host on a fresh folder, with verbs for laying
// packs and shot files into its data folder and reading back what is there.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/PluginHarness.h"

class PackFixture : public ::testing::Test {
 protected:
  QMTraining& plugin() { return harness.plugin(); }

  std::string packsFolder() const { return harness.dataFolder() + "/QMShots/TrainingPacks"; }
  std::string pack(const std::string& name) const { return harness.packFolder(name); }
  std::string file(const std::string& packName, const std::string& fileName) const {
    return pack(packName) + "/" + fileName;
  }

  void makePack(const std::string& name) const { std::filesystem::create_directories(pack(name)); }
  void put(const std::string& packName, const std::string& fileName, const std::string& text) const {
    writeFile(file(packName, fileName), text);
  }
  std::string text(const std::string& packName, const std::string& fileName) const {
    return readFile(file(packName, fileName));
  }
  bool has(const std::string& packName, const std::string& fileName) const {
    return std::filesystem::exists(file(packName, fileName));
  }
  // Every entry of a pack folder.
  std::set<std::string> files(const std::string& packName) const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(pack(packName))) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  // Makes the folders and sets the pack list to exactly these names, in this
  // order (a rescan would take the folder's order).
  void usePacks(const std::vector<std::string>& names) {
    for (const std::string& name : names) makePack(name);
    plugin().trainingPacks = names;
  }

  // The loaded shots' names, in order.
  std::vector<std::string> shotNames() {
    std::vector<std::string> names;
    for (const Shot& shot : plugin().shots) names.push_back(shot.name);
    return names;
  }

  int packNumber() { return harness.cvarInt("TrainingPackNum"); }
  void setPackNumber(int index) { harness.console("TrainingPackNum " + std::to_string(index)); }
  const std::vector<std::string>& log() { return harness.host().logLines(); }

  PluginHarness harness;
};

// The name as a shot line writes it: spaces as "_".
inline std::string tokenOf(std::string name) {
  std::replace(name.begin(), name.end(), ' ', '_');
  return name;
}

// A normalised shot line for the shot `name`.
inline std::string shotLine(const std::string& name, float ballZ = 92.5f, int speed = 3000) {
  std::ostringstream line;
  line << ballZ << " -1200 3500 0 -2500 800 0 -4608 17 16384 " << tokenOf(name) << ' ' << speed << " 0 0";
  return line.str();
}

inline const std::string defaultShotLine = "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0";

// Makes one file impossible to remove for as long as the object lives: the
// file system's immutable flag where the tests may set it (root), a
// read-only parent folder otherwise. protects() is false where neither
// works; tests then skip.
class UndeletableFile {
 public:
  explicit UndeletableFile(std::string path) : path_(std::move(path)), parent_(path_.parent_path()) {
    immutable_ = setImmutable(true);
    if (!immutable_) {
      const auto writable = std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                            std::filesystem::perms::others_write;
      std::filesystem::permissions(parent_, writable, std::filesystem::perm_options::remove, error_);
      readOnlyParent_ = !error_;
    }
    // Whatever was done, it only counts if a removal now fails.
    const std::string probe = (parent_ / ".probe").string();
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(probe.c_str());
    }
    protects_ = immutable_ || (readOnlyParent_ && fd < 0);
  }
  ~UndeletableFile() {
    if (immutable_) setImmutable(false);
    if (readOnlyParent_) {
      std::filesystem::permissions(parent_, std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error_);
    }
  }
  UndeletableFile(const UndeletableFile&) = delete;
  UndeletableFile& operator=(const UndeletableFile&) = delete;
  bool protects() const { return protects_; }

 private:
  bool setImmutable(bool on) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    int flags = 0;
    bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) ::close(fd);
    return done;
  }
  std::filesystem::path path_, parent_;
  std::error_code error_;
  bool immutable_ = false, readOnlyParent_ = false, protects_ = false;
};
