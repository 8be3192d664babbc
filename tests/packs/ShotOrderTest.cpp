// The order of shots in a pack (the key of a name, names compared) and of
// packs (folded case).

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "storage/ShotOrder.h"

namespace {

TEST(LeadingNumber, ReadsDigitsFromTheStartSkippingSpacesAndWrapsAs32BitUnsigned) {
  const std::pair<const char*, int> cases[] = {
      {"12) Ceiling shot", 12}, {"1 2 Air roll", 12}, {"007", 7}, {"  3 leading spaces", 3},
      {"2147483647", 2147483647},
      {"4294967297 laps", 1},                    // 2^32 + 1
      {"2147483648", -2147483647 - 1},           // 2^31
      {"99999999999999999999", 1661992959},      // 10^20 - 1 mod 2^32
      // Without a number, or wrapping to 0: the unnumbered key.
      {"4294967296", unnumberedKey}, {"Shot 5", unnumberedKey}, {"0 Start", unnumberedKey},
      {"", unnumberedKey}, {"   ", unnumberedKey}, {"_1 Underscore first", unnumberedKey},
  };
  for (const auto& [name, key] : cases) EXPECT_EQ(leadingNumber(name), key) << '"' << name << '"';
  EXPECT_EQ(unnumberedKey, 2147483640);
}

TEST(NaturalNameLess, OrdersByNumberThenByTheTextAfterTheFirstBracketBytewise) {
  const std::pair<const char*, const char*> ordered[] = {
      {"2 Flick", "10 Flick"}, {"10 Flick", "Backboard"}, {"11 Pinch", "1 2 Pinch"}, {"1 Start", "0 Start"},
      {"2147483648 wrapped", "1 Start"},  // a negative key
      {"3) Wall", "3) air"}, {"3) a", "3) ab"},  // a prefix is smaller
      {"3) z", "3) \xC3\xA9t\xC3\xA9"},        // bytes are unsigned
      {"4 no bracket", "4) x"},                // no bracket: empty text
      {"Shot) a", "Shot) b"},
  };
  for (const auto& [a, b] : ordered) {
    EXPECT_TRUE(naturalNameLess(a, b)) << a << " / " << b;
    EXPECT_FALSE(naturalNameLess(b, a)) << a << " / " << b;
  }
  // The same key and text: equivalent.
  for (auto [a, b] : {std::pair{"Backboard", "Aerial"}, {"Shot 7", "Shot_7"}, {"5 x", "05 y"},
                      {"3) same", "3 ) same"}}) {
    EXPECT_FALSE(naturalNameLess(a, b) || naturalNameLess(b, a)) << a << " / " << b;
  }
}

TEST(FoldedNameLess, ComparesLetterCaseLastAndBytesUnsigned) {
  for (auto [a, b] : {std::pair{"aerial", "Backboard"}, {"A", "a"}, {"Walls", "walls"}, {"10 Air", "Aerial"},
                      {"z", "\xC3\xA9"}, {"ab", "abc"}}) {
    EXPECT_TRUE(foldedNameLess(a, b)) << a << " / " << b;
    EXPECT_FALSE(foldedNameLess(b, a)) << a << " / " << b;
  }
  EXPECT_FALSE(foldedNameLess("same", "same"));
}

}  // namespace
