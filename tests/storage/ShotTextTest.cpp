// The text of a shot file: floats, name tokens, field order, and what the
// reader makes of every kind of line.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale>

#include "storage/ShotLine.h"
#include "tests/storage/PackFolder.h"

namespace {

using shotline::formatFloat;
using shotline::parseFloat;
using shotline::parseInt;

uint32_t bitsOf(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

TEST(ShotFloatText, IsWhatADefaultStreamWritesForTheDouble) {
  const std::pair<float, const char*> cases[] = {
      {0.1f, "0.1"},          {123456.7f, "123457"},     {0.000012f, "1.2e-05"},
      {-0.0f, "-0"},          {1234.567f, "1234.57"},    {1e-5f, "1e-05"},
      {0.0f, "0"},            {100000.0f, "100000"},     {1000000.0f, "1e+06"},
      {-4096.0f, "-4096"},    {2044.5f, "2044.5"},       {0.0001f, "0.0001"},
      {std::numeric_limits<float>::max(), "3.40282e+38"},
      {std::numeric_limits<float>::denorm_min(), "1.4013e-45"},
      {std::numeric_limits<float>::infinity(), "inf"},
      {-std::numeric_limits<float>::infinity(), "-inf"},
      {std::numeric_limits<float>::quiet_NaN(), "nan"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(formatFloat(value), text) << text;
}

TEST(ShotFloatText, ReadsBackAsTheNearestFloat) {
  // strtof rounds correctly in the C locale the tests run in: an oracle that
  // shares no code with the reader. Every 4099th bit pattern, both signs,
  // which passes through every exponent.
  for (uint64_t bits = 0; bits < 0x7f800000u; bits += 4099) {
    for (uint32_t sign : {0u, 0x80000000u}) {
      float value;
      const uint32_t pattern = static_cast<uint32_t>(bits) | sign;
      std::memcpy(&value, &pattern, sizeof value);
      const std::string text = formatFloat(value);
      float parsed = 12345;
      ASSERT_TRUE(parseFloat(text, parsed)) << text;
      ASSERT_EQ(bitsOf(parsed), bitsOf(std::strtof(text.c_str(), nullptr))) << text;
    }
  }
}

TEST(ShotFloatText, NumbersAreWholeTokensReadAsAStreamReadsThem) {
  float f = 7;
  EXPECT_TRUE(parseFloat("+5", f));
  EXPECT_EQ(f, 5);
  EXPECT_TRUE(parseFloat("-1e-50", f));  // below the smallest float: a zero
  EXPECT_TRUE(f == 0 && std::signbit(f));
  EXPECT_TRUE(parseFloat("-inf", f));
  EXPECT_EQ(f, -std::numeric_limits<float>::infinity());
  EXPECT_TRUE(parseFloat("nan", f));
  EXPECT_TRUE(std::isnan(f));
  f = 7;
  for (const char* bad : {"1e50", "abc", "12abc", "", "+", "--1", "+-1", "0x10", "1,5"}) {
    EXPECT_FALSE(parseFloat(bad, f)) << bad;
    EXPECT_EQ(f, 7) << bad;
  }

  int32_t i = 7;
  EXPECT_TRUE(parseInt("-32764", i));
  EXPECT_EQ(i, -32764);
  EXPECT_TRUE(parseInt("+3000", i));
  EXPECT_EQ(i, 3000);
  i = 7;
  for (const char* bad : {"1.5", "2147483648", "-2147483649", "0x10", "3000abc", "nan", ""}) {
    EXPECT_FALSE(parseInt(bad, i)) << bad;
    EXPECT_EQ(i, 7) << bad;
  }
}

class ShotText : public PackFolder {};

TEST_F(ShotText, HasFourteenFieldsInFileOrderWithoutALineBreak) {
  Shot shot;
  ASSERT_TRUE(create(shot, folder(),
                     {0.1f, 123456.7f, 0.000012f, -0.0f, 1.5f, -6000, 4096, -5120, 17, -32764,
                      "Wall Read", 4600, 137463, 12}));
  EXPECT_EQ(text("Wall Read.shot"), "0.1 123457 1.2e-05 -0 1.5 -6000 4096 -5120 17 -32764 "
                                    "Wall_Read 4600 137463 12");
  EXPECT_EQ(files(), std::set<std::string>{"Wall Read.shot"});
}

TEST_F(ShotText, IgnoresTheGlobalLocale) {
  struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale(), new CommaDecimal));
  Shot shot;
  const bool created = create(shot, folder(), {1234.5f, 0, 0, 0, 0, 0, 0, 0, 0, 12345, "L"});
  const Shot back = load("L");
  std::locale::global(previous);
  ASSERT_TRUE(created);
  EXPECT_EQ(text("L.shot"), "1234.5 0 0 0 0 0 0 0 0 12345 L 3000 0 0");
  EXPECT_EQ(back.ballLocationZ, 1234.5f);
  EXPECT_EQ(back.carYaw, 12345);
}

TEST_F(ShotText, NameTokensAndTheirReadBack) {
  struct Case {
    std::string name, token, readBack;
  };
  const Case cases[] = {
      {"_Two  Words_", "Two__Words", "Two  Words"},
      {" Pad ", "_Pad_", "Pad"},
      {"Shot 7", "Shot_7", "Shot 7"},
      {"Shot_7", "Shot_7", "Shot 7"},
      {"a*b?c<d>e|f\"g\\h/i", "abcdefghi", "abcdefghi"},
      {"_*_x", "_x", "x"},            // trimmed before the strip, so "_" stays
      {"tab\there\nline", "tab_here_line", "tab here line"},
      {std::string("nu\0l", 4), "nul", "nul"},
      {"Schuß Ωmega 🚀", "Schuß_Ωmega_🚀", "Schuß Ωmega 🚀"},
  };
  for (const Case& c : cases) {
    // updateShot takes any name; the file keeps the name it has.
    put("S.shot", "");
    Shot shot;
    shot.filePath = path("S.shot");
    update(shot, {1, 2, 3, 0, 0, 0, 0, 0, 0, 0, c.name});
    EXPECT_EQ(text("S.shot"), "1 2 3 0 0 0 0 0 0 0 " + c.token + " 3000 0 0") << c.token;
    const Shot back = load("S");
    EXPECT_EQ(back.name, c.readBack) << c.token;
    EXPECT_EQ(back.filePath, path(c.readBack + ".shot")) << c.token;
    EXPECT_EQ(files(), std::set<std::string>{c.readBack + ".shot"}) << c.token;
    std::filesystem::remove(back.filePath);
  }
}

TEST_F(ShotText, ANameOfNothingButUnderscoresKeepsFourteenFields) {
  put("Keep.shot", "");
  Shot shot;
  shot.filePath = path("Keep.shot");
  update(shot, {1, 0, 0, 0, 0, 0, 0, 0, 0, 5, "___", 3100, 6, 7});
  EXPECT_EQ(text("Keep.shot"), "1 0 0 0 0 0 0 0 0 5 _ 3100 6 7");
  const Shot back = load("Keep");
  EXPECT_EQ(back.ballSpeed, 3100);
  EXPECT_EQ(back.carPitch, 6);
  EXPECT_EQ(back.carRoll, 7);
  // No name of its own: it keeps its file's.
  EXPECT_EQ(back.name, "Keep");
  EXPECT_EQ(files(), std::set<std::string>{"Keep.shot"});
}

TEST_F(ShotText, ShortLinesAreReadAsFarAsTheyGo) {
  put("Ten.shot", "1 2 3 4 5 6 7 8 9 10");
  Shot ten = load("Ten");
  EXPECT_EQ(ten.carLocationZ, 9);
  EXPECT_EQ(ten.carYaw, 10);
  EXPECT_EQ(ten.ballSpeed, 0);
  EXPECT_EQ(ten.carPitch, 137463);
  EXPECT_EQ(ten.carRoll, 137463);
  EXPECT_EQ(ten.name, "Ten");  // kept under its file's name, not moved to ".shot"
  EXPECT_EQ(files(), std::set<std::string>{"Ten.shot"});
  EXPECT_EQ(text("Ten.shot"), "1 2 3 4 5 6 7 8 9 10");

  put("N.shot", "1 2 3 4 5 6 7 8 9 10 N");
  EXPECT_EQ(load("N").ballSpeed, 0);
  put("S.shot", "1 2 3 4 5 6 7 8 9 10 S 3100");
  const Shot speed = load("S");
  EXPECT_EQ(speed.ballSpeed, 3100);
  EXPECT_EQ(speed.carPitch, 137463);
  put("P.shot", "1 2 3 4 5 6 7 8 9 10 P 3100 5");
  const Shot pitch = load("P");
  EXPECT_EQ(pitch.carPitch, 5);
  EXPECT_EQ(pitch.carRoll, 137463);
}

TEST_F(ShotText, BlanksOfEveryKindSeparateTokensAndTrailingTextIsIgnored) {
  put("W.shot", "\r\n 1\t2\r\n3 4 5 6 7 8 9 10 W 3001 4 5 extra words 99\r\n");
  const Shot shot = load("W");
  EXPECT_EQ(shot.ballLocationZ, 1);
  EXPECT_EQ(shot.ballLocationX, 2);
  EXPECT_EQ(shot.ballLocationY, 3);
  EXPECT_EQ(shot.name, "W");
  EXPECT_EQ(shot.ballSpeed, 3001);
  EXPECT_EQ(shot.carRoll, 5);
  EXPECT_EQ(files(), std::set<std::string>{"W.shot"});
}

TEST_F(ShotText, AMalformedNumberKeepsItsFieldAndEndsTheRead) {
  put("M.shot", "1 2 3 4 5 x7 7 8 9 10 M 3001 4 5");
  const Shot shot = load("M");
  EXPECT_EQ(shot.ballVelocityY, 5);
  EXPECT_EQ(shot.ballVelocityZ, 0);  // the malformed field keeps its value
  EXPECT_EQ(shot.carLocationX, 0);
  EXPECT_EQ(shot.carYaw, 0);
  EXPECT_EQ(shot.ballSpeed, 0);
  EXPECT_EQ(shot.carPitch, 137463);
  EXPECT_EQ(shot.name, "M");

  put("Y.shot", "1 2 3 4 5 6 7 8 9 1.5 Y 3001 4 5");
  EXPECT_EQ(load("Y").carYaw, 0);
}

TEST_F(ShotText, AnEmptyTokenOfTheOldLayoutShiftsTheFieldsAsBefore) {
  // Older versions wrote nothing between two spaces for an empty name.
  put("Old.shot", "1 0 0 0 0 0 0 0 0 0  3000 0 0");
  const Shot old = load("Old");
  EXPECT_EQ(old.name, "3000");
  EXPECT_EQ(old.ballSpeed, 0);
  EXPECT_EQ(old.carPitch, 0);
  EXPECT_EQ(old.carRoll, 137463);
  EXPECT_EQ(old.filePath, path("3000.shot"));
}

TEST_F(ShotText, NonFiniteValuesRoundTripAndKeepTheFieldsAfterThem) {
  const float inf = std::numeric_limits<float>::infinity();
  Shot shot;
  ASSERT_TRUE(create(shot, folder(),
                     {std::nanf(""), inf, -inf, 0, 0, 0, 0, 0, 0, 3, "Odd", 3300, 1, 2}));
  EXPECT_EQ(text("Odd.shot"), "nan inf -inf 0 0 0 0 0 0 3 Odd 3300 1 2");
  const Shot back = load("Odd");
  EXPECT_TRUE(std::isnan(back.ballLocationZ));
  EXPECT_EQ(back.ballLocationX, inf);
  EXPECT_EQ(back.ballLocationY, -inf);
  EXPECT_EQ(back.ballSpeed, 3300);
  EXPECT_EQ(back.carRoll, 2);
  EXPECT_FALSE(back.isBlankShot());
}

TEST(ShotNameHelpers, StripAndUnderscoresAndDisplayName) {
  std::string text = "a/b\\c|d*e?f\"g<h>i";
  stripForbiddenCharacters(text);
  EXPECT_EQ(text, "abcdefghi");
  EXPECT_EQ(underscoresToSpaces("_a_b__"), " a b  ");
  Shot shot;
  shot.name = "My_Shot";
  EXPECT_EQ(shot.displayName(), "My Shot");
}

}  // namespace
