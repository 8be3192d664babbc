// The order of shots in a pack: the key of a name, names compared, shots
// compared by their display names.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "storage/Shot.h"
#include "storage/ShotOrder.h"

namespace {

TEST(LeadingNumber, ReadsDigitsFromTheStartSkippingSpaces) {
  EXPECT_EQ(leadingNumber("12) Ceiling shot"), 12);
  EXPECT_EQ(leadingNumber("1 2 Air roll"), 12);
  EXPECT_EQ(leadingNumber("007"), 7);
  EXPECT_EQ(leadingNumber("  3 leading spaces"), 3);
  EXPECT_EQ(leadingNumber("2147483647"), 2147483647);
}

TEST(LeadingNumber, NamesWithoutANumberShareTheUnnumberedKey) {
  for (const char* name : {"Shot 5", "0 Start", "Backboard", "", "   ", "_1 Underscore first"}) {
    EXPECT_EQ(leadingNumber(name), 2147483640) << '"' << name << '"';
  }
  EXPECT_EQ(unnumberedKey, 0x7FFFFFF8);
}

TEST(LeadingNumber, ALongNumberWrapsAsUnsigned32BitArithmeticDoes) {
  EXPECT_EQ(leadingNumber("4294967297 laps"), 1);                   // 2^32 + 1
  EXPECT_EQ(leadingNumber("4294967296"), 2147483640);               // wraps to 0
  EXPECT_EQ(leadingNumber("2147483648"), -2147483647 - 1);          // 2^31
  EXPECT_EQ(leadingNumber("99999999999999999999"), 1661992959);     // 10^20 - 1 mod 2^32
}

TEST(NaturalNameLess, NumberedNamesComeFirstInNumericOrder) {
  std::vector<std::string> names = {"Backboard", "10 Flick", "2 Flick"};
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return naturalNameLess(a, b); });
  EXPECT_EQ(names, (std::vector<std::string>{"2 Flick", "10 Flick", "Backboard"}));

  EXPECT_TRUE(naturalNameLess("11 Pinch", "1 2 Pinch"));
  EXPECT_TRUE(naturalNameLess("1 Start", "0 Start"));
  EXPECT_TRUE(naturalNameLess("2147483648 wrapped", "1 Start"));  // a negative key
}

TEST(NaturalNameLess, EqualNumbersCompareTheTextAfterTheFirstBracketBytewise) {
  EXPECT_TRUE(naturalNameLess("3) Wall", "3) air"));
  EXPECT_FALSE(naturalNameLess("3) air", "3) Wall"));
  EXPECT_TRUE(naturalNameLess("3) a", "3) ab"));              // a prefix is smaller
  EXPECT_TRUE(naturalNameLess("3) z", "3) \xC3\xA9t\xC3\xA9"));  // bytes are unsigned
  EXPECT_TRUE(naturalNameLess("4 no bracket", "4) x"));       // no bracket: empty text
  EXPECT_TRUE(naturalNameLess("Shot) a", "Shot) b"));
}

TEST(NaturalNameLess, NamesWithTheSameKeyAndTextAreEquivalent) {
  for (auto [a, b] : {std::pair{"Backboard", "Aerial"}, {"Shot 7", "Shot_7"}, {"5 x", "05 y"},
                      {"3) same", "3 ) same"}}) {
    EXPECT_FALSE(naturalNameLess(a, b)) << a << " / " << b;
    EXPECT_FALSE(naturalNameLess(b, a)) << a << " / " << b;
  }
}

TEST(FoldedNameLess, ComparesLetterCaseLastAndBytesUnsigned) {
  for (auto [a, b] : {std::pair{"aerial", "Backboard"}, {"A", "a"}, {"Walls", "walls"},
                      {"10 Air", "Aerial"}, {"z", "\xC3\xA9"}, {"ab", "abc"}}) {
    EXPECT_TRUE(foldedNameLess(a, b)) << a << " / " << b;
    EXPECT_FALSE(foldedNameLess(b, a)) << a << " / " << b;
  }
  EXPECT_FALSE(foldedNameLess("same", "same"));
}

TEST(ShotNameLess, ComparesDisplayNames) {
  Shot pinch;
  pinch.name = "1_2 Pinch";  // shown as "1 2 Pinch": key 12
  Shot other;
  other.name = "11 Pinch";
  EXPECT_TRUE(shotNameLess(other, pinch));
  EXPECT_FALSE(shotNameLess(pinch, other));

  Shot underscored;
  underscored.name = "Shot_7";
  Shot spaced;
  spaced.name = "Shot 7";
  EXPECT_FALSE(shotNameLess(underscored, spaced));
  EXPECT_FALSE(shotNameLess(spaced, underscored));

  // Names without a number follow by name.
  Shot aerial;
  aerial.name = "aerial";
  EXPECT_TRUE(shotNameLess(aerial, spaced));
  EXPECT_FALSE(shotNameLess(spaced, aerial));
}

}  // namespace
