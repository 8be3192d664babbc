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
#include <imgui.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "storage/PackText.h"
#include "tests/faults/FaultInjection.h"
#include "tests/support/WindowHarness.h"
#include "ui/NameRules.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

namespace {

namespace fs = std::filesystem;
namespace fi = faultinjection;
using fi::Fault;

// Everything under a folder: relative path -> file text, "<folder>" or
// "<link>". Links are not followed.
using Tree = std::map<std::string, std::string>;

Tree snapshot(const fs::path& root) {
  Tree tree;
  std::error_code error;
  if (!fs::exists(root, error)) return tree;
  for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::end(it); it.increment(error)) {
    const std::string relative = fs::relative(it->path(), root).string();
    tree[relative] = it->is_symlink() ? "<link>" : it->is_directory() ? "<folder>" : readFile(it->path());
  }
  return tree;
}

bool isShotFile(const std::string& path) {
  return path.starts_with("data/QMShots/") && (path.ends_with(".shot") || path.ends_with(".txt"));
}

bool isTemporaryFile(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  return name.starts_with(".") && name.ends_with(".tmp");
}

// The values of every shot file in the tree: its text without the name (field 11).
std::multiset<std::string> shotValues(const Tree& tree) {
  std::multiset<std::string> all;
  for (const auto& [path, text] : tree) {
    if (!isShotFile(path) || text == "<folder>" || text == "<link>") continue;
    std::istringstream in(text);
    std::string values, token;
    for (int field = 1; in >> token; ++field) values += field == 11 ? "" : token + ' ';
    all.insert(values);
  }
  return all;
}

// The player at the window of a plug-in on a fresh host holding two packs
// (one with a shot file of the older layout), an older shot file waiting
// to be moved, and key binds of their own.
class Player {
 public:
  Player() {
    const std::string packs = h.dataFolder() + "/QMShots/TrainingPacks";
    writeFile(h.dataFolder() + "/QMShots/Shots1.txt", "5 0 0 0 0 0 0 0 17 0 Old 3000 0 0");
    writeFile(packs + "/P/1 Alpha.shot", "92.5 10 3500 0 -2500 800 0 -4608 17 1 1_Alpha 3200 0 0");
    writeFile(packs + "/P/2 Beta.shot", "92.5 20 3500 0 -2500 800 0 -4608 17 2 2_Beta 3200 0 0");
    writeFile(packs + "/P/Shots3.txt", "3 0 0 0 0 0 0 0 17 0 Wall 3000 0 0");
    writeFile(packs + "/Q/X.shot", "7 0 0 0 0 0 0 0 17 0 X 3100 0 0");
    writeFile(h.host().cfgDir() / "QMTraining.cfg", "bind XboxTypeS_A \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
  }

  void openWindow() {
    h.openWindow();
    ImGui::SetCurrentContext(ui().context());
    ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
    ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 800));
    ui().frame();
  }
  Player& click(std::string_view text, int occurrence = 0) {
    if (!ui().click(text, occurrence)) ADD_FAILURE() << "not shown: " << text << "\n" << ui().describe();
    return *this;
  }
  // A row button of the pack, or the shot, shown as `name`.
  Player& packRow(const char* button, const std::string& name) {
    const std::vector<std::string>& packs = plugin().trainingPacks;
    return click(button, static_cast<int>(std::find(packs.begin(), packs.end(), name) - packs.begin()));
  }
  Player& shotRow(const char* button, const std::string& name) {
    const std::vector<Shot>& shots = plugin().shots;
    const auto shown = [&](const Shot& shot) { return shot.displayName() == name; };
    return click(button, static_cast<int>(std::find_if(shots.begin(), shots.end(), shown) - shots.begin()));
  }
  // What the player typed into a name field: typed over the preset where
  // the field has the focus (a popup's field, as it opens; it would write its
  // own text back over a buffer set beneath it), else set directly.
  template <size_t N>
  Player& typeName(char (&field)[N], std::string_view typed) {
    if (!ui().type(typed)) {
      namerules::setFieldText(field, typed);
      ui().frame();
    }
    return *this;
  }

  // Red texts of the last frame.
  std::set<std::string> redTexts() {
    const ImU32 red = ImGui::ColorConvertFloat4ToU32(windowparts::messageRed);
    std::set<std::string> texts;
    for (const uidriver::ShownText& shown : ui().shown()) {
      if (shown.color == red) texts.insert(shown.text);
    }
    return texts;
  }

  // What the plug-in holds that the player sees or acts on, as text.
  std::string memory() {
    std::ostringstream out;
    for (const std::string& pack : plugin().trainingPacks) out << pack << '|';
    out << "\ncurrent " << h.cvarInt("TrainingPackNum") << " shot " << h.cvarInt("shotNumber1");
    const size_t data = h.dataFolder().size();
    for (const Shot& shot : plugin().shots) {
      out << '\n' << shot.name << " @ " << shot.filePath.substr(std::min(shot.filePath.size(), data));
    }
    const ShotPopupState& shots = plugin().windowState->shotPopups;
    const PackPopupState& packs = plugin().windowState->packPopups;
    out << "\nkeys " << plugin().controllerKeyIndex << ' ' << plugin().keyboardKeyIndex << " editor "
        << plugin().editorOpen << " popups " << shots.renameShotOpen << shots.deleteShotOpen << shots.copyShotOpen
        << shots.transferShotOpen << shots.lagWarningPending << packs.renamePackOpen << packs.deletePackOpen
        << packs.copyPackOpen << packs.addPackOpen << " failed " << !packs.copyFailure.empty();
    // What sharing and importing showed (without paths, which name each run's own folder).
    const SharePopupState& share = packs.sharing;
    out << "\nshare " << share.open << ' ' << share.shotCount << ' ' << share.leftOut << ' ' << share.error.empty()
        << ' ' << share.resultFailed << ' ' << share.result.empty() << '\n'
        << share.text << "import " << packs.importing.open << ' ' << packs.importing.failure.empty();
    return out.str();
  }

  QMTraining& plugin() { return h.plugin(); }
  uidriver::UiDriver& ui() { return h.ui(); }
  WindowHarness h;
};

struct Action {
  const char* name;
  const char* tab;                        // opened before the action; null: the window stays closed
  std::function<void(Player&)> prepare;   // then run without faults, if any
  const char* click;                      // the player's one action; null: opening the window
};

const std::vector<Action>& actions() {
  const char* packsTab = "Training Packs";
  static const std::vector<Action> all = {
      {"first frame", nullptr, nullptr, nullptr},
      {"select pack", packsTab, nullptr, "Q"},
      {"add pack", packsTab,
       [](Player& p) { p.click("Add A New Pack").typeName(p.plugin().windowState->packPopups.addPackName, "Added"); }, "OK"},
      {"copy pack", packsTab,
       [](Player& p) { p.packRow("Copy", "P").typeName(p.plugin().windowState->packPopups.copyPackName, "Copied"); }, "OK"},
      {"rename pack", packsTab,
       [](Player& p) { p.packRow("Rename", "P").typeName(p.plugin().windowState->packPopups.renamePackName, "Renamed"); }, "OK"},
      {"delete pack", packsTab, [](Player& p) { p.packRow("Delete", "Q"); }, "OK"},
      {"reload packs", packsTab, nullptr, "Reload Packs"},
      {"save shot", "Shots",
       [](Player& p) { p.click("Create New Shot").typeName(p.plugin().shotNameInput, "New Shot"); }, "Save Shot"},
      {"edit shot", "Shots",
       [](Player& p) { p.shotRow("Edit", "2 Beta").typeName(p.plugin().shotNameInput, "2 Edited"); }, "Edit Shot"},
      {"rename shot", "Shots",
       [](Player& p) { p.shotRow("Rename", "2 Beta").typeName(p.plugin().windowState->shotPopups.renameShotName, "2 Gamma"); },
       "OK"},
      {"delete shot", "Shots", [](Player& p) { p.shotRow("Delete", "2 Beta"); }, "OK"},
      {"copy shot", "Shots",
       [](Player& p) { p.shotRow("Copy", "1 Alpha").typeName(p.plugin().windowState->shotPopups.copyShotName, "1 Copy"); }, "OK"},
      {"transfer shot", "Shots",
       [](Player& p) {
         p.shotRow("Transfer", "1 Alpha").click("Q").typeName(p.plugin().windowState->shotPopups.transferShotName, "Moved");
       },
       "OK"},
      {"key pick", "Settings", [](Player& p) { p.click("SpaceBar").ui().type("tab"); }, "Tab"},
      {"share pack", packsTab, nullptr, "Share"},
      {"save shared pack", packsTab, [](Player& p) { p.packRow("Share", "P"); }, "Save To File"},
      {"import pack", packsTab,
       [](Player& p) {
         p.ui().setClipboard(encodePackText("Shared", {"1 2 3 0 0 0 0 0 17 0 Lob 3000 0 0",
                                                       "4 5 6 0 0 0 0 0 17 0 Chip 3000 0 0"}));
         p.click("Import Pack").click("Paste From Clipboard");
       },
       "OK"},
      {"reset results", "Shots",
       [](Player& p) {
         p.plugin().packResults["1 Alpha.shot"].record(true, 1);
         p.ui().frame();
         p.click("Reset Results").ui().frames(2);
       },
       "OK"},
  };
  return all;
}

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
  if (action.tab) {
    player.openWindow();
    player.click(action.tab).ui().frame();
  }
  if (action.prepare) action.prepare(player);
  player.ui().frame();
  const std::set<std::string> redBefore = player.redTexts();
  const size_t logBefore = h.host().logLines().size();

  Outcome outcome;
  outcome.before = snapshot(root);
  arm(root, aside);
  try {
    if (action.click) {
      player.click(action.click);
    } else {
      player.openWindow();
    }
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
