// The rules behind the window's fields, without a window: what a typed
// number commits, how a name is checked, how text is cut into a field.

#include <gmock/gmock.h>

#include <cstring>
#include <limits>

#include "ui/NameRules.h"
#include "ui/TextFields.h"

namespace {

using namerules::isBlankName;
using namerules::sameDisplayName;
using namerules::setFieldText;

TEST(TypedNumber, OnlyAWholeDecimalNumberCounts) {
  EXPECT_EQ(parseTypedNumber("12.3"), 12.3);
  EXPECT_EQ(parseTypedNumber("-7"), -7.0);
  EXPECT_EQ(parseTypedNumber("+5"), 5.0);
  EXPECT_EQ(parseTypedNumber(".5"), 0.5);
  EXPECT_EQ(parseTypedNumber("5."), 5.0);
  for (const char* text : {"", "-", "+", ".", "1+2", "2*3", "1/2", "1.2.3", "--1", "+-1", "1e5"}) {
    EXPECT_EQ(parseTypedNumber(text), std::nullopt) << text;
  }
  // Too long for a double: beyond every bound.
  std::string huge(400, '9');
  EXPECT_EQ(parseTypedNumber(huge), std::numeric_limits<double>::infinity());
  EXPECT_EQ(parseTypedNumber("-" + huge), -std::numeric_limits<double>::infinity());
}

TEST(TypedNumber, IntegersRoundUpAndClampBeforeConverting) {
  EXPECT_EQ(committedInt(12.3, -32764, 32764), 13);
  EXPECT_EQ(committedInt(-12.7, -32764, 32764), -12);
  EXPECT_EQ(committedInt(-0.5, -10, 10), 0);
  EXPECT_EQ(committedInt(1e15, -32764, 32764), 32764);
  EXPECT_EQ(committedInt(-1e300, -32764, 32764), -32764);
  EXPECT_EQ(committedInt(std::numeric_limits<double>::infinity(), 2985, 4600), 4600);
  EXPECT_EQ(committedFloat(5000, -4096, 4096), 4096.0f);
  EXPECT_EQ(committedFloat(-1e300, 0, 2044), 0.0f);
  EXPECT_EQ(committedFloat(-12.5, -5120, 5120), -12.5f);
}

TEST(NameRules, BlankNamesAreSpacesAndUnderscoresOnly) {
  EXPECT_TRUE(isBlankName("___"));
  EXPECT_TRUE(isBlankName(" _ "));
  EXPECT_FALSE(isBlankName(""));  // empty has its own message
  EXPECT_FALSE(isBlankName("_a_"));
  EXPECT_TRUE(namerules::isReservedShotName("Shots12"));
  EXPECT_FALSE(namerules::isReservedShotName("Shots 12"));
  EXPECT_TRUE(namerules::containsAnyOf("v1.2", namerules::forbiddenPackCharacters));
  EXPECT_FALSE(namerules::containsAnyOf("v1.2", namerules::forbiddenShotCharacters));
}

TEST(NameRules, NamesCompareAsTheyAreShown) {
  EXPECT_TRUE(sameDisplayName("My_Shot", "My Shot"));
  EXPECT_TRUE(sameDisplayName("My Shot", "My_Shot"));
  EXPECT_FALSE(sameDisplayName("My Shot", "my shot"));
  EXPECT_FALSE(sameDisplayName("My Shot", "My Shot "));
  Shot shot;
  shot.name = "Corner Shot";
  EXPECT_TRUE(namerules::shotNameTaken({shot}, "Corner_Shot"));
  EXPECT_FALSE(namerules::packNameTaken({"My Pack"}, "My_Pack"));
}

TEST(NameRules, TheCacheFollowsTheTextAndTheList) {
  namerules::TakenNameCache cache;
  std::vector<std::string> names = {"Alpha"};
  EXPECT_TRUE(cache.shotNameListed(names, "Alpha"));
  EXPECT_FALSE(cache.shotNameListed(names, "Beta"));
  std::vector<std::string> longer = {"Alpha", "Beta"};
  EXPECT_TRUE(cache.shotNameListed(longer, "Beta"));
}

TEST(NameFields, TextIsCutToTheFieldWithoutSplittingACharacter) {
  char field[8];
  setFieldText(field, "short");
  EXPECT_STREQ(field, "short");
  setFieldText(field, "abcdefghij");
  EXPECT_STREQ(field, "abcdefg");
  setFieldText(field, "abcdef\xC3\xA9");  // "é" would straddle the cut
  EXPECT_STREQ(field, "abcdef");
  char name[128];
  setFieldText(name, std::string(300, 'x'));
  EXPECT_EQ(std::strlen(name), 127u);
}

}  // namespace
