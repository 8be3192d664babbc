// Every storage action a player can trigger in the window, run once without
// faults and then again for each file-system call it makes, with a fault
// injected at that call: permission denied, no space, an I/O error, the
// folder vanished, a dangling link in the way. After each run:
//   - no exception reached the host (nor the plug-in's last-resort guard);
//   - every shot file is as it was before, or as the fault-free run left it;
//     no temporary file is left and nothing is written through a link;
//   - no shot's values are gone that the fault-free run kept;
//   - when the outcome differs from the fault-free one, the player was told
//     (a new red message in the window or a console line).
// Prints one line: "fault campaign: ...".

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "storage/Trash.h"
#include "tests/faults/FaultInjection.h"
#include "tests/faults/PlayerActions.h"

namespace {

namespace fi = faultinjection;
using fi::Fault;
using namespace playeractions;

// What one run left: the host folder as the plug-in sees it, and with the
// folder a fault moved away put back where it was (the links it placed
// taken away), what went through those links, the plug-in's state, and
// whether the player was told anything during the action.
struct Outcome {
  Tree before, seen, after, aside;
  std::string memory;
  bool told = false, crashed = false;
  std::string log;
};

// Arms the fault injection for a run, given the host folder and the folder aside.
using Arming = std::function<void(const fs::path&, const fs::path&)>;

Outcome run(const Action& action, const Arming& arm) {
  Player player;
  WindowHarness& h = player.h;
  const fs::path root = h.dir().path();
  const fs::path aside = root.parent_path() / (root.filename().string() + "-aside");
  prepare(player, action);
  const std::set<std::string> redBefore = player.redTexts();
  const size_t logBefore = h.host().logLines().size();

  Outcome outcome;
  outcome.before = snapshot(root);
  arm(root, aside);
  try {
    perform(player, action);
  } catch (...) {
    outcome.crashed = true;
  }
  fi::disarm();
  player.ui().frames(2);

  for (size_t i = logBefore; i < h.host().logLines().size(); ++i) {
    const std::string& line = h.host().logLines()[i];
    if (line.starts_with("] ")) continue;  // the host echoing a command
    outcome.told = true;
    outcome.log += line + '\n';
    if (line.find(" stopped by an error: ") != std::string::npos) outcome.crashed = true;
  }
  for (const std::string& text : player.redTexts()) outcome.told |= !redBefore.count(text);
  outcome.memory = player.memory();
  outcome.seen = snapshot(root);
  std::erase_if(outcome.seen, [](const auto& entry) { return entry.second == "<link>"; });
  outcome.after = outcome.seen;
  outcome.aside = snapshot(aside);
  if (fi::fired()) {
    const fs::path from = fs::relative(fs::path(fi::firedPath()).parent_path(), root);
    for (const auto& [path, text] : outcome.aside) {
      if (!path.starts_with("vanished-")) continue;
      // So did a hidden work folder (an import's or a copy's), with all in it.
      if (isTemporaryFile(from.string())) continue;
      const size_t slash = path.find('/');
      // A temporary file written before its folder was moved away went with
      // it, out of the plug-in's reach: it is not the plug-in's to remove.
      if (slash != std::string::npos && isTemporaryFile(path)) continue;
      const std::string original = slash == std::string::npos ? from.string() : (from / path.substr(slash + 1)).string();
      // Trash entry folders and records, moved away as the plug-in removed
      // them: no listing shows an entry without its item.
      if (original.starts_with("data/QMShots/Trash/") &&
          (text == "<folder>" || fs::path(original).filename() == trashfile::recordName)) {
        continue;
      }
      outcome.after.emplace(original, text);  // what the plug-in made there since wins
    }
  }
  std::error_code error;
  fs::remove_all(aside, error);
  return outcome;
}

struct Tally {
  int runs = 0, lost = 0, changed = 0, crashes = 0, untold = 0;
};

std::string at(const Tree& tree, const std::string& path) {
  auto found = tree.find(path);
  return found == tree.end() ? std::string("<none>") : found->second;
}

// Whether a shot file of `folder` holds `text` in the tree.
bool holds(const Tree& tree, const fs::path& folder, const std::string& text) {
  return std::any_of(tree.begin(), tree.end(), [&](const auto& entry) {
    return isShotFile(entry.first) && fs::path(entry.first).parent_path() == folder && entry.second == text;
  });
}

// Checks one faulted run against the run without faults (and, for a folder
// that vanished, against the run that found it gone from the start).
void check(const std::string& where, const Outcome& intended, const Outcome* vanishedBefore, const Outcome& faulted,
           Tally& tally) {
  const auto fail = [&where](int& count, const std::string& what) {
    ++count;
    ADD_FAILURE() << where << ": " << what;
  };
  if (faulted.crashed) fail(tally.crashes, "an exception reached the host or the guard\n" + faulted.log);
  // Each shot file is as it was (perhaps renamed in its folder, as loading
  // does), or holds what the run without faults left in its folder (perhaps
  // still under its old name, as an edit leaves it until the next load).
  for (const auto& [path, text] : faulted.before) {
    if (!isShotFile(path)) continue;
    const fs::path folder = fs::path(path).parent_path();
    const std::string now = at(faulted.after, path);
    if (now == text || now == at(intended.after, path)) continue;
    if (now == "<none>" ? holds(faulted.after, folder, text) : holds(intended.after, folder, now)) continue;
    fail(tally.changed, path + " is neither as before nor as intended: " + now);
  }
  for (const auto& [path, text] : faulted.after) {
    if (isTemporaryFile(path)) fail(tally.changed, "a temporary file is left: " + path);
  }
  for (const auto& [path, text] : faulted.aside) {
    if (path.starts_with("link-target")) fail(tally.changed, "written through a link: " + path);
  }
  const std::multiset<std::string> kept = shotValues(intended.after);
  const std::multiset<std::string> left = shotValues(faulted.after);
  for (const std::string& values : shotValues(faulted.before)) {
    if (kept.count(values) && !left.count(values)) fail(tally.lost, "the shot " + values + "is gone");
  }
  const auto differs = [&](const Outcome& expected, const Tree& files) {
    return files != expected.after || faulted.memory != expected.memory;
  };
  const bool felt = differs(intended, faulted.after) && !(vanishedBefore && !differs(*vanishedBefore, faulted.seen));
  if (felt && !faulted.told) {
    fail(tally.untold, "the outcome differs and the player was not told\n" + faulted.memory + "\n-- intended --\n" +
                           intended.memory);
  }
}

TEST(FaultCampaign, NoFaultLosesOrChangesAShotCrashesOrGoesUntold) {
  const auto started = std::chrono::steady_clock::now();
  // Thousands of host folders are made and removed: in memory where offered.
  std::error_code error;
  if (fs::is_directory("/dev/shm", error)) setenv("TMPDIR", "/dev/shm", 1);
  Tally tally;
  for (const Action& action : actions()) {
    const Outcome intended = run(action, [](const fs::path& root, const fs::path&) { fi::countCalls(root); });
    ASSERT_FALSE(intended.crashed) << action.name;
    ASSERT_GT(fi::eligibleCalls(Fault::ioError), 0) << action.name << " touched no file";
    std::map<Fault, int> counts;
    for (const Fault fault : fi::allFaults) counts[fault] = fi::eligibleCalls(fault);
    // What the plug-in does finding a folder gone before the action: the
    // run without faults after that folder of the host's was moved away.
    std::map<fs::path, Outcome> vanishedBefore;
    const auto foundGone = [&](const fs::path& folder) {
      auto found = vanishedBefore.find(folder);
      if (found != vanishedBefore.end()) return &found->second;
      const Outcome gone = run(action, [&](const fs::path& root, const fs::path& aside) {
        fs::create_directories(aside, error);
        fs::rename(root / folder, aside / "moved", error);
        fi::countCalls(root);
      });
      return &vanishedBefore.emplace(folder, gone).first->second;
    };
    for (const auto& [fault, count] : counts) {
      for (int nth = 1; nth <= count; ++nth) {
        fs::path root;
        const Outcome faulted = run(action, [&](const fs::path& tree, const fs::path& aside) {
          root = tree;
          fi::injectAt(fault, nth, tree, aside);
        });
        if (!fi::fired()) continue;
        ++tally.runs;
        const std::string& path = fi::firedPath();
        const std::string where = std::string(action.name) + ", " + fi::faultName(fault) + " at call " +
                                  std::to_string(nth) + " (" + fi::firedCall() + " " + path + ")";
        const bool vanished = fault == Fault::folderVanished;
        check(where, intended, vanished ? foundGone(fs::relative(fs::path(path).parent_path(), root)) : nullptr,
              faulted, tally);
      }
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "fault campaign: %zu actions x %zu fault kinds = %d runs, one per file-system call; files "
      "lost %d, changed unintentionally %d, crashes %d, failures not told %d (%.1f s)\n",
      actions().size(), std::size(fi::allFaults), tally.runs, tally.lost, tally.changed, tally.crashes, tally.untold,
      seconds);
}

}  // namespace
