// The sandbox host: the built plug-in library loaded with dlopen and driven
// by script lines, as a newcomer would drive it.

#include <fmt/format.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <set>
#include <thread>

#include "pluginsdk/GameEvents.h"
#include "pluginsdk/sim/Motion.h"
#include "sandbox/PluginVerbs.h"
#include "sandbox/VerbList.h"
#include "storage/PackText.h"
#include "tests/support/SandboxFixture.h"

namespace {

using testing::HasSubstr;

class SandboxTest : public SandboxFixture {
 protected:
  // Each line fails and prints its message.
  void expectFailures(std::initializer_list<std::pair<const char*, const char*>> lines) {
    for (const auto& [line, message] : lines) {
      out.str("");
      EXPECT_EQ(sandbox.runLine(line), Sandbox::LineResult::failed) << line;
      EXPECT_THAT(out.str(), HasSubstr(message)) << line;
    }
  }
};

TEST_F(SandboxTest, BadLinesFailSayingWhyWithoutStoppingTheHost) {
  expectFailures({
      {"frobnicate", "Unknown command: frobnicate\n"},
      {"advance soon", "usage: advance SECONDS"},
      {"press NoSuchKey", "NoSuchKey is not bound\n"},
      {"match elsewhere", "usage: match local|online|none\n"},
      {"frames -1", "usage: frames N"},
      {"frames 2", "the window is not shown; use: window open\n"},
      {"shown", "the window is not shown; use: window open\n"},
      {"quellmark_enabled yes", "quellmark_enabled: \"yes\" is not a number\n"},
      {"window sideways", "usage: window open|close\n"},
      {"show everything", "usage: show ball|car|server|all\n"},
      {"bind OnlyKey", "usage: bind KEY \"COMMAND\"\n"},
      {"exec missing.cfg", "Could not open cfg file: "},
      {"togglemenu Nowhere", "togglemenu: no menu named Nowhere\n"},
      {"quellmark_enabled 1; frobnicate", "Unknown command: frobnicate\n"},
  });
  run({"window open", "frames 2"});
  expectFailures({
      {"click Nowhere", "Nowhere is not shown\n"},
      {"key Hyper", "unknown key Hyper; keys: Tab Left"},
      {"type", "usage: type TEXT\n"},
      {"wait Nowhere 3", "Nowhere did not show within 3 frames\n"},
      {"mouse here", "usage: mouse X Y\n"},
  });
  EXPECT_EQ(sandbox.runLine("quit"), Sandbox::LineResult::quit);
  EXPECT_EQ(sandbox.runScript(dir.path() / "missing.script"), Sandbox::LineResult::failed);
}

TEST_F(SandboxTest, HelpListsEveryVerbOfTheTerminalWithItsUsage) {
  addPluginVerbs(sandbox);
  const std::string help = run({"help"});
  for (const VerbDoc& doc : verbList) {
    if (doc.place == VerbPlace::window) continue;
    EXPECT_TRUE(doc.name == "quit" || sandbox.hasVerb(std::string(doc.name))) << doc.name;
    EXPECT_THAT(help, HasSubstr(fmt::format("  {:<28}{}\n", doc.usage, doc.effect)));
  }
}

TEST(SandboxVerbs, TheReadmesTablesListEveryVerb) {
  std::set<std::string> listed;
  for (const VerbDoc& doc : verbList) listed.insert(std::string(doc.name));
  // The verbs in the first cells of the README's tables of lines, such as
  // | `window open`, `frames N` | ... |
  std::set<std::string> documented;
  std::istringstream readme(readFile(std::filesystem::path(QM_SOURCE_DIR) / "README.md"));
  const std::regex verb("`([^` ]+)[^`]*`");
  bool inTable = false;
  for (std::string line; std::getline(readme, line);) {
    inTable = line == "| Line | Effect |" || (inTable && line.rfind('|', 0) == 0);
    if (!inTable) continue;
    const std::string cell = line.substr(0, line.find('|', 1));
    for (std::sregex_iterator it(cell.begin(), cell.end(), verb), end; it != end; ++it) documented.insert((*it)[1]);
  }
  EXPECT_EQ(documented, listed);
}

// What the host saved reads back exactly at its next start, quotes and
// backslashes included; lines an older host wrote, without escapes, read as
// they always did.
TEST_F(SandboxTest, SavedTextsReadBackExactlyAfterARestart) {
  const std::string texts[] = {R"(say "hi")", R"(C:\games\)", R"(\"\\ ")", ""};
  sim::Host& host = sandbox.host();
  for (size_t i = 0; i < std::size(texts); ++i) {
    host.cvarManager()->registerCvar(fmt::format("text{}", i), "x").setValue(texts[i]);
  }
  host.execute(R"(bind F1 "exec C:\cfg\")");
  host.saveConfig();
  const std::filesystem::path config = dir.path() / "cfg/config.cfg";
  writeFile(config, readFile(config) + R"(old_path "C:\games\")" + "\n" + R"(old_text "a\b")" + "\n");
  sim::Host restarted(dir.path());
  for (size_t i = 0; i < std::size(texts); ++i) {
    EXPECT_EQ(restarted.cvarManager()->registerCvar(fmt::format("text{}", i), "x").getStringValue(), texts[i]);
  }
  EXPECT_EQ(restarted.binds().at("F1"), R"(exec C:\cfg\)");
  EXPECT_EQ(restarted.cvarManager()->registerCvar("old_path", "").getStringValue(), R"(C:\games\)");
  EXPECT_EQ(restarted.cvarManager()->registerCvar("old_text", "").getStringValue(), R"(a\b)");
}

TEST(SandboxProgram, AFailingLineEndsTheRunWithItsNumberUnlessToldToKeepGoing) {
  TempDir dir;
  writeFile(dir.path() / "tour.script", "quellmark_enabled 1\nmatch local\nlist\nnot a command\nshow car\n");
  const std::string script = "--host-dir '" + dir.str("host") + "' --script '" + dir.str("tour.script") + "' ";
  for (const bool keepGoing : {false, true}) {
    const ProgramRun run = runSandboxProgram(script + (keepGoing ? "--keep-going " : "") + "'show server'");
    EXPECT_EQ(run.status, keepGoing ? 0 : 1) << run.output;
    EXPECT_THAT(run.output, HasSubstr("1 script line failed:\n  " + dir.str("tour.script") + ":4: not a command\n"));
    // The lines after it ran only when told to keep going.
    EXPECT_EQ(run.output.find("server match=local") != std::string::npos, keepGoing) << run.output;
  }
}

TEST(SandboxProgram, WhatThePlayerSetSurvivesARestartOfTheHost) {
  TempDir dir;
  const std::string host = "--host-dir '" + dir.str("host") + "' ";
  runSandboxProgram(host + "'training_order 2' 'variance_location 250' 'variance_direction 12.5' "
                           "'variance_speed 30' 'quellmark_enabled 1' 'bind BackSpace \"controlInput\"'");
  // The reset key works before the plug-in's window is first drawn.
  const ProgramRun run = runSandboxProgram(host + "list 'match local' 'press BackSpace' 'show server'");
  for (const char* kept : {"training_order = \"2\"", "variance_location = \"250\"", "variance_direction = \"12.5\"",
                           "variance_speed = \"30\""}) {
    EXPECT_THAT(run.output, HasSubstr(std::string(kept) + " (default \"0\")"));
  }
  EXPECT_THAT(run.output, HasSubstr("server match=local maxscore=100"));
}

// The game killed (kill -9) while an import writes its shots: the next
// start removes the hidden work folder, and the pack is listed whole or not
// at all.
TEST(SandboxProgram, AnImportKilledPartWayLeavesAllOrNothingOfItsPack) {
  TempDir dir;
  const std::filesystem::path packs = dir.path() / "host/data/QMShots/TrainingPacks";
  std::vector<std::string> lines;
  for (int i = 0; i < 20000; ++i) lines.push_back(fmt::format("{} 0 0 0 0 0 0 0 17 0 S{} 3000 0 0", i, i));
  writeFile(dir.path() / "host/data/QMShots/Big.qmpack", encodePackText("Big", lines));
  const std::string host = dir.str("host");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    execl(QM_SANDBOX_PATH, QM_SANDBOX_PATH, "--host-dir", host.c_str(), "ImportPack Big.qmpack", nullptr);
    _exit(127);
  }
  // Killed once the work folder holds a shot, so the import is under way.
  const std::filesystem::path work = packs / ".import-1.tmp";
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  std::error_code error;
  while (std::filesystem::is_empty(work, error) || error) {
    if (std::chrono::steady_clock::now() > giveUp || waitpid(child, nullptr, WNOHANG) == child) break;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";

  const ProgramRun next = runSandboxProgram("--host-dir '" + host + "' 'window open' 'frames 2'");
  EXPECT_THAT(next.output, HasSubstr("Removed what interrupted work left in the training packs: 1 import folder(s)"));
  EXPECT_FALSE(std::filesystem::exists(work));
  size_t shots = 0;
  for (const auto& entry : std::filesystem::directory_iterator(packs / "Big", error)) shots += entry.is_regular_file();
  EXPECT_TRUE(shots == 0 || shots == lines.size()) << shots << " shots listed";
}

}  // namespace

namespace {

// What the simulated game reports, in order, while a launched ball flies for
// a second: one tick event per tick, a goal event only for a ball crossing a
// goal line inside the mouth.
TEST(SimulatedGame, ReportsTheEventsOfAFlight) {
  const struct {
    const char* name;
    Vector location, velocity;
    int goals;
  } rows[] = {
      {"into the +Y net", {0, 4500, 300}, {0, 3000, 0}, 1},
      {"into the -Y net", {-500, -4500, 300}, {0, -3000, 0}, 1},
      {"at the back wall beside the mouth", {2000, 4500, 300}, {0, 3000, 0}, 0},
      {"over the crossbar", {0, 4500, 900}, {0, 3000, 0}, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    sim::Host host(dir.path());
    host.setWorldStepper(sim::ballStepper());
    std::vector<std::string> events;
    host.gameWrapper()->HookEvent(gameevents::goalScored, [&](std::string name) { events.push_back(name); });
    host.gameWrapper()->HookEvent(gameevents::tick, [&](std::string) { events.push_back("tick"); });
    host.advance(0.5);  // no match yet: nothing happens
    host.startLocalMatch();
    host.ball()->godBall = false;
    host.ball()->location = row.location;
    host.ball()->velocity = row.velocity;
    for (int tick = 0; tick < 120; ++tick) host.tick();
    EXPECT_EQ(std::count(events.begin(), events.end(), "tick"), 120);
    EXPECT_EQ(std::count(events.begin(), events.end(), gameevents::goalScored), row.goals);
    host.gameWrapper()->UnhookEvent(gameevents::tick);
    host.tick();
    EXPECT_EQ(std::count(events.begin(), events.end(), "tick"), 120);
  }
}

TEST(SimulatedGame, MatchEndedFiresForALocalMatchUntilReleased) {
  TempDir dir;
  sim::Host host(dir.path());
  int ended = 0;
  host.gameWrapper()->HookEvent(gameevents::matchEnded, [&](std::string) { ++ended; });
  host.leaveMatch();
  host.startLocalMatch();
  host.startOnlineMatch();
  host.leaveMatch();
  EXPECT_EQ(ended, 1);
  host.startLocalMatch();
  host.releaseCallbacks();
  EXPECT_TRUE(host.hookedEvents().empty());
  host.leaveMatch();
  EXPECT_EQ(ended, 1);
}

}  // namespace
