// Any bytes as a pack text, imported into a scratch packs folder as
// "ImportPack" imports it. Checks that nothing outside the packs folder
// changes and that the pack already there is untouched; that an import either
// makes exactly one new pack folder holding one file per shot, or nothing
// (no half-made pack, no hidden folder left); and that the new pack, exported
// and imported again, gives byte-identical shot files.
//
// With the first byte odd the rest is taken as a name line and shot lines
// and wrapped into a text with the right count and checksum, so that inputs
// reach the shot lines and the importer rather than stopping at the checksum.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "storage/PackText.h"
#include "storage/PackTransfer.h"

namespace fs = std::filesystem;

namespace {

using fuzzsupport::readWhole;

[[noreturn]] void fail(const std::string& what) { fuzzsupport::fail("pack import fuzzer", what); }

// Every entry below `folder` with its bytes ("<folder>" for folders).
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    found[entry.path().lexically_relative(folder).string()] =
        entry.is_regular_file() ? readWhole(entry.path()) : "<folder>";
  }
  return found;
}

// root/packs is the packs folder, holding the pack "Existing"; root/outside
// and a file next to the packs folder must never change.
class Scratch {
 public:
  Scratch() {
    root_ = fuzzsupport::makeScratchFolder("pack import fuzzer", "qm-pack-fuzz");
    fs::create_directories(root_ / "packs" / "Existing");
    fs::create_directories(root_ / "outside");
    std::ofstream(root_ / "packs" / "Existing" / "Mine.shot")
        << "1 0 0 0 0 0 0 0 0 0 Mine 3000 0 0";
    std::ofstream(root_ / "outside" / "evil.shot") << "2 0 0 0 0 0 0 0 0 0 evil 3000 0 0";
    std::ofstream(root_ / "next.shot") << "3 0 0 0 0 0 0 0 0 0 next 3000 0 0";
    before_ = snapshot(root_);
  }
  ~Scratch() {
    std::error_code error;
    fs::remove_all(root_, error);
  }

  std::string packs() const { return (root_ / "packs").string(); }

  // Back to the state made by the constructor.
  void reset() const {
    for (const auto& entry : fs::directory_iterator(root_ / "packs")) {
      if (entry.path().filename() != "Existing") fs::remove_all(entry.path());
    }
  }

  // Everything as the constructor left it, apart from the new packs named.
  void checkOnlyAdded(const std::vector<std::string>& packs) const {
    std::map<std::string, std::string> now = snapshot(root_);
    for (const std::string& pack : packs) {
      const std::string prefix = (fs::path("packs") / pack).string();
      std::erase_if(now, [&](const auto& entry) {
        return entry.first == prefix || entry.first.starts_with(prefix + "/");
      });
    }
    if (now != before_) fail("something besides the new pack changed");
  }

 private:
  fs::path root_;
  std::map<std::string, std::string> before_;
};

// The lines of a text as a reader sees them: trimmed, blank ones left out.
std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> found;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first != std::string::npos) {
      found.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
    }
  }
  return found;
}

// The pack the import made, as it must be: one regular file per shot.
std::map<std::string, std::string> checkedPack(const Scratch& scratch, const std::string& name,
                                               size_t shots) {
  const fs::path folder = fs::path(scratch.packs()) / name;
  std::map<std::string, std::string> files = snapshot(folder);
  if (files.size() != shots) fail("the new pack holds " + std::to_string(files.size()) + " files");
  for (const auto& [file, text] : files) {
    if (text == "<folder>") fail("a folder in the new pack: " + file);
  }
  return files;
}

const Scratch& scratch() {
  static const Scratch instance;
  return instance;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const Scratch& box = scratch();
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] & 1) {
    std::vector<std::string> parts = lines(text);
    const std::string name = parts.empty() ? std::string() : parts.front();
    if (!parts.empty()) parts.erase(parts.begin());
    text = encodePackText(name, parts);
  }
  box.reset();

  const DecodedPack pack = decodePackText(text);
  if (!pack.ok()) return 0;
  // The name as the text carries it must never reach outside; cleaned, it
  // may make a pack.
  if (!isUsablePackName(pack.name) && importPackFolder(box.packs(), pack.name, pack.shots).ok()) {
    fail("an unusable name made a pack: " + pack.name);
  }
  box.checkOnlyAdded({});
  const std::string name = cleanPackName(pack.name);
  const Outcome<std::string> made = importPackFolder(box.packs(), name, pack.shots);
  if (!made.ok()) {
    box.checkOnlyAdded({});
    return 0;
  }
  const std::map<std::string, std::string> first = checkedPack(box, name, pack.shots.size());

  const Outcome<PackExport> exported = exportPackFolder(made.value, name);
  if (!exported.ok()) fail("the new pack cannot be exported: " + exported.error);
  const DecodedPack again = decodePackText(exported.value.text);
  if (!again.ok()) fail("the export of the new pack is refused: " + again.error);
  const std::string copy = name == "Copy" ? "Copy 2" : "Copy";
  if (!importPackFolder(box.packs(), copy, again.shots).ok()) fail("the export does not import");
  if (checkedPack(box, copy, pack.shots.size()) != first) {
    fail("export and import changed a shot file");
  }
  if (checkedPack(box, name, pack.shots.size()) != first) fail("the export changed the pack");
  box.checkOnlyAdded({name, copy});
  return 0;
}
