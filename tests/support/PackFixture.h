#pragma once
// Fixtures for shot files in pack folders: one pack folder alone (the shot
// operations), or the plug-in loaded into a host on a fresh folder (packs),
// with verbs for laying files in and reading back what is there.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "storage/Shot.h"
#include "storage/ShotName.h"
#include "tests/support/PluginHarness.h"
#include "tests/support/TempDir.h"

using Files = std::set<std::string>;

// Every entry of a folder, hidden ones included.
inline Files entriesOf(const std::filesystem::path& folder) {
  Files names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

class PackFolder : public ::testing::Test {
 protected:
  PackFolder() { std::filesystem::create_directories(dir.path() / "pack"); }

  // The pack folder as the shot operations take it: ending in "/".
  std::string folder() const { return dir.str("pack/"); }
  std::string path(const std::string& fileName) const { return folder() + fileName; }
  void put(const std::string& fileName, const std::string& text) const { writeFile(path(fileName), text); }
  std::string text(const std::string& fileName) const { return readFile(path(fileName)); }
  Files files() const { return entriesOf(dir.path() / "pack"); }

  // The shot of the file `name` names, read as Shot::readShot reads it: the
  // values, then the file normalised to the name inside it.
  Shot load(const std::string& name, bool expectKept = true) const {
    Shot shot;
    shot.filePath = path(shotname::fileNameFor(name));
    shot.folderPath = folder();
    EXPECT_EQ(shot.readShot() == ShotRead::kept, expectKept) << name;
    return shot;
  }

  TempDir dir;
};

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
  Files files(const std::string& packName) const { return entriesOf(pack(packName)); }

  // Makes the folders and sets the pack list to exactly these names, in this
  // order (a rescan would take the folder's order).
  void usePacks(const std::vector<std::string>& names) {
    for (const std::string& name : names) makePack(name);
    plugin().trainingPacks = names;
  }

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
