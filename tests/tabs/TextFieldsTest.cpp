// The rules behind the window's fields that the window cannot show whole:
// which typed texts are numbers, and how a long name is cut into a field.

#include <gmock/gmock.h>

#include <limits>

#include "ui/NameRules.h"
#include "ui/TextFields.h"

namespace {

TEST(TypedNumber, OnlyAWholeDecimalNumberCounts) {
  for (auto [text, value] : {std::pair{"-7", -7.0}, {"+5", 5.0}, {".5", 0.5}, {"5.", 5.0}}) {
    EXPECT_EQ(parseTypedNumber(text), value) << text;
  }
  for (const char* text : {"", "-", ".", "1.2.3", "--1", "+-1", "1e5"}) {
    EXPECT_EQ(parseTypedNumber(text), std::nullopt) << text;
  }
  EXPECT_EQ(parseTypedNumber("-" + std::string(400, '9')), -std::numeric_limits<double>::infinity());
}

TEST(NameFields, TextIsCutToTheFieldWithoutSplittingACharacter) {
  char field[8];
  namerules::setFieldText(field, "abcdefghij");
  EXPECT_STREQ(field, "abcdefg");
  namerules::setFieldText(field, "abcdef\xC3\xA9");  // "é" would straddle the cut
  EXPECT_STREQ(field, "abcdef");
}

}  // namespace
