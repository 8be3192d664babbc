#pragma once
// One stored practice shot and its one-line file. Needs the standard library
// alone.
//
// Units: locations and velocities in game units, rotations in engine rotation
// units (65536 a turn), ballSpeed in game units per second. The record
// enforces no range.
//
// Paths are narrow strings with "/" separators; folder strings end in "/".

#include <cstdint>
#include <string>

#include "storage/ShotFileFormat.h"

class Shot {
 public:
  // ---- the record, in file order where it has one ----
  float ballLocationZ = 0;
  float ballLocationX = 0;
  float ballLocationY = 0;
  float ballVelocityX = 0;
  float ballVelocityY = 0;
  float ballVelocityZ = 0;
  float carLocationX = 0;
  float carLocationY = 0;
  float carLocationZ = 0;
  int32_t carYaw = 0;
  // rotationAbsentMarker until a file supplies the value.
  int32_t carPitch = shotfile::rotationAbsentMarker;
  int32_t carRoll = shotfile::rotationAbsentMarker;
  std::string filePath;    // the key by which the file is written, renamed, deleted
  std::string folderPath;  // set only by loadShot
  std::string name;        // display form: spaces, no "_"
  int32_t ballSpeed = 0;

  float getBallLocationZ() const { return ballLocationZ; }
  float getBallLocationX() const { return ballLocationX; }
  float getBallLocationY() const { return ballLocationY; }
  float getBallVelocityX() const { return ballVelocityX; }
  float getBallVelocityY() const { return ballVelocityY; }
  float getBallVelocityZ() const { return ballVelocityZ; }
  float getCarLocationX() const { return carLocationX; }
  float getCarLocationY() const { return carLocationY; }
  float getCarLocationZ() const { return carLocationZ; }
  int32_t getCarYaw() const { return carYaw; }
  int32_t getCarPitch() const { return carPitch; }
  int32_t getCarRoll() const { return carRoll; }
  int32_t getBallSpeed() const { return ballSpeed; }

  // ---- the file ----
  // Writes the record to filePath. True when the whole text reached the
  // file; on failure the previous file, if any, is left as it was.
  bool saveShotFile() const;
  // Reads the record from filePath, then normalizeShotFile. False when the
  // file cannot be opened, or as normalizeShotFile reports.
  bool readShotFile();
  // Cleans `name` and renames the file (within its folder) to match it,
  // appending 1, 2, 3, ... to the name while that file name is taken. A name
  // that cleans to nothing is taken from the file's stem. False when the rename
  // failed (or the free name could not be found) or the shot was a blank
  // placeholder whose file was deleted.
  bool normalizeShotFile();
  // The empty placeholder an older version left in a pack.
  bool isBlankShot() const;
  // `name` with every "_" shown as a space.
  std::string displayName() const;

  // ---- the shot's file inside a pack folder ----
  // Loads folder + name + ".shot" (".txt" for names "Shots<digits>"). True
  // when the shot was read and kept.
  bool loadShot(std::string folder, std::string name);
  // Creates folder + name + ".shot" with the given values; refuses a name
  // that is empty, holds a forbidden character or cleans to nothing, and
  // never overwrites anything. True when the path was free and the write
  // attempted.
  bool createShotFile(std::string folder, float ballLocationZ, float ballLocationX,
                      float ballLocationY, float ballVelocityX, float ballVelocityY,
                      float ballVelocityZ, float carLocationX, float carLocationY,
                      float carLocationZ, int32_t carYaw, std::string name, int32_t ballSpeed,
                      int32_t carPitch, int32_t carRoll);
  // Writes folder + "defaultShot.shot" unless something is there already.
  bool createDefaultShot(std::string folder);
  // Stores the values and rewrites filePath (the file keeps its name).
  void updateShot(float ballLocationZ, float ballLocationX, float ballLocationY,
                  float ballVelocityX, float ballVelocityY, float ballVelocityZ,
                  float carLocationX, float carLocationY, float carLocationZ, int32_t carYaw,
                  std::string name, int32_t ballSpeed, int32_t carPitch, int32_t carRoll);
  // True when the file (a regular file) was removed.
  bool deleteShotFile();
  // Moves the file to newName + ".shot" in the file's folder and rewrites it.
  // Refuses the names createShotFile refuses, and a target that is taken by
  // anything but the shot's own file. True when renamed.
  bool renameShot(std::string newName);
};

// Removes every forbidden character (shotfile::forbiddenCharacters) in place.
void stripForbiddenCharacters(std::string& text);

// Returns text with every "_" replaced by a space.
std::string underscoresToSpaces(std::string text);
