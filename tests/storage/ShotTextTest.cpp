// The text of a shot file: floats, name tokens, field order, and what the
// reader makes of every kind of line.

#include <bit>
#include <cstdlib>
#include <limits>
#include <locale>

#include "storage/ShotLine.h"
#include "tests/support/PackFixture.h"

namespace {

using shotline::formatFloat;
using shotline::parseFloat;

class ShotText : public PackFolder {};

TEST_F(ShotText, HasFourteenFieldsInFileOrderWhateverTheGlobalLocale) {
  struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
  };
  const std::locale previous = std::locale::global(std::locale(std::locale(), new CommaDecimal));
  Shot shot;
  const bool created = shot.createShotFile(folder(), 0.1f, 123456.7f, 0.000012f, -0.0f, 1234.5f, -6000, 4096, -5120,
                                           17, -32764, "Wall Read", 4600, 137463, 12).ok();
  const Shot back = load("Wall Read");
  const std::string formatted = formatFloat(123456.7f);
  std::locale::global(previous);
  ASSERT_TRUE(created);
  EXPECT_EQ(text("Wall Read.shot"),
            "0.1 123457 1.2e-05 -0 1234.5 -6000 4096 -5120 17 -32764 Wall_Read 4600 137463 12");
  EXPECT_EQ(files(), Files{"Wall Read.shot"});
  EXPECT_EQ(formatted, "123457");
  EXPECT_EQ(back.ballVelocityY, 1234.5f);
  EXPECT_EQ(back.carYaw, -32764);
}

TEST_F(ShotText, EachNameIsWrittenAsATokenThatReadsBack) {
  const struct {
    std::string name, token, readBack;
  } cases[] = {
      {"_Two  Words_", "Two__Words", "Two  Words"},
      {" Pad ", "Pad", "Pad"},  // never "_" at an end, so the name is what the file says
      {"Shot_7", "Shot_7", "Shot 7"},
      {"a*b?c<d>e|f\"g\\h/i", "abcdefghi", "abcdefghi"},
      {"tab\there\nline\rend", "tab_here_line_end", "tab here line end"},
      {std::string("nu\0l", 4), "nul", "nul"},
      {"Schuß Ωmega 🚀", "Schuß_Ωmega_🚀", "Schuß Ωmega 🚀"},
      {"Demo: Shot\x1b.", "Demo_Shot", "Demo Shot"},  // what Windows refuses in a file name
      {"Dots. . .", "Dots", "Dots"},
      {"___", "_", "S"},  // no name of its own: it keeps its file's, and fourteen fields
  };
  for (const auto& c : cases) {
    // updateShot takes any name; the file keeps the name it has.
    put("S.shot", "");
    Shot shot;
    shot.filePath = path("S.shot");
    shot.updateShot(1, 2, 3, 0, 0, 0, 0, 0, 0, 0, c.name, 3100, 6, 7);
    EXPECT_EQ(text("S.shot"), "1 2 3 0 0 0 0 0 0 0 " + c.token + " 3100 6 7") << c.token;
    const Shot back = load("S");
    EXPECT_EQ(back.name, c.readBack) << c.token;
    EXPECT_TRUE(back.ballSpeed == 3100 && back.carPitch == 6 && back.carRoll == 7) << c.token;
    EXPECT_EQ(files(), Files{c.readBack + ".shot"}) << c.token;
    std::filesystem::remove(back.filePath);
  }
}

TEST_F(ShotText, LinesShortOrOddlySpacedAreReadAsFarAsTheyGo) {
  const struct {
    std::string line, name;
    int speed;
  } cases[] = {
      {"1 2 3 4 5 6 7 8 9 10 L 3100", "L", 3100},
      {"\r\n 1\t2\r\n3 4 5 6 7 8 9 10 L 3001 4 5 extra words 99\r\n", "L", 3001},
      {"\xEF\xBB\xBF" "1 2 3 4 5 6 7 8 9 10 Marked 12 13 14", "Marked", 12},  // a byte-order mark
      // Older versions wrote nothing between two spaces for an empty name.
      {"1 2 3 4 5 6 7 8 9 10  3000 0 0", "3000", 0},
  };
  for (const auto& c : cases) {
    put("L.shot", c.line);
    const Shot shot = load("L");
    EXPECT_TRUE(shot.ballLocationZ == 1 && shot.ballLocationX == 2 && shot.carYaw == 10) << c.line;
    EXPECT_EQ(shot.name, c.name) << c.line;
    EXPECT_EQ(shot.ballSpeed, c.speed) << c.line;
    EXPECT_EQ(files(), Files{c.name + ".shot"}) << c.line;
    EXPECT_FALSE(text(c.name + ".shot").starts_with("\xEF")) << c.line;  // never written with a mark
    std::filesystem::remove(shot.filePath);
  }
}

TEST_F(ShotText, AFileThatIsNoShotLineIsLeftOutUntouched) {
  const std::string lines[] = {
      "1 2 3 4 5 100,5 7 8 9 10 M 3001 4 5",          // a decimal comma
      "1 2 3 4 5 6 7 8 9 16384.0 M 3001 4 5",         // not an integer
      "1 2 3 4 5 6 7 8 9 10 M 3001 4 x",
      "1 2 3 4 5 6 7 8 9 10 M 3001 4 5.5",
      "inf -inf nan 0 0 0 0 0 0 0 M 3000 0 0",         // no such value reaches the game
      "1e39 0 0 0 0 0 0 0 0 0 M 3000 0 0",
      "0x10 0 0 0 0 0 0 0 0 0 M 3000 0 0",
      "1 2 3 4 5 6 7 8 9 2147483648 M 3000 0 0",
      "1 2 3 4 5 6 7 8 9",                             // older layouts have ten numbers
      "",
      " \xEF\xBB\xBF" "1 2 3 4 5 6 7 8 9 10 M 3000 0 0",  // a mark not at the start
      "\xEF\xBB" "1 2 3 4 5 6 7 8 9 10 M 3000 0 0",       // half a mark
      "1 2 3 4 5 6 7 8 9 10 " + std::string(5000, 'n') + " 3000 0 0",
  };
  for (const std::string& line : lines) {
    put("M.shot", line);
    load("M", false);
    EXPECT_EQ(files(), Files{"M.shot"}) << line;
    EXPECT_EQ(text("M.shot"), line);
  }
}

}  // namespace
