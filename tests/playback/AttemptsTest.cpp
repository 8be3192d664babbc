// Attempts of shots and their results, through the plug-in as the host runs
// it on real pack folders: what ends an attempt, where a shot's results go
// when it is renamed, transferred, copied or deleted, a results file that
// cannot be read, and what survives a restart.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

#include "pluginsdk/GameEvents.h"
#include "tests/support/PackFixture.h"
#include "tests/support/TempDir.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The packs "P" (the shots "Goal" and "Wall") and "Q" (one shot), the
// plug-in on in a local match; the first command loads "P".
struct Practice {
  Practice() {
    put("P", "Goal.shot", "100 0 3000 0 2500 0 0 -2500 17 16384 Goal 3200 0 0");
    put("P", "Wall.shot", "100 0 0 2500 0 0 0 -2500 17 16384 Wall 3200 0 0");
    put("Q", "Other.shot", shotLine("Other"));
    h.enablePlugin();
    h.startLocalMatch();
  }
  QMTraining& plugin() { return h.plugin(); }
  std::string path(const std::string& pack, const std::string& file) const { return h.packFolder(pack) + "/" + file; }
  void put(const std::string& pack, const std::string& file, const std::string& text) const {
    std::filesystem::create_directories(h.packFolder(pack));
    writeFile(path(pack, file), text);
  }
  std::string text(const std::string& pack, const std::string& file) const { return readFile(path(pack, file)); }
  void press() { h.console("controlInput"); }
  void play(int shot) {
    h.console("shotNumber1 " + std::to_string(shot));
    h.console("LoadShot");
    press();
    h.advance(0.25);  // launched
  }
  // The ball's centre past a goal line: +1 the net the player attacks, -1
  // their own.
  void goal(float side) {
    h.host().ball()->location.Y = side * 5200;
    h.host().fireEvent(gameevents::goalScored);
  }
  // "ATTEMPTS MAKES" of a shot file of the loaded pack.
  std::string figures(const std::string& file) {
    const auto found = plugin().packResults.find(file);
    if (found == plugin().packResults.end()) return "none";
    return std::to_string(found->second.attempts) + " " + std::to_string(found->second.makes);
  }
  std::string written(const std::string& pack) {
    plugin().flushResults();
    return text(pack, ".stats");
  }

  PluginHarness h;
};

TEST(Attempts, EachWayAnAttemptEndsCountsOnceAsAMakeOrAMiss) {
  const struct {
    const char* name;
    std::function<void(Practice&)> before;  // then a press, unless null below
    bool pressed;
    std::function<void(Practice&)> after;
    const char* figures;
  } rows[] = {
      {"a goal in the +Y net", nullptr, true, [](Practice& t) { t.goal(1); }, "1 1"},
      {"an own goal", nullptr, true, [](Practice& t) { t.goal(-1); }, "1 0"},
      {"the next press", nullptr, true, [](Practice& t) { t.press(); }, "1 0"},
      {"its time after the launch", nullptr, true, [](Practice& t) { t.h.advance(10.0); }, "1 0"},
      {"before its time", nullptr, true, [](Practice& t) { t.h.advance(9.9); }, "none"},
      {"leaving the match", nullptr, true, [](Practice& t) { t.h.host().leaveMatch(); }, "1 0"},
      {"a goal after the editor's unsaved shot",
       [](Practice& t) { t.plugin().editorOpen = true; }, true, [](Practice& t) { t.goal(1); }, "none"},
      {"a goal after the editor's try-outs", nullptr, false,
       [](Practice& t) {
         for (const char* tryOut : {"BallMove", "CarMove", "BallVelocity"}) t.h.console(tryOut);
         t.goal(1);
       },
       "none"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Practice t;
    t.h.console("LoadShot");  // the start-up work: "P" loaded, its first shot current
    if (row.before) row.before(t);
    if (row.pressed) t.press();
    t.h.advance(0.25);  // launched
    row.after(t);
    EXPECT_EQ(t.figures("Goal.shot"), row.figures);
    EXPECT_EQ(t.figures("Wall.shot"), "none");
  }
}

// One make of "Goal" and one miss of "Wall", then each storage action: the
// file names whose lines P's and Q's results files hold after it.
TEST(Attempts, ResultsGoWhereTheirShotFileGoes) {
  const struct {
    const char* name;
    std::function<void(Practice&)> act;
    std::vector<const char*> inP;
    const char* inQ;  // "" for no results file
  } rows[] = {
      {"kept", [](Practice&) {}, {"Goal.shot", "Wall.shot"}, ""},
      {"renamed", [](Practice& t) { EXPECT_TRUE(t.plugin().renameShotAt(0, "Aim").ok()); }, {"Aim.shot", "Wall.shot"},
       ""},
      {"copied in the pack", [](Practice& t) { EXPECT_TRUE(t.plugin().copyShotToPack(0, 0, 0, "Copy").ok()); },
       {"Goal.shot", "Wall.shot"}, ""},
      {"transferred", [](Practice& t) { EXPECT_TRUE(t.plugin().copyShotToPack(0, 1, 1, "Moved").ok()); },
       {"Goal.shot"}, "1 0 0 "},
      {"deleted", [](Practice& t) { EXPECT_TRUE(t.plugin().deleteShotAt(1).ok()); }, {"Goal.shot"}, ""},
      {"reset from the console", [](Practice& t) { t.h.console("ResetShotStats"); }, {}, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Practice t;
    t.play(0);
    t.goal(1);
    t.play(1);
    t.press();
    row.act(t);
    std::string lines = "QMTraining results 1\n";
    for (const std::string file : row.inP) lines += (file == "Wall.shot" ? "1 0 0 " : "1 1 1 ") + file + "\n";
    std::string p = t.written("P");
    // The times aside: "ATTEMPTS MAKES OUTCOMES TIME TICKED NAME".
    p = std::regex_replace(p, std::regex("([0-9]+ [0-9]+ [-01]+) [0-9]+ 0 "), "$1 ");
    EXPECT_EQ(p, lines);
    if (*row.inQ == 0) {
      EXPECT_FALSE(std::filesystem::exists(t.path("Q", ".stats")));
    } else {
      EXPECT_THAT(t.text("Q", ".stats"), HasSubstr(std::string(row.inQ)));
      EXPECT_THAT(t.text("Q", ".stats"), testing::EndsWith(" 0 Moved.shot\n"));
    }
  }
  // A pack's copy and its export carry none.
  Practice t;
  t.play(0);
  t.goal(1);
  t.h.advance(1.5);  // written within a second of game time
  EXPECT_THAT(t.text("P", ".stats"), HasSubstr("\n1 1 1 "));
  ASSERT_TRUE(t.plugin().copyTrainingPack(0, "P copy").ok());
  EXPECT_FALSE(std::filesystem::exists(t.path("P copy", ".stats")));
  EXPECT_THAT(t.plugin().exportTrainingPack("P").value.text, Not(HasSubstr("QMTraining results")));
}

// Normalising an older file renames it; its results go along.
TEST(Attempts, ALoadThatRenamesAShotFileCarriesItsResults) {
  Practice t;
  t.put("P", "Old name.shot", "100 0 0 2500 0 0 0 -2500 17 16384 New_name 3200 0 0");
  t.put("P", ".stats", "QMTraining results 1\n4 3 1101 7 0 Old name.shot\n");
  t.h.console("LoadShot");
  EXPECT_EQ(t.figures("New name.shot"), "4 3");
  EXPECT_EQ(t.figures("Old name.shot"), "none");
}

TEST(Attempts, AnUnreadableResultsFileIsKeptAsideWithoutStoppingTraining) {
  for (const char* bad : {"not results", "QMTraining results 1\n9 1 - 0 0 a.shot\n1 2 - 0 0 b.shot\n"}) {
    Practice t;
    t.put("P", ".stats", bad);
    t.put("P", ".stats.bad", "an earlier one");
    t.play(0);
    t.goal(1);
    EXPECT_EQ(t.text("P", ".stats.bad"), "an earlier one");
    EXPECT_EQ(t.text("P", ".stats.bad2"), bad);
    EXPECT_EQ(t.figures("Goal.shot"), "1 1");
    EXPECT_THAT(t.written("P"), HasSubstr("1 1 1 "));
    const auto& log = t.h.host().logLines();
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const std::string& line) { return line.find("could not be read") != std::string::npos; }),
              1);
  }
}

// A restart is the plug-in unloaded and loaded again into the same host.
TEST(Attempts, WhatTheResultsFileKeepsSurvivesARestart) {
  for (const bool remember : {true, false}) {
    SCOPED_TRACE(remember);
    Practice t;
    t.h.console(std::string("remember_training ") + (remember ? "1" : "0"));
    t.h.console("LoadShot");
    t.h.console("TrainingPackNum 1");
    t.plugin().loadTrainingPack(1);
    t.play(0);
    t.goal(1);
    t.plugin().shotSelections = {true};
    t.h.unload();
    t.h.host().releaseCallbacks();
    t.h.load();
    t.h.console("LoadShot");
    EXPECT_EQ(t.plugin().shots.at(0).name, remember ? "Other" : "Goal");
    if (!remember) t.plugin().loadTrainingPack(1);
    EXPECT_EQ(t.figures("Other.shot"), "1 1");
    EXPECT_EQ(t.plugin().shotSelections, std::vector<bool>{remember});
  }
}

// "training_auto_next": a goal places the next shot that much later; a
// press in between cancels it.
TEST(Attempts, AutoNextPlacesTheNextShotUnlessAPressCameFirst) {
  for (const bool pressedBetween : {false, true}) {
    SCOPED_TRACE(pressedBetween);
    Practice t;
    t.h.console("training_auto_next 2");
    t.play(0);
    t.goal(1);
    if (pressedBetween) t.press();
    t.h.advance(1.9);
    EXPECT_EQ(t.plugin().openAttempt.has_value(), pressedBetween);
    const uint64_t press = pressedBetween ? t.plugin().openAttempt->press : 0;
    t.h.advance(0.2);
    ASSERT_TRUE(t.plugin().openAttempt.has_value());
    if (pressedBetween) {
      EXPECT_EQ(t.plugin().openAttempt->press, press);
    }
  }
}

}  // namespace
