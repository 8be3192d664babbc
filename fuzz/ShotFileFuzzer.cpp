// Any bytes as a shot file in a pack folder, read and normalised as the pack
// loader reads it. Checks that nothing outside the pack folder changes, that
// the pack never holds more than the one file (no temporary file, no copy),
// that a file whose text is no shot line is left exactly as it was and not
// kept, and that a shot read back as kept holds only finite values and
// survives a save and a read unchanged.
//
// The first byte chooses the file's name and whether the raw name token is
// also tried as a new name; the rest is the file's text.

#include <dirent.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "storage/Shot.h"
#include "storage/ShotLine.h"

namespace fs = std::filesystem;

namespace {

using fuzzsupport::readWhole;

[[noreturn]] void fail(const std::string& what) { fuzzsupport::fail("shot fuzzer", what); }

// A pack folder and a few neighbours that must never change, made once.
class Sandbox {
 public:
  Sandbox() {
    root_ = fuzzsupport::makeScratchFolder("shot fuzzer", "qm-shot-fuzz");
    fs::create_directories(pack());
    fs::create_directories(root_ / "other");
    std::ofstream(root_ / "outside.shot") << "1 0 0 0 0 0 0 0 0 0 outside 3000 0 0";
    std::ofstream(root_ / "other" / "evil.shot") << "2 0 0 0 0 0 0 0 0 0 evil 3000 0 0";
    outside_ = outsideFiles();
  }
  ~Sandbox() {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  fs::path pack() const { return root_ / "pack"; }
  std::string folder() const { return pack().string() + "/"; }

  void clearPack() const {
    for (const auto& entry : fs::directory_iterator(pack())) fs::remove_all(entry.path());
  }

  std::map<std::string, std::string> outsideFiles() const {
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
      const fs::path& path = entry.path();
      if (path == pack() || path.parent_path() == pack()) continue;
      found[path.string()] = entry.is_regular_file() ? readWhole(path) : "<folder>";
    }
    return found;
  }

  void checkOutsideUnchanged() const {
    if (outsideFiles() != outside_) fail("something outside the pack folder changed");
  }

  // The pack holds at most one entry, and it is a shot file.
  void checkPackHoldsAtMostOneShot() const {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(pack())) {
      const std::string name = entry.path().filename().string();
      if (!entry.is_regular_file()) fail("not a file in the pack: " + name);
      if (!name.ends_with(".shot") && !name.ends_with(".txt")) fail("stray file: " + name);
      ++count;
    }
    if (count > 1) fail("the pack holds more than one file");
  }

 private:
  fs::path root_;
  std::map<std::string, std::string> outside_;
};

bool sameFloat(float a, float b) {
  uint32_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

// What a float becomes once written and read back.
float throughText(float value) {
  float back = 0;
  if (!shotline::parseFloat(shotline::formatFloat(value), back)) {
    fail("unreadable float text " + shotline::formatFloat(value));
  }
  return back;
}

void checkSameShot(const Shot& a, const Shot& b) {
  const float as[] = {a.ballLocationZ, a.ballLocationX, a.ballLocationY,
                      a.ballVelocityX, a.ballVelocityY, a.ballVelocityZ,
                      a.carLocationX,  a.carLocationY,  a.carLocationZ};
  const float bs[] = {b.ballLocationZ, b.ballLocationX, b.ballLocationY,
                      b.ballVelocityX, b.ballVelocityY, b.ballVelocityZ,
                      b.carLocationX,  b.carLocationY,  b.carLocationZ};
  for (int i = 0; i < 9; ++i) {
    if (!sameFloat(as[i], bs[i])) fail("float " + std::to_string(i) + " changed");
  }
  if (a.carYaw != b.carYaw || a.carPitch != b.carPitch || a.carRoll != b.carRoll ||
      a.ballSpeed != b.ballSpeed) {
    fail("an integer field changed");
  }
  if (a.name != b.name) fail("name changed: [" + a.name + "] -> [" + b.name + "]");
  if (a.filePath != b.filePath) fail("file moved: " + a.filePath + " -> " + b.filePath);
}

// The eleventh whitespace-separated token of the text, raw.
std::string nameTokenOf(const std::string& text) {
  std::istringstream in(text);
  std::string token;
  for (int i = 0; i < 11; ++i) {
    if (!(in >> token)) return {};
  }
  return token.substr(0, 300);
}

const Sandbox& sandbox() {
  static const Sandbox instance;
  return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Sandbox& box = sandbox();
  static const char* const stems[] = {"F", "Shots7", "Shot3", "_a_b_"};
  const std::string stem = stems[data[0] & 3];
  const bool tryRename = (data[0] & 4) != 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  box.clearPack();
  const std::string fileName = stem + (stem == "Shots7" ? ".txt" : ".shot");
  std::ofstream(box.pack() / fileName, std::ios::binary) << text;

  Shot parsed;
  std::istringstream textStream(text);
  const bool malformed = shotline::readShotLine(textStream, parsed) == shotline::LineRead::malformed;

  Shot shot;
  shot.filePath = box.folder() + fileName;
  shot.folderPath = box.folder();
  const bool kept = shot.readShotFile();
  box.checkPackHoldsAtMostOneShot();
  if (malformed) {
    if (kept) fail("a file that is no shot line was kept");
    if (readWhole(box.pack() / fileName) != text) fail("a file that is no shot line was changed");
  }

  if (kept) {
    for (float value : {shot.ballLocationZ, shot.ballLocationX, shot.ballLocationY,
                        shot.ballVelocityX, shot.ballVelocityY, shot.ballVelocityZ,
                        shot.carLocationX, shot.carLocationY, shot.carLocationZ}) {
      if (!std::isfinite(value)) fail("a kept shot holds a value that is not finite");
    }
    if (!fs::is_regular_file(shot.filePath)) fail("a kept shot has no file");
    Shot expected = shot;
    for (float* value : {&expected.ballLocationZ, &expected.ballLocationX,
                         &expected.ballLocationY, &expected.ballVelocityX,
                         &expected.ballVelocityY, &expected.ballVelocityZ,
                         &expected.carLocationX, &expected.carLocationY,
                         &expected.carLocationZ}) {
      *value = throughText(*value);
    }
    if (!shot.saveShotFile()) fail("save failed");
    Shot back;
    back.filePath = shot.filePath;
    back.folderPath = shot.folderPath;
    if (!back.readShotFile()) fail("a saved shot does not read back");
    checkSameShot(expected, back);
    box.checkPackHoldsAtMostOneShot();

    if (tryRename) {
      const std::string newName = nameTokenOf(text);
      if (shot.renameShot(newName) && !fs::is_regular_file(shot.filePath)) {
        fail("renamed to nowhere");
      }
      box.checkPackHoldsAtMostOneShot();
      if (!fs::exists(shot.filePath)) fail("the rename lost the file");
    }
  }
  box.checkOutsideUnchanged();
  return 0;
}
