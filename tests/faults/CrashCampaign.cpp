// Every storage action a player can trigger (PlayerActions.h), run once to
// count the file-system calls it makes, then once per call k in a child
// process that ends abruptly just before call k (_exit: no destructor, no
// stream flushed), as when the game is killed. The plug-in then starts again
// on what the child left, as the game's next start does, and:
//   - no shot is lost: every shot that was there before is there with its
//     values, or the action's intended result is complete;
//   - no half pack is listed: a pack the action makes is there whole or not
//     at all;
//   - no temporary file or hidden work folder is left after that start, and
//     it said in the console that it removed what it found;
//   - that start neither crashed nor told the player of an error (a console
//     line or a red text the starts before and after the action do not show).
// Prints one line: "crash campaign: ...".
// Also here: the order of the calls of a durable write.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>

#include "platform/Utf8Path.h"
#include "storage/AtomicWrite.h"
#include "storage/PackTransfer.h"
#include "storage/ShotFileFormat.h"
#include "tests/faults/FaultInjection.h"
#include "tests/faults/PlayerActions.h"

namespace {

namespace fi = faultinjection;
using namespace playeractions;

constexpr int notReached = 87;
// Under the sanitizers a fork costs several times as much, so there the
// process ends only at the calls that change the disk: ending it before a
// look-up or a read leaves the same files as ending it before the next change.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool everyCall = false;
#else
constexpr bool everyCall = true;
#endif
const std::string packsPrefix = "data/QMShots/TrainingPacks/";

// What a start of the plug-in on a host folder left and said.
struct Start {
  Tree files;
  std::vector<std::string> packs;  // the pack list it shows
  std::set<std::string> said;      // console lines and red texts, "<host>" for the host folder
  bool crashed = false;
};

Start startOn(const fs::path& hostDir) {
  Start start;
  Player player(hostDir);
  try {
    player.openWindow();
    player.click("Training Packs").ui().frame();
  } catch (...) {
    start.crashed = true;
  }
  const std::string host = hostDir.string();
  for (std::string line : player.h.host().logLines()) {
    for (size_t at; (at = line.find(host)) != std::string::npos;) line.replace(at, host.size(), "<host>");
    start.crashed |= line.find(" stopped by an error: ") != std::string::npos;
    start.said.insert(line);
  }
  for (const std::string& text : player.redTexts()) start.said.insert("red: " + text);
  start.packs = player.plugin().trainingPacks;
  start.files = snapshot(hostDir);
  return start;
}

// The files of one pack: name -> text.
Tree packFiles(const Tree& tree, const std::string& pack) {
  Tree files;
  const std::string prefix = packsPrefix + pack + "/";
  for (const auto& [path, text] : tree) {
    if (path.starts_with(prefix)) files.emplace(path.substr(prefix.size()), text);
  }
  return files;
}

bool holdsPack(const Start& start, const Tree& files) {
  return std::any_of(start.packs.begin(), start.packs.end(),
                     [&](const std::string& pack) { return packFiles(start.files, pack) == files; });
}

bool isLeftover(const std::string& path) {
  const fs::path parts(path);
  return std::any_of(parts.begin(), parts.end(), [](const fs::path& part) { return isTemporaryFile(part.string()); });
}

// The action run without a crash: the files before it, the calls it makes,
// and the starts after the files before and after it.
struct Baseline {
  Tree before;
  int calls = 0;
  std::vector<int> crashPoints;  // the calls to end the process at
  Start beforeStart, intendedStart;
};

Baseline baselineOf(const Action& action) {
  Baseline baseline;
  {
    Player player;
    prepare(player, action);
    player.h.unload();
    baseline.beforeStart = startOn(player.h.dir().path());
  }
  Player player;
  prepare(player, action);
  const fs::path root = player.h.dir().path();
  baseline.before = snapshot(root);
  fi::countCalls(root);
  perform(player, action);
  fi::disarm();
  baseline.calls = static_cast<int>(fi::calls().size());
  baseline.crashPoints = fi::changingCalls();
  if (everyCall) {
    baseline.crashPoints.resize(fi::calls().size());
    std::iota(baseline.crashPoints.begin(), baseline.crashPoints.end(), 1);
  }
  player.h.unload();
  baseline.intendedStart = startOn(root);
  return baseline;
}

struct Tally {
  int runs = 0, lost = 0, halfPacks = 0, leftovers = 0, restartCrashes = 0;
};

void check(const std::string& where, const Baseline& baseline, const Tree& crashed, const Start& next,
           Tally& tally) {
  const auto fail = [&where](int& count, const std::string& what) {
    ++count;
    ADD_FAILURE() << where << ": " << what;
  };
  // A shot the action keeps is there; one it removes or changes may be gone
  // only once all it makes instead is there.
  const std::multiset<std::string> before = shotValues(baseline.before);
  const std::multiset<std::string> intended = shotValues(baseline.intendedStart.files);
  const std::multiset<std::string> now = shotValues(next.files);
  const bool madeAll = std::all_of(intended.begin(), intended.end(),
                                   [&](const std::string& values) { return before.count(values) || now.count(values); });
  for (const std::string& values : before) {
    if (!now.count(values) && (intended.count(values) || !madeAll)) fail(tally.lost, "the shot " + values + "is gone");
  }
  // A pack the action makes is listed with all its files, or not at all (an
  // added pack holds its default shot from its first load on).
  const Tree defaultPack = {{std::string(shotfile::defaultShotName) + std::string(shotfile::shotExtension), ""}};
  for (const std::string& pack : next.packs) {
    if (baseline.before.count(packsPrefix + pack)) continue;
    const Tree files = packFiles(next.files, pack);
    Tree intendedFiles = packFiles(baseline.intendedStart.files, pack);
    for (auto& [name, text] : intendedFiles) text.clear();
    if (holdsPack(baseline.intendedStart, files) || holdsPack(baseline.beforeStart, files)) continue;
    if (files.empty() && intendedFiles == defaultPack) continue;
    fail(tally.halfPacks, "the pack " + pack + " is listed with " + std::to_string(files.size()) + " file(s)");
  }
  const bool leftBehind = std::any_of(crashed.begin(), crashed.end(), [](const auto& f) { return isLeftover(f.first); });
  for (const auto& [path, text] : next.files) {
    if (isLeftover(path)) fail(tally.leftovers, "left after the next start: " + path);
  }
  const bool toldCleanup = std::any_of(next.said.begin(), next.said.end(), [](const std::string& line) {
    return line.starts_with("Removed what interrupted work left");
  });
  if (leftBehind && !toldCleanup) fail(tally.leftovers, "the next start removed leftovers without a word");
  if (next.crashed) fail(tally.restartCrashes, "the next start crashed");
  for (const std::string& line : next.said) {
    if (baseline.beforeStart.said.count(line) || baseline.intendedStart.said.count(line)) continue;
    if (line.starts_with("Removed what interrupted work left")) continue;
    fail(tally.restartCrashes, "the next start said: " + line);
  }
}

TEST(CrashCampaign, NoCrashLosesAShotOrLeavesAHalfPackOrALeftover) {
  const auto started = std::chrono::steady_clock::now();
  std::error_code error;
  if (fs::is_directory("/dev/shm", error)) setenv("TMPDIR", "/dev/shm", 1);
  Tally tally;
  for (const Action& action : actions()) {
    const Baseline baseline = baselineOf(action);
    ASSERT_GT(baseline.calls, 0) << action.name << " touched no file";
    for (const int k : baseline.crashPoints) {
      Player player;
      prepare(player, action);
      const fs::path root = player.h.dir().path();
      std::fflush(nullptr);
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        fi::crashAt(k, root);
        try {
          perform(player, action);
        } catch (...) {
        }
        _exit(notReached);
      }
      int status = 0;
      waitpid(child, &status, 0);
      if (WIFEXITED(status) && WEXITSTATUS(status) == notReached) continue;
      const std::string where = std::string(action.name) + ", crash at call " + std::to_string(k);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == fi::crashExitCode) << where << ": status " << status;
      ++tally.runs;
      player.h.unload();
      const Tree crashed = snapshot(root);
      check(where, baseline, crashed, startOn(root), tally);
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "crash campaign: %zu actions x %d crash points, shots lost %d, half packs visible %d, leftovers after "
      "restart %d, crashes on restart %d (%.1f s)\n",
      actions().size(), tally.runs, tally.lost, tally.halfPacks, tally.leftovers, tally.restartCrashes, seconds);
}

// A durable write: the file flushed before the rename that makes it visible,
// the folder flushed after it.
TEST(DurableWrites, AWriteIsFlushedBeforeTheRenameThatShowsIt) {
  TempDir dir;
  const std::string root = utf8FromPath(dir.path()) + "/f";  // the tree's own folder is not recorded
  const std::string packs = root + "/packs";
  const std::string staging = packs + "/.import-1.tmp";
  fs::create_directories(packs);
  struct Row {
    const char* name;
    std::function<bool()> write;
    std::string flushed, renamed, folder;
  };
  const Row rows[] = {
      {"shot file", [&] { return replaceFileText(root + "/a.shot", "1"); }, root + "/.a.shot.tmp",
       root + "/.a.shot.tmp -> " + root + "/a.shot", root},
      {"imported pack", [&] { return importPackFolder(packs, "New", {}).ok(); }, staging,
       staging + " -> " + packs + "/New", packs},
  };
  for (const Row& row : rows) {
    fi::countCalls(dir.path());
    ASSERT_TRUE(row.write()) << row.name;
    fi::disarm();
    const std::vector<std::string>& calls = fi::calls();
    const auto find = [&](const std::string& call) { return std::find(calls.begin(), calls.end(), call) - calls.begin(); };
    const auto flushed = find("fsync " + row.flushed), renamed = find("rename " + row.renamed);
    const auto folder = std::find(calls.begin() + std::min<ptrdiff_t>(renamed, calls.size()), calls.end(),
                                  "fsync " + row.folder) - calls.begin();
    std::string record;
    for (const std::string& call : calls) record += call + "\n";
    EXPECT_LT(flushed, renamed) << row.name << "\n" << record;
    EXPECT_LT(renamed, static_cast<ptrdiff_t>(calls.size())) << row.name << "\n" << record;
    EXPECT_LT(folder, static_cast<ptrdiff_t>(calls.size())) << row.name << " folder not flushed after\n" << record;
  }
}

}  // namespace
