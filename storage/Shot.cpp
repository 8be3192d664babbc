#include "storage/Shot.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <utility>

#include "storage/AtomicWrite.h"
#include "storage/ShotFileFormat.h"
#include "storage/ShotLine.h"
#include "storage/ShotName.h"
#include "storage/ShotRepair.h"
#include "platform/Utf8Path.h"

namespace fs = std::filesystem;

namespace {

enum class PathState { free, taken, unknown };

// Whether anything (file, folder, link, even a dangling one) holds `path`.
// An error of the test itself (a name too long, a folder we may not search)
// is `unknown`; it never escapes as an exception, since the callers run in a
// frame of the settings window.
PathState pathState(const std::string& path) {
  std::error_code error;
  const fs::file_type type = fs::symlink_status(pathFromUtf8(path), error).type();
  if (type == fs::file_type::not_found) return PathState::free;
  if (type == fs::file_type::none) return PathState::unknown;
  return PathState::taken;
}

bool isRegularFile(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(fs::status(pathFromUtf8(path), error));
}

bool endsWithSlash(const std::string& folder) { return !folder.empty() && folder.back() == '/'; }

bool moveFile(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(pathFromUtf8(from), pathFromUtf8(to), error);
  return !error;
}

// The file's name without its folder: what the window names in a reason
// (the player knows which pack is shown).
std::string fileNameIn(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// Success when nothing holds `path`: a shot may be written there.
Status freePath(const std::string& path) {
  switch (pathState(path)) {
    case PathState::free:
      return {};
    case PathState::taken:
      return Status::failure("A shot file named \"" + std::string(shotname::fileStem(path)) +
                             "\" is already in the pack");
    case PathState::unknown:
      break;
  }
  return Status::failure("Could not look at " + fileNameIn(path));
}

bool allFinite(const Shot& shot) {
  for (float value : {shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
                      shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ,
                      shot.carLocationX, shot.carLocationY, shot.carLocationZ}) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

// The record's text at its filePath; replaceOwnFileText when the caller has
// just moved the file there and knows it may write it.
bool writeShot(const Shot& shot, bool ownWritableFile) {
  if (!allFinite(shot)) return false;
  const std::string text = shotline::formatShotLine(shot);
  return ownWritableFile ? replaceOwnFileText(shot.filePath, text)
                         : replaceFileText(shot.filePath, text);
}

}  // namespace

std::string shotGoneReason(const std::string& path) {
  return "The shot's file " + fileNameIn(path) + " is gone or no longer holds a shot";
}

bool Shot::saveShotFile() const { return writeShot(*this, false); }

namespace {

// saveShotFile, saying why it failed.
Status saveStatus(const Shot& shot) {
  if (!allFinite(shot)) return Status::failure("The shot holds a value that is not a number; it was not saved");
  if (!shot.saveShotFile()) return Status::failure("Could not write " + fileNameIn(shot.filePath));
  return {};
}

}  // namespace

ShotRead Shot::readValues() {
  // A folder or a pipe would open, then read as nothing (or never return).
  if (!isRegularFile(filePath)) return ShotRead::missing;
  // Binary, as it was written; the reader takes CR as a blank, so a line an
  // editor ended with CRLF reads the same.
  std::ifstream in(pathFromUtf8(filePath), std::ios::binary);
  if (!in) return ShotRead::missing;
  const shotline::LineRead line = shotline::readShotLine(in, *this);
  return line == shotline::LineRead::malformed ? ShotRead::malformed : ShotRead::kept;
}

ShotRead Shot::readShot() {
  const ShotRead read = readValues();
  return read == ShotRead::kept ? normalizeShotFile() : read;
}

bool Shot::readShotFile() { return readShot() == ShotRead::kept; }

ShotRead Shot::normalizeShotFile(WriteAccess access) {
  name = shotname::cleanReadName(std::move(name));
  // A cleaned name holds no forbidden character, so one equal to the file's
  // stem equals the cleaned stem: what every load after the first finds,
  // decided without a copy.
  const std::string_view listedStem = shotname::fileStem(filePath);
  if (!name.empty() && name == listedStem) return ShotRead::kept;
  std::string stem(listedStem);
  stripForbiddenCharacters(stem);
  // A shot whose name cleans to nothing takes its file's name rather than
  // moving to a file named just ".shot", which no listing shows.
  if (name.empty()) name = shotname::cleanReadName(stem);
  if (name.empty()) name = stem;  // a file named only "_": left as it is
  if (name == stem) return ShotRead::kept;

  // Only older versions left blank placeholders, always in ".txt" files; a
  // ".shot" file holds a shot a player saved, whatever its values.
  if (filePath.ends_with(shotfile::legacyExtension) && isBlankShot()) {
    std::error_code error;
    if (fs::remove(pathFromUtf8(filePath), error) && !error) return ShotRead::placeholder;
    return ShotRead::kept;  // it stays where it is
  }

  if (access == WriteAccess::readOnly) return ShotRead::notRenamed;
  // The file stays in its own folder, whatever folderPath says.
  const std::string folder = shotname::folderOf(filePath);
  std::string target = folder + shotname::fileNameFor(name);
  for (int n = 1;; ++n) {
    const PathState state = pathState(target);
    if (state == PathState::unknown) return ShotRead::notRenamed;
    if (state == PathState::free) break;
    name += std::to_string(n);
    target = folder + shotname::fileNameFor(name);
  }

  if (!moveFile(filePath, target)) return ShotRead::notRenamed;
  std::string listedPath = std::exchange(filePath, std::move(target));
  if (writeShot(*this, access == WriteAccess::writable)) return ShotRead::kept;
  // Not rewritten, the file would keep a name that is not the one inside it:
  // it goes back to where it was.
  if (moveFile(filePath, listedPath)) filePath = std::move(listedPath);
  return ShotRead::notRenamed;
}

bool Shot::isBlankShot() const {
  for (float value : {ballLocationZ, ballLocationX, ballLocationY, ballVelocityX, ballVelocityY,
                      ballVelocityZ, carLocationX, carLocationY, carLocationZ}) {
    if (!(value == 0.0f)) return false;
  }
  const auto absentOrZero = [](int32_t angle) {
    return angle == 0 || angle == shotfile::rotationAbsentMarker;
  };
  return ballSpeed == shotfile::defaultBallSpeed && shotname::isPlaceholderName(name) &&
         carYaw == 0 && absentOrZero(carPitch) && absentOrZero(carRoll);
}

std::string Shot::displayName() const { return underscoresToSpaces(name); }

Status Shot::createShotFile(std::string folder, float ballLocationZ, float ballLocationX,
                            float ballLocationY, float ballVelocityX, float ballVelocityY,
                            float ballVelocityZ, float carLocationX, float carLocationY,
                            float carLocationZ, int32_t carYaw, std::string name,
                            int32_t ballSpeed, int32_t carPitch, int32_t carRoll) {
  if (!endsWithSlash(folder)) return Status::failure("The shot has no pack folder to go into");
  if (std::string why = shotname::shotNameProblem(name); !why.empty()) return Status::failure(why);
  std::string path = folder + shotname::fileNameFor(name);
  if (Status free = freePath(path); !free) return free;  // never overwrite
  filePath = std::move(path);
  return updateShot(ballLocationZ, ballLocationX, ballLocationY, ballVelocityX, ballVelocityY,
                    ballVelocityZ, carLocationX, carLocationY, carLocationZ, carYaw,
                    std::move(name), ballSpeed, carPitch, carRoll);
}

bool Shot::createDefaultShot(std::string folder) {
  if (!endsWithSlash(folder)) return false;
  std::string path = folder + std::string(shotfile::defaultShotName) +
                     std::string(shotfile::shotExtension);
  if (pathState(path) != PathState::free) return false;
  filePath = std::move(path);
  ballLocationZ = ballLocationX = ballLocationY = 0;
  ballVelocityX = ballVelocityY = ballVelocityZ = 0;
  carLocationX = carLocationY = carLocationZ = 0;
  carYaw = carPitch = carRoll = 0;
  name = shotfile::defaultShotName;
  ballSpeed = shotfile::defaultBallSpeed;
  return saveShotFile();
}

Status Shot::updateShot(float ballLocationZ, float ballLocationX, float ballLocationY,
                        float ballVelocityX, float ballVelocityY, float ballVelocityZ,
                        float carLocationX, float carLocationY, float carLocationZ,
                        int32_t carYaw, std::string name, int32_t ballSpeed, int32_t carPitch,
                        int32_t carRoll) {
  this->ballLocationZ = ballLocationZ;
  this->ballLocationX = ballLocationX;
  this->ballLocationY = ballLocationY;
  this->ballVelocityX = ballVelocityX;
  this->ballVelocityY = ballVelocityY;
  this->ballVelocityZ = ballVelocityZ;
  this->carLocationX = carLocationX;
  this->carLocationY = carLocationY;
  this->carLocationZ = carLocationZ;
  this->carYaw = carYaw;
  this->name = std::move(name);
  this->ballSpeed = ballSpeed;
  this->carPitch = carPitch;
  this->carRoll = carRoll;
  return saveStatus(*this);
}

Status Shot::deleteShotFile() {
  // Only a file: an empty folder of the same name is not a shot.
  if (!isRegularFile(filePath)) return Status::failure("The shot's file " + fileNameIn(filePath) + " is gone");
  std::error_code error;
  if (!fs::remove(pathFromUtf8(filePath), error) || error) {
    return Status::failure("Could not delete " + fileNameIn(filePath) + ": " + error.message());
  }
  return {};
}

Status Shot::renameShot(std::string newName) {
  if (std::string why = shotname::shotNameProblem(newName); !why.empty()) return Status::failure(why);
  // The file stays in its own folder, also for a record that was never
  // loaded from a pack (folderPath empty).
  std::string target = shotname::folderOf(filePath) + shotname::fileNameFor(newName);
  if (Status free = freePath(target); !free) {
    // Only the shot's own file (the same name, or another spelling of it on
    // a file system that ignores case) may be there.
    std::error_code error;
    if (pathState(target) != PathState::taken ||
        !fs::equivalent(pathFromUtf8(filePath), pathFromUtf8(target), error) || error) {
      return free;
    }
  }
  // The file may have changed since the record was read (an edit by hand,
  // "OverideShot"): the renamed file carries what the file holds now, filled
  // in as a pack load fills it, never the record's older values.
  Shot renamed;
  renamed.filePath = filePath;
  if (renamed.readValues() != ShotRead::kept) {
    return Status::failure(shotGoneReason(filePath));
  }
  shotrepair::fillMissingValues(renamed);
  if (!moveFile(filePath, target)) {
    return Status::failure("Could not rename " + fileNameIn(filePath) + " to " + fileNameIn(target));
  }
  renamed.filePath = target;
  renamed.folderPath = folderPath;
  renamed.name = std::move(newName);
  if (Status saved = saveStatus(renamed); !saved) {
    // Left half done, the next load would name the shot after its file.
    moveFile(target, filePath);
    return saved;
  }
  *this = std::move(renamed);
  return {};
}
