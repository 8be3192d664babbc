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
  f = 7;
  for (const char* bad : {"1e50", "abc", "12abc", "", "+", "--1", "+-1", "0x10", "1,5", "-inf",
                          "nan", "infinity", "-nan(0x1)"}) {
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

// A complete line whose fields are 1 to 14 in file order.
std::string shotLineFor(const std::string& name) {
  return "1 2 3 4 5 6 7 8 9 10 " + name + " 12 13 14";
}

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
      {" Pad ", "Pad", "Pad"},  // never "_" at an end, so the name is what the file says
      {"Shot 7", "Shot_7", "Shot 7"},
      {"Shot_7", "Shot_7", "Shot 7"},
      {"a*b?c<d>e|f\"g\\h/i", "abcdefghi", "abcdefghi"},
      {"_*_x", "x", "x"},
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

TEST_F(ShotText, AFileThatIsNoShotLineIsLeftOutAndLeftAsItIs) {
  const std::string lines[] = {
      "1 2 3 4 5 100,5 7 8 9 10 M 3001 4 5",          // a decimal comma
      "1 2 3 4 5 6 7 8 9 16384.0 M 3001 4 5",         // not an integer
      "1 2 3 4 5 6 7 8 9 10 M 3001 4 x",
      "1 2 3 4 5 6 7 8 9 10 M 3001 4 5.5",
      "inf -inf nan 0 0 0 0 0 0 0 M 3000 0 0",         // no such value reaches the game
      "1e39 0 0 0 0 0 0 0 0 0 M 3000 0 0",
      "1 2 3 4 5 6 7 8 9",                             // older layouts have ten numbers
      "",
      " \xEF\xBB\xBF" "1 2 3 4 5 6 7 8 9 10 M 3000 0 0",  // a mark not at the start
      "\xEF\xBB" "1 2 3 4 5 6 7 8 9 10 M 3000 0 0",       // half a mark
      "1 2 3 4 5 6 7 8 9 10 " + std::string(5000, 'n') + " 3000 0 0",
  };
  for (const std::string& line : lines) {
    put("M.shot", line);
    load("M", false);
    EXPECT_EQ(files(), std::set<std::string>{"M.shot"}) << line;
    EXPECT_EQ(text("M.shot"), line);
  }
}

TEST_F(ShotText, AByteOrderMarkAtTheStartIsSkipped) {
  put("B.shot", "\xEF\xBB\xBF" + shotLineFor("Marked"));
  const Shot shot = load("B");
  EXPECT_EQ(shot.ballLocationZ, 1);
  EXPECT_EQ(shot.carRoll, 14);
  EXPECT_EQ(text("Marked.shot"), shotLineFor("Marked"));  // renamed to its name, no mark
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

TEST_F(ShotText, ANonFiniteValueIsNeverWritten) {
  const float inf = std::numeric_limits<float>::infinity();
  Shot shot;
  EXPECT_FALSE(create(shot, folder(), {std::nanf(""), inf, -inf, 0, 0, 0, 0, 0, 0, 3, "Odd"}));
  EXPECT_TRUE(files().empty());
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
