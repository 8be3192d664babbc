// A shot file of the older layout that may not be written is neither renamed
// nor replaced on its first load: it stays as it is, out of the list, and
// the player is told; the rest of the pack loads.

#include <gmock/gmock.h>

#include "tests/packs/PackFixture.h"

namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

class OlderFileLoad : public PackFixture {};

TEST_F(OlderFileLoad, AFileThatMayNotBeWrittenStaysAsItIsAndIsNamed) {
  usePacks({"P"});
  const std::string locked = "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Wall_Shot 3200";
  put("P", "Shots3.txt", locked);
  put("P", "Lob.shot", shotLine("Lob"));
  {
    UndeletableFile pinned(file("P", "Shots3.txt"));
    if (!pinned.protects()) GTEST_SKIP() << "no way to protect a file here";
    plugin().loadTrainingPack(0);
  }
  EXPECT_THAT(shotNames(), ElementsAre("Lob"));
  EXPECT_THAT(files("P"), UnorderedElementsAre("Shots3.txt", "Lob.shot"));
  EXPECT_EQ(text("P", "Shots3.txt"), locked);
  EXPECT_THAT(log(), ElementsAre("Could not read shot file " + file("P", "Shots3.txt") +
                                 "; it was left as it is"));
}

}  // namespace
