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

#include "storage/Outcome.h"
#include "storage/ShotFileFormat.h"

// What reading a shot file found. Only `kept` puts the shot in its pack's
// list; every other result leaves the file exactly as it was, except
// `placeholder`.
enum class ShotRead {
  kept,
  missing,     // no regular file at the path, or it could not be opened
  malformed,   // its text is no shot line, or reading it failed part-way
  notRenamed,  // it could not be renamed (and rewritten) to match its name
  placeholder, // a blank placeholder of the older ".txt" layout, now deleted
};

// What the caller of Shot::normalizeShotFile knows of whether the file may
// be written (whether it could open it for writing).
enum class WriteAccess { unknown, writable, readOnly };

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
  // The pack folder the shot was read from, with its "/": set by whoever
  // reads a listed file (the pack loader, export, copy) and moved with a
  // renamed pack; empty for a record made by createShotFile or
  // createDefaultShot, which no rename uses.
  std::string folderPath;
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
  // file; on failure the previous file, if any, is left as it was. A record
  // holding a value that is not finite is not written: no reader takes it.
  bool saveShotFile() const;
  // Reads the record from filePath and does nothing else. A malformed file
  // leaves the fields read before the fault changed.
  ShotRead readValues();
  // readValues, then normalizeShotFile for a file that was read.
  ShotRead readShot();
  // readShot() == ShotRead::kept.
  bool readShotFile();
  // Cleans `name` and renames the file (within its folder) to match it,
  // appending 1, 2, 3, ... to the name while that file name is taken; the
  // renamed file is rewritten, or moved back if that fails. A name that
  // cleans to nothing is taken from the file's stem. A blank placeholder read
  // from a ".txt" file is deleted instead. A file the caller knows to be
  // read-only is not renamed (notRenamed), as it could not be rewritten; one
  // it knows to be writable is rewritten without testing that again.
  ShotRead normalizeShotFile(WriteAccess access = WriteAccess::unknown);
  // The empty placeholder an older version left in a pack.
  bool isBlankShot() const;
  // `name` with every "_" shown as a space.
  std::string displayName() const;

  // ---- the shot's file inside a pack folder ----
  // Creates folder + shotname::fileNameFor(name) with the given values;
  // refuses a name that is empty, holds a forbidden character or cleans to
  // nothing, and never overwrites anything. Succeeds when the file was
  // written; otherwise says why, and nothing was created.
  Status createShotFile(std::string folder, float ballLocationZ, float ballLocationX,
                      float ballLocationY, float ballVelocityX, float ballVelocityY,
                      float ballVelocityZ, float carLocationX, float carLocationY,
                      float carLocationZ, int32_t carYaw, std::string name, int32_t ballSpeed,
                      int32_t carPitch, int32_t carRoll);
  // Writes folder + "defaultShot.shot" unless something is there already.
  // True when it was written.
  bool createDefaultShot(std::string folder);
  // Stores the values and rewrites filePath (the file keeps its name).
  // Succeeds when the file was written; on failure the file is as it was.
  Status updateShot(float ballLocationZ, float ballLocationX, float ballLocationY,
                    float ballVelocityX, float ballVelocityY, float ballVelocityZ,
                    float carLocationX, float carLocationY, float carLocationZ, int32_t carYaw,
                    std::string name, int32_t ballSpeed, int32_t carPitch, int32_t carRoll);
  // Succeeds when the file (a regular file) was removed.
  Status deleteShotFile();
  // Moves the file to shotname::fileNameFor(newName) in the file's folder and
  // rewrites it with the new name and the values the file holds now (missing
  // ones filled in as a pack load fills them), which the record then holds
  // too. Refuses the names createShotFile refuses, a target that is taken by
  // anything but the shot's own file, and a file that cannot be read as a
  // shot. Succeeds when renamed and rewritten; otherwise the file and the
  // record are as they were.
  Status renameShot(std::string newName);
};

// Why a shot whose file is at `path` cannot be read any more, in one line
// for the player.
std::string shotGoneReason(const std::string& path);

// Removes every forbidden character (shotfile::forbiddenCharacters) and
// control character in place.
void stripForbiddenCharacters(std::string& text);

// Returns text with every "_" replaced by a space.
std::string underscoresToSpaces(std::string text);
