// The sandbox's window verbs on the built plug-in library, and the README's
// example scripts run by the sandbox program.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include <stb_image.h>

#include "platform/Utf8Path.h"
#include "sandbox/PluginVerbs.h"
#include "storage/PackText.h"
#include "tests/support/SandboxFixture.h"
// The capture example's replay against its foretold flight.
#include "flight/FlightPrediction.h"

namespace {

using testing::AllOf;
using testing::HasSubstr;
using testing::Not;

class UiVerbsTest : public SandboxFixture {};

TEST_F(UiVerbsTest, TheWindowVerbsDriveTheWindowUntilTheMenuCommandHidesIt) {
  EXPECT_THAT(run({"window open", "frames 2", "shown"}), testing::ContainsRegex("\n[0-9]+,[0-9]+  How To Use\n"));
  run({"click \"Enable QuellmarkTraining\""});
  EXPECT_EQ(sandbox.host().findCvar("quellmark_enabled")->value, "1");

  const std::string file = dir.str("window.png");
  EXPECT_THAT(run({"screenshot " + file}), HasSubstr("saved " + file));
  // The PNG header's width and height: the sandbox's 1280 x 800 display.
  EXPECT_EQ(readFile(file).substr(12, 12), std::string("IHDR\0\0\x05\x00\0\0\x03\x20", 12));
  EXPECT_THAT(run({"screenshot " + dir.str("no/such/folder/x.png")}), HasSubstr("no screenshot: "));
  // The window goes on working after the screenshots have come and gone.
  EXPECT_THAT(run({"click \"Change Logs\"", "shown"}), HasSubstr("  Version 5.0\n"));

  run({"togglemenu QMTraining"});
  EXPECT_FALSE(sandbox.windowShown());
  EXPECT_FALSE(plugin().isWindowOpen);
}

TEST_F(UiVerbsTest, TheClipboardVerbSharesTheWindowsClipboard) {
  writeFile(dir.path() / "data/QMShots/TrainingPacks/Pack/Lob.shot",
            "800 0 3000 0 1600 900 0 -3000 17 16384 Lob 3400 0 0");
  run({"window open", "frames 2", "click \"Training Packs\"", "click Share", "wait \"Copy To Clipboard\"",
       "click \"Copy To Clipboard\"", "click Close"});
  EXPECT_THAT(run({"clipboard"}), HasSubstr("QMPACK 1 Pack\n800 0 3000 0 1600 900 0 -3000 17 16384 Lob 3400 0 0\n"));
  run({"clipboard \"QMPACK 9 Later\"", "click \"Import Pack\"", "wait \"Paste From Clipboard\"",
       "click \"Paste From Clipboard\""});
  EXPECT_THAT(run({"shown"}), HasSubstr("is of version 9"));

  // Open across a reload, which forgets what they held, both close.
  addPluginVerbs(sandbox);
  EXPECT_THAT(run({"reload", "window open", "frames 3", "shown"}), Not(HasSubstr("Paste From Clipboard")));
  EXPECT_THAT(run({"click Share", "wait \"Save To File\"", "reload", "window open", "frames 3", "shown"}),
              Not(HasSubstr("Save To File")));
}

TEST_F(UiVerbsTest, ScriptVerbsReachEveryKindOfField) {
  run({"window open", "frames 2"});
  EXPECT_THAT(run({"clipboard \"one\\ntwo \\\\n\"", "clipboard"}), HasSubstr("one\ntwo \\n\n"));
  // The import's text field comes first, then its empty name field.
  run({"click \"Training Packs\"", "click \"Import Pack\"", "wait \"Paste From Clipboard\"", "field 1",
       "type \"Typed Name\""});
  EXPECT_THAT(run({"shown"}), HasSubstr("  Typed Name\n"));
  const std::string pack = dir.str("shared.qmpack");
  writeFile(pack, encodePackText("Shared", {"800 0 3000 0 1600 900 0 -3000 17 16384 Lob 3400 0 0"}));
  run({"clipboard --file " + pack, "click \"Paste From Clipboard\"", "wait \"1 shot\"", "click OK", "frames 2"});
  ASSERT_TRUE(std::filesystem::exists(dir.path() / "data/QMShots/TrainingPacks/Shared/Lob.shot")) << run({"shown"});

  // The ball's height slider, dragged past its left end; the name field
  // clicked by its label.
  run({"click Shots", "click Edit", "wait \"Edit Shot\"", "drag 800.000 -2000", "field \"Type Shot Name\"",
       "key ctrl+A", "type High", "click \"Edit Shot\""});
  EXPECT_EQ(readFile(dir.path() / "data/QMShots/TrainingPacks/Shared/High.shot"),
            "0 0 3000 0 1600 900 0 -3000 17 16384 High 3400 0 0");
  EXPECT_THAT(run({"field 99", "drag Nowhere 5", "clipboard --file " + dir.str("none")}),
              AllOf(HasSubstr("no text field 99"), HasSubstr("Nowhere is not shown"), HasSubstr("cannot read")));
}

// Names in Latin, Greek, Cyrillic and Chinese scripts are drawn with their
// glyphs: in a screenshot each differs from as many "?" typed into a field.
TEST_F(UiVerbsTest, NamesInOtherScriptsShowAsTypedNotAsQuestionMarks) {
  const std::string names[] = {"Łukasz", "Ωμέγα Ёж", "新建文件夹"};
  for (const std::string& name : names) {
    std::filesystem::create_directories(dir.path() / "data/QMShots/TrainingPacks" / pathFromUtf8(name));
  }
  const std::string png = dir.str("names.png");
  run({"window open", "frames 2", "click \"Training Packs\"", "click \"Add A New Pack\"",
       "wait \"Enter a new name:\"", "type ???????", "screenshot " + png});
  int width = 0;
  int height = 0;
  int channels = 0;
  unsigned char* pixels = stbi_load(png.c_str(), &width, &height, &channels, 1);
  ASSERT_NE(pixels, nullptr);
  // Bright pixels in a text's box, from its origin, `columns` wide.
  const auto ink = [&](const uidriver::ShownText& text, int columns) {
    std::vector<bool> bright;
    for (int y = 0; y < static_cast<int>(text.max.y - text.min.y); ++y) {
      for (int x = 0; x < columns; ++x) {
        const int px = static_cast<int>(text.min.x) + x;
        const int py = static_cast<int>(text.min.y) + y;
        bright.push_back(px >= 0 && py >= 0 && px < width && py < height && pixels[py * width + px] > 140);
      }
    }
    return bright;
  };
  const auto marks = sandbox.gui()->find("???????");
  ASSERT_EQ(marks.size(), 1u) << run({"shown"});
  for (const std::string& name : names) {
    const auto shown = sandbox.gui()->find(name);
    ASSERT_FALSE(shown.empty()) << name << "\n" << run({"shown"});
    const int columns = static_cast<int>(std::min(shown[0].max.x - shown[0].min.x, marks[0].max.x - marks[0].min.x));
    const std::vector<bool> drawn = ink(shown[0], columns);
    const std::vector<bool> questions = ink(marks[0], columns);
    size_t differing = 0;
    size_t inked = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
      differing += drawn[i] != questions[i];
      inked += drawn[i] || questions[i];
    }
    EXPECT_GT(differing * 3, inked) << name;
  }
  stbi_image_free(pixels);
}

// Runs an example script in the sandbox program on a fresh host folder that
// holds "Demo Pack", and returns what it printed.
class SandboxExample : public testing::Test {
 protected:
  SandboxExample() {
    std::filesystem::create_directories(pack().parent_path());
    std::filesystem::copy(std::filesystem::path(QM_SOURCE_DIR) / "sandbox/examples/Demo Pack", pack());
  }
  std::filesystem::path pack() const { return dir.path() / "host/data/QMShots/TrainingPacks/Demo Pack"; }

  std::string run(const std::string& script, const std::string& host = "host", const std::string& options = "") {
    const ProgramRun run = runSandboxProgram(options + "--host-dir '" + dir.str(host) + "' --script '" +
                                             QM_SOURCE_DIR + "/sandbox/examples/" + script + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
  }

  TempDir dir;
};

// The README's example of building shots in the window, on an empty host folder.
TEST_F(SandboxExample, TheShotsScriptDoesWhatTheReadmeExampleSays) {
  const std::string output = run("shots.script", "fresh");
  const std::string packs = dir.str("fresh/data/QMShots/TrainingPacks/");
  EXPECT_EQ(readFile(packs + "Wall Shots/1 Left wall.shot"),
            "100 -2500 1500 900 0 0 0 -2500 17 16384 1_Left_wall 3000 0 0");
  EXPECT_EQ(readFile(packs + "Wall Shots/2 Right wall.shot"),
            "100 2500 1500 -900 0 0 0 -2500 17 16384 2_Right_wall 3000 0 0");
  EXPECT_EQ(readFile(packs + "Your Old Shots/2 Right wall.shot"), readFile(packs + "Wall Shots/2 Right wall.shot"));
  EXPECT_THAT(output, HasSubstr("car location=(0, -2500, 17) rotation=(0, 16384, 0)"));
  EXPECT_THAT(output, HasSubstr("ball location=(2500, 1500, 100) velocity=(0, 0, 0) hitteam=255"));
  EXPECT_THAT(output, HasSubstr("ball location=(2500, 1500, 100) velocity=(-900, 0, 0) hitteam=1"));
}

// The demo of scripts/run.sh with no arguments: the example pack replayed, a
// screenshot of the settings window saved, and where.
TEST_F(SandboxExample, TheDemoShowsThePluginAtWorkInAScreenshot) {
  const ProgramRun demo = runSandboxProgram("--console --host-dir '" + dir.str("fresh") + "' < /dev/null");
  ASSERT_EQ(demo.status, 0) << demo.output;
  const std::string png = dir.str("fresh/demo-window.png");
  EXPECT_THAT(demo.output, HasSubstr("Copied the example pack to " + dir.str("fresh/data/QMShots/TrainingPacks/Demo Pack")));
  EXPECT_THAT(demo.output, HasSubstr("car location=(0, -3000, 17)"));
  EXPECT_THAT(demo.output, HasSubstr("hitteam=1 godball=1 carhitteam=1"));
  EXPECT_THAT(demo.output, HasSubstr("saved " + png));
  EXPECT_EQ(readFile(png).substr(12, 4), std::string("IHDR", 4));
}

// The README's first start: after a restart the bound key replays the default
// shot before the window is drawn.
TEST_F(SandboxExample, TheFirstStartScriptReplaysTheDefaultShotAfterARestart) {
  const std::string output = run("first-start.script", "fresh");
  EXPECT_EQ(readFile(dir.str("fresh/data/QMShots/TrainingPacks/Your Old Shots/defaultShot.shot")),
            "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_EQ(readFile(dir.str("fresh/cfg/QMTraining.cfg")),
            "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n");
  EXPECT_THAT(output, HasSubstr("ball location=(0, 0, 0) velocity=(0, 0, 0) hitteam=255 godball=1"));
  EXPECT_THAT(output, HasSubstr("hitteam=1 godball=1 carhitteam=1 targetspeed=3000"));
  EXPECT_THAT(output, Not(HasSubstr("is not bound")));
}

// The README's reset example.
TEST_F(SandboxExample, TheResetScriptPlacesTheStoredShotThenLaunchesIt) {
  writeFile(dir.path() / "solo/data/QMShots/TrainingPacks/Demo/Corner Shot.shot",
            "92.5 -1200 3500 400 -2500 800 -256 -3840 17 24576 Corner_Shot 3200 0 0");
  const std::string output = run("reset.script", "solo");
  EXPECT_THAT(output, HasSubstr("server match=local maxscore=100"));
  EXPECT_THAT(output, HasSubstr("car location=(-256, -3840, 17) rotation=(0, 24576, 0)"));
  const std::string ball = "ball location=(-1200, 3500, 92.5) velocity=";
  const std::string atRest = ball + "(0, 0, 0) hitteam=255 godball=1 carhitteam=0 targetspeed=3200";
  // At rest when pressed and still 0.1 s later; launched after 0.25 s.
  const size_t stillAtRest = output.find(atRest, output.find(atRest) + 1);
  const size_t launched = output.find(ball + "(400, -2500, 800) hitteam=1 godball=1 carhitteam=1");
  ASSERT_NE(stillAtRest, std::string::npos) << output;
  EXPECT_NE(launched, std::string::npos) << output;
  EXPECT_GT(launched, stillAtRest) << output;
}

// The README's capture example, where the ball flies: the saved shot holds
// the moment "show ball" printed, and replayed it rises as high as the shot's
// foretold flight.
TEST_F(SandboxExample, TheCaptureScriptsShotFliesOnAsTheBallDid) {
  const std::string output = run("capture.script", "host", "--headless-window ");
  EXPECT_THAT(output, HasSubstr("Captured the shot Test from 0.2 seconds ago"));
  Shot saved;
  saved.filePath = (pack() / "Test.shot").string();
  ASSERT_EQ(saved.readValues(), ShotRead::kept) << output;
  const std::string number = "([-0-9.e]+)";
  const std::regex flying("ball location=\\(" + number + ", " + number + ", " + number + "\\) velocity=\\(" +
                          number + ", " + number + ", " + number + "\\) hitteam=1");
  std::smatch shown;
  ASSERT_TRUE(std::regex_search(output, shown, flying)) << output;
  // Within what the ball flies in a tick: the moment is the tick nearest.
  const auto tick = static_cast<float>(saved.ballSpeed * flight::tickSeconds);
  const float values[] = {saved.ballLocationX, saved.ballLocationY, saved.ballLocationZ,
                          saved.ballVelocityX, saved.ballVelocityY, saved.ballVelocityZ};
  for (size_t i = 0; i < std::size(values); ++i) EXPECT_NEAR(values[i], std::stof(shown[i + 1]), tick) << i;

  const float apex = flight::predictFlight({{saved.ballLocationX, saved.ballLocationY, saved.ballLocationZ},
                                            {saved.ballVelocityX, saved.ballVelocityY, saved.ballVelocityZ},
                                            static_cast<float>(saved.ballSpeed)})
                         .apex;
  std::smatch highest;
  ASSERT_TRUE(std::regex_search(output, highest, std::regex("highest ([0-9]+)"))) << output;
  EXPECT_NEAR(std::stof(highest[1]), apex, 0.02 * apex) << output;
}

TEST_F(SandboxExample, TheTrainingScriptPlaysOneOfTheTwoTickedShots) {
  std::string output = run("training.script");
  // "Left wall" puts the car at X -1800, "Right wall" at 1800; "High lob" at 0.
  EXPECT_THAT(output, testing::AnyOf(HasSubstr("car location=(-1800, -2500, 17) rotation=(0, 5000, 0)"),
                                     HasSubstr("car location=(1800, -2500, 17) rotation=(0, 11000, 0)")));
  EXPECT_THAT(output, HasSubstr("hitteam=1 godball=1 carhitteam=1 targetspeed=3200"));
}

// The README's results example: after 40 presses in the Random order the shot
// into the net has scored every time and the one at the wall never; in
// "Focus on misses" the wall shot then comes back at least 3 times as often.
TEST_F(SandboxExample, TheFocusScriptBringsBackTheMissedShot) {
  const std::filesystem::path copy = dir.path() / "focus/data/QMShots/TrainingPacks/Focus Pack";
  std::filesystem::create_directories(copy);
  std::filesystem::copy(std::filesystem::path(QM_SOURCE_DIR) / "sandbox/examples/Focus Pack", copy);
  const std::string output = run("focus.script", "focus");
  // Each "ShotStats": ATTEMPTS, MAKES and the recent rate of both shots.
  const std::regex line("(Into the net|Side wall): ([0-9]+) attempts, ([0-9]+) makes, ([0-9]+)% of the last");
  std::map<std::string, std::vector<std::array<int, 3>>> stats;
  for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it) {
    stats[(*it)[1]].push_back({std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
  }
  const auto& net = stats["Into the net"];
  const auto& wall = stats["Side wall"];
  ASSERT_EQ(net.size(), 2u) << output;
  ASSERT_EQ(wall.size(), 2u) << output;
  // The last press's attempt may still be open when its figures are printed.
  EXPECT_GE(net[0][0] + wall[0][0], 39);
  EXPECT_EQ(net[0][1], net[0][0]);
  EXPECT_EQ(net[0][2], 100);
  EXPECT_EQ(wall[0][1], 0);
  EXPECT_EQ(wall[0][2], 0);
  EXPECT_GE(net[1][0] + wall[1][0] - net[0][0] - wall[0][0], 99);
  EXPECT_GE(wall[1][0] - wall[0][0], 3 * (net[1][0] - net[0][0]));
  // The shot ShotStats lists first is the one missed most lately.
  EXPECT_LT(output.find("Side wall: "), output.find("Into the net: "));
}

// The README's sharing example, from one host folder to a fresh one.
TEST_F(SandboxExample, TheShareScriptsCarryAPackToAFreshHostThatReplaysIt) {
  const std::string file = dir.str("host/data/QMShots/Exports/Demo Pack.qmpack");
  EXPECT_THAT(run("share-export.script"), HasSubstr("Training pack Demo Pack (3 shots) exported to " + file));
  std::filesystem::create_directories(dir.path() / "friend/data/QMShots");
  std::filesystem::copy_file(file, dir.path() / "friend/data/QMShots/Demo Pack.qmpack");
  const std::string output = run("share-import.script", "friend");
  EXPECT_THAT(output, HasSubstr("Training pack Demo Pack (3 shots) imported from Demo Pack.qmpack"));
  EXPECT_THAT(output, HasSubstr("car location=(-1800, -2500, 17) rotation=(0, 5000, 0)"));
  EXPECT_THAT(output, HasSubstr("ball location=(-2500, 1500, 150) velocity=(900, 1200, 300) hitteam=1"));
}

TEST_F(SandboxExample, TheVarietyScriptPlaysRoundsOfVariedBallsLeavingTheShotFilesAlone) {
  std::map<std::filesystem::path, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(pack())) files[entry.path()] = readFile(entry.path());
  const std::string output = run("variety.script");

  // Each shot has a height of its own: the shot's X and Y by its height.
  const std::map<float, std::pair<float, float>> shotAtHeight = {
      {800, {0, 3000}}, {150, {-2500, 1500}}, {100, {2500, 1500}}};
  const std::regex placed(R"(ball location=\(([-0-9.e]+), ([-0-9.e]+), ([-0-9.e]+)\) velocity=\(0, 0, 0\))");
  std::vector<std::array<float, 3>> balls;
  for (std::sregex_iterator it(output.begin(), output.end(), placed), end; it != end; ++it) {
    balls.push_back({std::stof((*it)[1]), std::stof((*it)[2]), std::stof((*it)[3])});
  }
  ASSERT_EQ(balls.size(), 9u) << output;
  for (size_t round = 0; round < 3; ++round) {
    const float spread = round < 2 ? 0 : 200;  // the third round after "variance_location 200"
    std::set<float> heights;
    for (size_t i = round * 3; i < round * 3 + 3; ++i) {
      const auto shot = shotAtHeight.find(balls[i][2]);
      ASSERT_NE(shot, shotAtHeight.end()) << output;
      heights.insert(shot->first);
      EXPECT_LE(std::abs(balls[i][0] - shot->second.first), spread) << output;
      EXPECT_LE(std::abs(balls[i][1] - shot->second.second), spread) << output;
    }
    EXPECT_EQ(heights.size(), 3u) << "round " << round << "\n" << output;
  }
  for (const auto& [path, text] : files) EXPECT_EQ(readFile(path), text) << path;
}

}  // namespace
