// Sharing a pack as one text: export, the checks of a text, import into a new
// pack (all or nothing), and the "ExportPack" and "ImportPack" commands.

#include <filesystem>
#include <map>

#include "storage/PackText.h"
#include "storage/PackTransfer.h"
#include "tests/support/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string replacing(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

class PackShare : public PackFixture {
 protected:
  // A pack folder of `count` normalised shot files with extreme values and
  // names with spaces, a number, a dot, UTF-8, the older "Shots" form and
  // none at all (the token "_").
  void makeSharedPack(const std::string& name, size_t count) {
    std::vector<std::string> names = {"Corner Shot", "Two  Words", "1) Ceiling", "a.b", "Défi", "Shots12", "x", "_"};
    names.resize(std::min(count, names.size()));
    while (names.size() < count) names.push_back("Shot " + std::to_string(names.size()));
    makePack(name);
    for (size_t i = 0; i < names.size(); ++i) {
      put(name, names[i] + (names[i] == "Shots12" ? ".txt" : ".shot"),
          "3.40282e+38 -3.40282e+38 1.17549e-38 -0 1e-05 123457 " + std::to_string(i) + " 0 0 -2147483648 " +
              tokenOf(names[i]) + " 2147483647 -32764 32764");
    }
  }
  std::string exported(const std::string& packName) {
    Outcome<PackExport> packText = exportPackFolder(pack(packName), packName);
    EXPECT_TRUE(packText.ok()) << packText.error;
    return packText.value.text;
  }
  // Every file of a pack folder with its bytes.
  std::map<std::string, std::string> contents(const std::string& packName) const {
    std::map<std::string, std::string> found;
    for (const std::string& name : files(packName)) found[name] = text(packName, name);
    return found;
  }
  // Every path under the host's folder: a refusal must leave it as it was.
  std::set<std::string> everything() const {
    std::set<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(harness.dir().path())) {
      paths.insert(entry.path().string());
    }
    return paths;
  }
  // Lays `text` into QMShots as "in.qmpack" and imports it as a player types it.
  void importFile(const std::string& text) {
    writeFile(harness.dataFolder() + "/QMShots/in.qmpack", text);
    harness.console("ImportPack \"in.qmpack\"");
  }
};

TEST_F(PackShare, ExportThenImportGivesByteIdenticalShotFiles) {
  for (size_t count : {0u, 1u, 60u}) {
    const std::string source = "Source " + std::to_string(count);
    const std::string copy = "Copy " + std::to_string(count);
    makeSharedPack(source, count);
    DecodedPack decoded = decodePackText(exported(source));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_EQ(decoded.name, source);
    ASSERT_EQ(decoded.shots.size(), count);
    Outcome<std::string> made = importPackFolder(packsFolder(), copy, decoded.shots);
    ASSERT_TRUE(made.ok()) << made.error;
    EXPECT_EQ(made.value, pack(copy));
    EXPECT_EQ(contents(copy), contents(source)) << count << " shots";
    EXPECT_EQ(contents(copy).size(), count);
  }
}

TEST_F(PackShare, TheTextFramesTheShotLinesInDisplayOrder) {
  // The README's example.
  const std::string left = "100 -2500 1500 900 0 0 0 -2500 17 16384 1_Left_wall 3000 0 0";
  const std::string right = "100 2500 1500 -900 0 0 0 -2500 17 16384 2_Right_wall 3000 0 0";
  makePack("Wall Shots");
  put("Wall Shots", "2 Right wall.shot", right);
  put("Wall Shots", "1 Left wall.shot", left);
  const std::string packText = exported("Wall Shots");
  EXPECT_EQ(packText, "QMPACK 1 Wall Shots\n" + left + "\n" + right + "\nQMPACK END 2 97dd4f72\n");
  // As a chat passes it on: CRLF, blank lines and spaces around lines, a
  // byte-order mark.
  std::string chat = "\xEF\xBB\xBF\r\n\n  ";
  for (char c : packText) chat += c == '\n' ? std::string(" \t\r\n\r\n") : std::string(1, c);
  DecodedPack decoded = decodePackText(chat);
  ASSERT_TRUE(decoded.ok()) << decoded.error;
  EXPECT_EQ(decoded.name, "Wall Shots");
  EXPECT_EQ(decoded.shots.at(1).name, "2 Right wall");
  // A file of the older layout, never loaded: exported, and renamed on disk,
  // with its missing values filled in as a load fills them.
  put("Wall Shots", "Shots3.txt", "100 0 0 0 0 0 0 0 17 0 3_Old");
  const std::string old = "100 0 0 0 0 0 0 0 17 0 3_Old 3000 0 0";
  EXPECT_THAT(exported("Wall Shots"), HasSubstr("\n" + old + "\n"));
  EXPECT_EQ(text("Wall Shots", "3 Old.shot"), old);
  // A text an older export wrote with the placeholder imports filled in too.
  const std::string marked = "100 0 0 0 0 0 0 0 17 0 3_Old 3000 137463 137463";
  ASSERT_TRUE(importPackFolder(packsFolder(), "Again", decodePackText(encodePackText("x", {marked})).shots).ok());
  EXPECT_EQ(text("Again", "3 Old.shot"), old);
}

TEST_F(PackShare, EveryRefusedTextSaysWhyCreatingNothing) {
  const std::string good = shotLine("Lob");
  const std::string packText = encodePackText("Shared", {good, shotLine("Chip")});
  const std::string lastLine = packText.substr(packText.rfind("QMPACK END"));
  const std::pair<std::string, const char*> refusals[] = {
      {"", "The text is empty"},
      {"Lob 1 2 3\n", "This is not a training pack text: it must begin with \"QMPACK 1\""},
      {replacing(packText, "QMPACK 1", "QMPACK 2"), "is of version 2; this plug-in reads version 1 only"},
      {replacing(packText, lastLine, ""), "The text is cut short"},
      {replacing(packText, "QMPACK END 2", "QMPACK END 3"), "holds 2 shots but its last line says 3"},
      {replacing(packText, lastLine, "QMPACK END 2 xyz\n"), "The last line is damaged"},
      {replacing(packText, lastLine, "QMPACK END\n"), "The last line is damaged"},
      {replacing(packText, "QMPACK END 2", "QMPACK END 2x"), "The last line is damaged"},
      {replacing(packText, "Lob", "Lop"), "The checksum does not match"},
      {encodePackText("Shared", {good, "1 2 3"}), "Shot line 2 cannot be read: it has 3 fields"},
      {encodePackText("Shared", {good + " 7"}), "it has 15 fields"},
      {encodePackText("Shared", {"nan" + good.substr(4)}), "field 1 is not a finite number"},
      {encodePackText("Shared", {replacing(good, "16384", "16384.0")}), "field 10 is not a whole number"},
      {encodePackText("Shared", {shotLine("__")}), "the shot has no name"},
      {encodePackText("Shared", {good, shotLine("d\xe5" "fault")}), "Shot line 2 cannot be read: its name is not UTF-8"},
      {encodePackText("Shared", {shotLine("\xF0\x80\x80\x80" "x")}), "its name is not UTF-8"},  // overlong
      {encodePackText("Shared", {shotLine("\xFF" "x")}), "its name is not UTF-8"},
      {encodePackText("Shared", {shotLine("aux.txt")}), "its name \"aux.txt\" names a device on Windows"},
      {encodePackText("d\xe5", {good}), "The pack's name on the first line is not UTF-8 text"},
      {encodePackText("..", {good}), "The pack's name \"..\" cannot name a pack"},
      {encodePackText("_ _", {good}), "The pack's name \"_ _\" cannot name a pack"},
      {encodePackText("./\\", {good}), "cannot name a pack"},
      {encodePackText("Con", {good}), "\"Con\" names a device on Windows"},
      {encodePackText(std::string(300, 'n'), {good}), "too long: it has 300 bytes, the longest allowed has 248"},
  };
  plugin().trainingPacks = {};
  const std::set<std::string> before = everything();
  for (const auto& [refused, reason] : refusals) {
    importFile(refused);
    EXPECT_THAT(log().back(), HasSubstr("Could not import in.qmpack: ")) << reason;
    EXPECT_THAT(log().back(), HasSubstr(reason));
    fs::remove(harness.dataFolder() + "/QMShots/in.qmpack");
    EXPECT_EQ(everything(), before) << reason;
  }
  EXPECT_TRUE(plugin().trainingPacks.empty());
  harness.console("ImportPack missing.qmpack");
  EXPECT_THAT(log().back(), HasSubstr("There is no file"));
}

TEST_F(PackShare, AnImportNeverReachesOutsideThePacksFolderNorIntoAPackNorLeavesAHalfPack) {
  makePack("Taken");
  put("Taken", "Mine.shot", shotLine("Mine"));
  const std::vector<Shot> shots = decodePackText(encodePackText("x", {shotLine("Lob")})).shots;
  const std::set<std::string> before = everything();
  for (const char* name : {"../x", "a/b", "/tmp/abs", "Taken"}) {
    EXPECT_FALSE(importPackFolder(packsFolder(), name, shots).ok()) << name;
  }
  EXPECT_EQ(everything(), before);
  // The second shot's file name is longer than any file system takes.
  const std::string packText = encodePackText("Long", {shotLine("Lob"), shotLine(std::string(300, 'n'))});
  Outcome<std::string> made = importPackFolder(packsFolder(), "Long", decodePackText(packText).shots);
  EXPECT_THAT(made.error, HasSubstr("Could not write the shot"));
  EXPECT_EQ(everything(), before);
}

TEST_F(PackShare, ImportPackSelectsANewPackUnderTheNextFreeName) {
  usePacks({"Zeta"});
  put("Zeta", "Old.shot", shotLine("Old"));
  makePack("Shared 2");  // made outside the plug-in, not listed
  const std::string packText = encodePackText("Shared", {shotLine("Lob"), shotLine("1 Chip")});
  for (int i = 0; i < 2; ++i) importFile(packText);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Shared", "Shared 3", "Zeta"));
  EXPECT_EQ(log().back(), "Training pack Shared 3 (2 shots) imported from in.qmpack");
  EXPECT_EQ(packNumber(), 1);
  EXPECT_THAT(shotNames(), ElementsAre("1 Chip", "Lob"));
  EXPECT_EQ(text("Shared 3", "Lob.shot"), shotLine("Lob"));
  // A hidden folder an interrupted import left is never listed as a pack,
  // and the next import removes it, and a temporary file a write left.
  put(".import-7.tmp", "Lob.shot", shotLine("Lob"));
  put("Zeta", ".Old.shot.tmp", "1 2 half");
  plugin().loadTrainingPacks();
  EXPECT_EQ(plugin().trainingPacks.size(), 4u);
  makePack("Backups 1.tmp");          // a player's pack, whatever its name ends with
  put("Zeta", ".notes.tmp", "notes");  // and hidden files that are no shot's
  put("Zeta", ".shot.tmp", "1 2 half");
  importFile(packText);
  EXPECT_EQ(log().at(log().size() - 2),
            "Removed what interrupted work left in the training packs: 1 import folder(s), 1 temporary shot file(s)");
  EXPECT_THAT(entriesOf(packsFolder()), testing::UnorderedElementsAre("Backups 1.tmp", "Shared", "Shared 2",
                                                                      "Shared 3", "Shared 4", "Zeta"));
  EXPECT_THAT(files("Zeta"), testing::UnorderedElementsAre(".notes.tmp", ".shot.tmp", "Old.shot"));
  // Names no Windows file name may carry are cleaned, and the player told.
  importFile(encodePackText("Demo: Pack.", {shotLine("Demo:Shot"), shotLine("Fine")}));
  EXPECT_EQ(log().back(), "Training pack Demo Pack (2 shots) imported from in.qmpack; Names changed to suit "
                          "every platform: \"Demo: Pack.\" to \"Demo Pack\", \"Demo:Shot\" to \"DemoShot\"");
  EXPECT_EQ(files("Demo Pack"), (Files{"DemoShot.shot", "Fine.shot"}));
}

TEST_F(PackShare, ExportPackWritesTheTextIntoTheExportsFolderNamingWhatItLeftOut) {
  makeSharedPack("My Pack", 2);
  put("My Pack", "Bad.shot", "1 2 three");
  put("My Pack", "Nul.shot", shotLine("Nul"));  // no file name on Windows
  harness.console("ExportPack My Pack");
  const std::string path = harness.dataFolder() + "/QMShots/Exports/My Pack.qmpack";
  EXPECT_EQ(log().back(), "Training pack My Pack (2 shots) exported to " + path +
                              "; 2 shots could not be included in the text: Bad.shot, Nul.shot");
  EXPECT_EQ(readFile(path), exported("My Pack"));
  for (const char* line : {"ExportPack Nope", "ExportPack ../QMShots", "ExportPack ..", "ExportPack"}) {
    harness.console(line);
  }
  EXPECT_THAT(log(), testing::IsSupersetOf({"There is no training pack named Nope",
                                            "There is no training pack named ../QMShots",
                                            "There is no training pack named ..", "Usage: ExportPack NAME"}));
  fs::remove_all(harness.dataFolder() + "/QMShots/Exports");
  writeFile(harness.dataFolder() + "/QMShots/Exports", "a file, not a folder");
  harness.console("ExportPack My Pack");
  EXPECT_THAT(log().back(), testing::StartsWith("Could not export training pack My Pack: Could not make the folder"));
}

}  // namespace
