#pragma once
// A pack folder in a fresh temporary folder, with verbs for laying shot files
// into it and looking at what is there afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "storage/Shot.h"
#include "tests/support/TempDir.h"

using Files = std::set<std::string>;

class PackFolder : public ::testing::Test {
 protected:
  PackFolder() { std::filesystem::create_directories(dir.path() / "pack"); }

  // The pack folder as the shot operations take it: ending in "/".
  std::string folder() const { return dir.str("pack/"); }
  std::string path(const std::string& fileName) const { return folder() + fileName; }

  void put(const std::string& fileName, const std::string& text) const { writeFile(path(fileName), text); }
  std::string text(const std::string& fileName) const { return readFile(path(fileName)); }

  // Every entry of the pack folder, hidden ones included.
  Files files() const {
    Files names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "pack")) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  // A shot read by loadShot, as the pack loader reads one.
  Shot load(const std::string& name, bool expectKept = true) const {
    Shot shot;
    EXPECT_EQ(shot.loadShot(folder(), name), expectKept) << name;
    return shot;
  }

  TempDir dir;
};

// Nine floats, yaw, name, speed, pitch, roll: the order of the file.
struct ShotValues {
  float ballLocationZ = 0, ballLocationX = 0, ballLocationY = 0;
  float ballVelocityX = 0, ballVelocityY = 0, ballVelocityZ = 0;
  float carLocationX = 0, carLocationY = 0, carLocationZ = 0;
  int32_t carYaw = 0;
  std::string name;
  int32_t ballSpeed = 3000, carPitch = 0, carRoll = 0;
};

inline bool create(Shot& shot, const std::string& folder, const ShotValues& v) {
  return shot.createShotFile(folder, v.ballLocationZ, v.ballLocationX, v.ballLocationY, v.ballVelocityX,
                             v.ballVelocityY, v.ballVelocityZ, v.carLocationX, v.carLocationY, v.carLocationZ,
                             v.carYaw, v.name, v.ballSpeed, v.carPitch, v.carRoll);
}

inline void update(Shot& shot, const ShotValues& v) {
  shot.updateShot(v.ballLocationZ, v.ballLocationX, v.ballLocationY, v.ballVelocityX, v.ballVelocityY,
                  v.ballVelocityZ, v.carLocationX, v.carLocationY, v.carLocationZ, v.carYaw, v.name,
                  v.ballSpeed, v.carPitch, v.carRoll);
}
