// Loading a pack into `shots`: order, fall-backs, what a load resets, the
// repair of older files, and adding and copying single shots.

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "storage/ShotOrder.h"
#include "tests/support/PackFixture.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class PackLoading : public PackFixture {
 protected:
  bool add(int pack, const std::string& name) {
    return plugin().addShotToPack(pack, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, name, 11, 12).ok();
  }
};

TEST_F(PackLoading, ShotsComeInNumberThenTextOrder) {
  usePacks({"P"});
  for (const char* name : {"Backboard", "10 Flick", "2 Flick", "3) air", "3) \xC3\xA9t\xC3\xA9", "3) Wall",
                           "1 2 Pinch", "11 Pinch", "0 Start", "1 Start", "backboard", "4 x", "4) a", "6x)b",
                           "6y)a", "Zed", "ab", "Alpha"}) {
    put("P", std::string(name) + ".shot", shotLine(name));
  }
  plugin().loadTrainingPack(0);
  // Then by the text after the first ")", bytes unsigned; the unnumbered
  // names follow, by name with A to Z folded to lower case, as on every machine.
  EXPECT_THAT(shotNames(),
              ElementsAre("1 Start", "2 Flick", "3) Wall", "3) air", "3) \xC3\xA9t\xC3\xA9", "4 x", "4) a", "6y)a",
                          "6x)b", "10 Flick", "11 Pinch", "1 2 Pinch", "0 Start", "ab", "Alpha", "Backboard",
                          "backboard", "Zed"));
  // The order a shared pack's text lists them in.
  EXPECT_TRUE(std::is_sorted(plugin().shots.begin(), plugin().shots.end(), shotNameLess));
  // A strict order, as a sort needs: no name comes before itself.
  for (const Shot& shot : plugin().shots) EXPECT_FALSE(shotNameLess(shot, shot)) << shot.name;
}

TEST_F(PackLoading, ALoadReplacesTheShotsResettingWhatBelongedToTheOldOnes) {
  usePacks({"P"});
  put("P", "B.shot", shotLine("B", 2));
  put("P", "1 A.shot", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 1_A 3200 0 0");
  plugin().shotSelections = {true, true, true};
  plugin().trainingActive = plugin().modifiersActive = true;
  harness.console("shotNumber1 4");
  harness.startLocalMatch();
  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), ElementsAre("1 A", "B"));
  EXPECT_THAT(plugin().shotSelections, ElementsAre(false, false));
  EXPECT_FALSE(plugin().trainingActive);
  EXPECT_FALSE(plugin().modifiersActive);
  EXPECT_EQ(harness.cvarInt("shotNumber1"), 0);
  // In a local match the first shot becomes the working shot.
  EXPECT_EQ(plugin().currentShotName, "1 A");
  EXPECT_EQ(plugin().ballSpeed, 3200);
}

TEST_F(PackLoading, TheFirstLoadWithoutAnyPackCreatesOne) {
  plugin().loadTrainingPack(0);
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Training Pack 1"));
  EXPECT_EQ(text("Training Pack 1", "defaultShot.shot"), defaultShotLine);
}

TEST_F(PackLoading, APackNumberOutsideTheListLoadsNothing) {
  usePacks({"Full", "Empty", "Gone"});
  put("Full", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().loadTrainingPack(3);
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
}

TEST_F(PackLoading, AnEmptyPackShowsItsDefaultShotNeverThePreviousPacksShots) {
  usePacks({"Full", "Empty"});
  put("Full", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  plugin().trainingActive = true;
  plugin().loadTrainingPack(1);
  EXPECT_EQ(text("Empty", "defaultShot.shot"), defaultShotLine);
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  EXPECT_FALSE(plugin().trainingActive);
}

TEST_F(PackLoading, APackWhoseFolderVanishedShowsNoShotsSayingSo) {
  usePacks({"Full", "Gone"});
  put("Full", "Lob.shot", shotLine("Lob"));
  plugin().loadTrainingPack(0);
  fs::remove(pack("Gone"));
  plugin().loadTrainingPack(1);
  EXPECT_FALSE(fs::exists(pack("Gone")));
  EXPECT_TRUE(shotNames().empty());
  EXPECT_THAT(log(), ElementsAre("Could not list " + pack("Gone") + "/: No such file or directory"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Full", "Gone"));
}

TEST_F(PackLoading, AnEmptyPackWhoseDefaultShotCannotBeWrittenSaysSo) {
  usePacks({"Gone"});
  fs::create_directories(pack("Gone") + "/defaultShot.shot");
  plugin().loadTrainingPack(0);
  EXPECT_EQ(log().back(), "Could not write the default shot into training pack Gone");
}

TEST_F(PackLoading, AFileThatIsNoShotLineIsLeftOutUntouchedNamedInTheLog) {
  usePacks({"Q"});
  put("Q", "Comma.shot", "1 2 3 4 5 100,5 7 8 9 10 Comma 3000 0 0");
  plugin().shotSelections = {true};
  plugin().loadTrainingPack(0);
  EXPECT_TRUE(plugin().shots.empty());
  EXPECT_TRUE(plugin().shotSelections.empty());
  EXPECT_EQ(text("Q", "Comma.shot"), "1 2 3 4 5 100,5 7 8 9 10 Comma 3000 0 0");
  EXPECT_THAT(log(), ElementsAre("Could not read shot file " + file("Q", "Comma.shot") + "; it was left as it is"));
}

TEST_F(PackLoading, EveryFileStaysListedOnceLoadAfterLoad) {
  usePacks({"P"});
  put("P", "Shots12.shot", shotLine("Shots12", 1));
  put("P", "Shots12.txt", shotLine("Shots12", 2));
  put("P", "Shots1.txt", "1 2 3 4 5 6 7 8 17 9 Shots2");
  for (int load = 0; load < 2; ++load) {
    plugin().loadTrainingPack(0);
    std::vector<std::string> paths;
    for (const Shot& shot : plugin().shots) paths.push_back(shot.filePath);
    EXPECT_THAT(paths, ElementsAre(file("P", "Shots12.shot"), file("P", "Shots12.txt"), file("P", "Shots2.txt")));
  }
}

TEST_F(PackLoading, ALoadRepairsOlderFilesOnceThenOnlyReadsThem) {
  usePacks({"P"});
  put("P", "Lob.shot", "1 2 3 4 5 6 7 8 9 10 Lob 3100 0");
  put("P", "My_Shot.shot", "1 2 3 4 5 6 7 8 9 10 My_Shot 0");
  put("P", "Shots3.txt", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Wall_Shot 3200");
  put("P", "Shots4.txt", "0 0 0 0 0 0 0 0 0 0 Shot4 3000");
  put("P", "Nil.shot", "0 0 0 0 0 0 0 0 0 0 Nil 0 5 6");  // no placeholder: only its speed is missing
  plugin().loadTrainingPack(0);
  EXPECT_THAT(shotNames(), ElementsAre("Lob", "My Shot", "Nil", "Wall Shot"));
  EXPECT_EQ(files("P"), (Files{"Lob.shot", "My Shot.shot", "Nil.shot", "Wall Shot.shot"}));
  EXPECT_EQ(text("P", "Nil.shot"), "0 0 0 0 0 0 0 0 0 0 Nil 3000 5 6");
  EXPECT_EQ(text("P", "Lob.shot"), "1 2 3 4 5 6 7 8 9 10 Lob 3100 0 0");  // repaired where it is
  EXPECT_EQ(text("P", "My Shot.shot"), "1 2 3 4 5 6 7 8 9 10 My_Shot 3000 0 0");
  EXPECT_EQ(text("P", "Wall Shot.shot"), shotLine("Wall Shot", 92.5f, 3200));

  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(file("P", "Wall Shot.shot"), old);
  plugin().loadTrainingPack(0);
  EXPECT_EQ(fs::last_write_time(file("P", "Wall Shot.shot")), old);
  EXPECT_TRUE(log().empty());
}

TEST_F(PackLoading, AddWritesOnlyANewShotWithTheFixedSpeedThenReloads) {
  usePacks({"P", "Gone"});
  put("P", "2 Lob.shot", shotLine("2 Lob"));
  put("P", "Taken.shot", shotLine("Taken", 7));
  fs::remove(pack("Gone"));
  harness.console("cool_speed 4100");
  EXPECT_FALSE(add(0, "Taken"));
  EXPECT_FALSE(add(1, "New"));
  EXPECT_FALSE(add(2, "New"));
  EXPECT_EQ(text("P", "Taken.shot"), shotLine("Taken", 7));
  EXPECT_FALSE(fs::exists(pack("Gone")));
  EXPECT_TRUE(plugin().shots.empty());
  EXPECT_TRUE(add(0, "1 New"));
  EXPECT_EQ(text("P", "1 New.shot"), "1 2 3 4 5 6 7 8 9 10 1_New 4100 11 12");
  EXPECT_THAT(shotNames(), ElementsAre("1 New", "2 Lob", "Taken"));
}

TEST_F(PackLoading, CopyTakesTheListedShotsFileIntoAnyPack) {
  usePacks({"P", "Q"});
  put("P", "Lob.shot", shotLine("Lob", 1));
  put("Q", "Lob.shot", shotLine("Lob", 2));
  plugin().loadTrainingPack(0);
  // Changed on disk since the load: the copy takes the file's values.
  put("P", "Lob.shot", "5 -1200 3500 0 -2500 800 0 -4608 17 16384 Lob 3300");
  EXPECT_TRUE(plugin().copyShotToPack(0, 0, 0, "Lob Copy"));
  // The current pack changed without a reload, as a console line does: the
  // listed shot's file still, not its namesake in the current pack.
  setPackNumber(1);
  EXPECT_TRUE(plugin().copyShotToPack(1, 1, 0, "Moved Lob"));
  EXPECT_EQ(text("P", "Lob Copy.shot"), shotLine("Lob Copy", 5, 3300));
  EXPECT_EQ(text("Q", "Moved Lob.shot"), shotLine("Moved Lob", 5, 3300));
  EXPECT_TRUE(fs::exists(file("P", "Lob.shot")));
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));  // nothing is reloaded here
}

TEST_F(PackLoading, CopyRefusesEveryImpossibleCopyWritingNothing) {
  usePacks({"P", "Q", "Gone"});
  put("P", "Lob.shot", shotLine("Lob"));
  put("Q", "Taken.shot", shotLine("Taken", 9));
  plugin().loadTrainingPack(0);
  fs::remove(pack("Gone"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 1, "New"));    // shot index == size
  EXPECT_FALSE(plugin().copyShotToPack(0, 2, 0, "New"));    // target folder missing
  EXPECT_FALSE(plugin().copyShotToPack(0, 3, 0, "New"));    // no such pack
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 0, "Taken"));  // the target file is there
  fs::remove(file("P", "Lob.shot"));
  EXPECT_FALSE(plugin().copyShotToPack(0, 1, 0, "Ghost"));  // not as a blank shot
  EXPECT_EQ(files("Q"), Files{"Taken.shot"});
  EXPECT_EQ(text("Q", "Taken.shot"), shotLine("Taken", 9));
}

TEST(LeadingNumber, ReadsDigitsFromTheStartSkippingSpacesWrappingAs32BitUnsigned) {
  // Wrapping past 2^32 + 1, 2^31 and 10^20 - 1; no number, or 0: the unnumbered key.
  const std::pair<const char*, int> cases[] = {
      {"12) Ceiling shot", 12}, {"1 2 Air roll", 12}, {"  3 leading spaces", 3}, {"2147483647", 2147483647},
      {"4294967297 laps", 1}, {"2147483648", -2147483647 - 1}, {"99999999999999999999", 1661992959},
      {"4294967296", unnumberedKey}, {"Shot 5", unnumberedKey}, {"0 Start", unnumberedKey},
      {"   ", unnumberedKey}, {"_1 Underscore first", unnumberedKey},
  };
  for (const auto& [name, key] : cases) EXPECT_EQ(leadingNumber(name), key) << '"' << name << '"';
  EXPECT_EQ(unnumberedKey, 2147483640);
}

}  // namespace
