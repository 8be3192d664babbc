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

#include "tests/faults/FaultInjection.h"
#include "tests/support/WindowHarness.h"
#include "ui/NameRules.h"
#include "ui/WindowParts.h"

namespace {

namespace fs = std::filesystem;
using faultinjection::Fault;

// Everything under a folder: relative path -> file text, "<folder>" or
// "<link>". Links are not followed.
using Tree = std::map<std::string, std::string>;

Tree snapshot(const fs::path& root) {
  Tree tree;
  std::error_code error;
  if (!fs::exists(root, error)) return tree;
  for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::end(it);
       it.increment(error)) {
    const std::string relative = fs::relative(it->path(), root).string();
    if (it->is_symlink()) {
      tree[relative] = "<link>";
    } else if (it->is_directory()) {
      tree[relative] = "<folder>";
    } else {
      tree[relative] = readFile(it->path());
    }
  }
  return tree;
}

bool isShotFile(const std::string& path) {
  return path.rfind("data/QMShots/", 0) == 0 &&
         (path.ends_with(".shot") || path.ends_with(".txt"));
}

bool isTemporaryFile(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  return name.starts_with(".") && name.ends_with(".tmp");
}

// A shot file's values: its text without the name (the eleventh field).
std::string valuesOf(const std::string& text) {
  std::istringstream in(text);
  std::string values;
  std::string token;
  for (int field = 1; in >> token; ++field) {
    if (field != 11) values += token + ' ';
  }
  return values;
}

std::multiset<std::string> shotValues(const Tree& tree) {
  std::multiset<std::string> values;
  for (const auto& [path, text] : tree) {
    if (isShotFile(path) && text != "<folder>" && text != "<link>") values.insert(valuesOf(text));
  }
  return values;
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
    writeFile(h.host().cfgDir() / "QMTraining.cfg",
              "bind XboxTypeS_A \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
  }

  void openWindow() {
    h.openWindow();
    ImGui::SetCurrentContext(ui().context());
    ImGui::SetWindowPos(h.plugin().menuTitle.c_str(), ImVec2(0, 0));
    ImGui::SetWindowSize(h.plugin().menuTitle.c_str(), ImVec2(1280, 800));
    ui().frame();
  }
  void tab(const char* label) {
    click(label);
    ui().frame();
  }
  void click(std::string_view text, int occurrence = 0) {
    if (!ui().click(text, occurrence)) {
      ADD_FAILURE() << "not shown: " << text << "\n" << ui().describe();
    }
  }
  // The window opened at a main tab.
  void openAt(const char* label) {
    openWindow();
    tab(label);
  }
  // A row button of the pack, or the shot, shown as `name`.
  void clickPackRow(const char* button, const std::string& name) {
    const std::vector<std::string>& packs = h.plugin().trainingPacks;
    click(button, static_cast<int>(std::find(packs.begin(), packs.end(), name) - packs.begin()));
  }
  void clickShotRow(const char* button, const std::string& name) {
    const std::vector<Shot>& shots = h.plugin().shots;
    const auto shown = [&](const Shot& shot) { return shot.displayName() == name; };
    click(button,
          static_cast<int>(std::find_if(shots.begin(), shots.end(), shown) - shots.begin()));
  }
  // What the player typed into a name field (typing itself is tested
  // elsewhere; here it would only cost frames).
  template <size_t N>
  void typeName(char (&field)[N], std::string_view typed) {
    namerules::setFieldText(field, typed);
    ui().frame();
  }
  QMTraining& plugin() { return h.plugin(); }

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
    QMTraining& plugin = h.plugin();
    std::ostringstream out;
    for (const std::string& pack : plugin.trainingPacks) out << pack << '|';
    out << "\ncurrent " << h.cvarInt("TrainingPackNum") << " shot " << h.cvarInt("shotNumber1");
    const std::string data = h.dataFolder();
    for (const Shot& shot : plugin.shots) {
      const std::string& path = shot.filePath;
      out << '\n' << shot.name << " @ " << path.substr(std::min(path.size(), data.size()));
    }
    const ShotPopupState& shots = plugin.shotPopups;
    const PackPopupState& packs = plugin.packPopups;
    out << "\nkeys " << plugin.controllerKeyIndex << ' ' << plugin.keyboardKeyIndex << " editor "
        << plugin.editorOpen << " popups " << shots.renameShotOpen << shots.deleteShotOpen
        << shots.copyShotOpen << shots.transferShotOpen << shots.lagWarningPending
        << packs.renamePackOpen << packs.deletePackOpen << packs.copyPackOpen << packs.addPackOpen;
    return out.str();
  }

  uidriver::UiDriver& ui() { return h.ui(); }
  WindowHarness h;
};

struct Action {
  const char* name;
  std::function<void(Player&)> prepare;  // runs without faults
  std::function<void(Player&)> act;      // the player's one action
};

const std::vector<Action>& actions() {
  static const std::vector<Action> all = {
      {"first frame", [](Player&) {}, [](Player& p) { p.openWindow(); }},
      {"select pack", [](Player& p) { p.openAt("Training Packs"); },
       [](Player& p) { p.click("Q"); }},
      {"add pack",
       [](Player& p) {
         p.openAt("Training Packs");
         p.click("Add A New Pack");
         p.typeName(p.plugin().packPopups.addPackName, "Added");
       },
       [](Player& p) { p.click("OK"); }},
      {"copy pack",
       [](Player& p) {
         p.openAt("Training Packs");
         p.clickPackRow("Copy", "P");
         p.typeName(p.plugin().packPopups.copyPackName, "Copied");
       },
       [](Player& p) { p.click("OK"); }},
      {"rename pack",
       [](Player& p) {
         p.openAt("Training Packs");
         p.clickPackRow("Rename", "P");
         p.typeName(p.plugin().packPopups.renamePackName, "Renamed");
       },
       [](Player& p) { p.click("OK"); }},
      {"delete pack",
       [](Player& p) {
         p.openAt("Training Packs");
         p.clickPackRow("Delete", "Q");
       },
       [](Player& p) { p.click("OK"); }},
      {"reload packs", [](Player& p) { p.openAt("Training Packs"); },
       [](Player& p) { p.click("Reload Packs"); }},
      {"save shot",
       [](Player& p) {
         p.openAt("Shots");
         p.click("Create New Shot");
         p.typeName(p.plugin().shotNameInput, "New Shot");
       },
       [](Player& p) { p.click("Save Shot"); }},
      {"edit shot",
       [](Player& p) {
         p.openAt("Shots");
         p.clickShotRow("Edit", "2 Beta");
         p.typeName(p.plugin().shotNameInput, "2 Edited");
       },
       [](Player& p) { p.click("Edit Shot"); }},
      {"rename shot",
       [](Player& p) {
         p.openAt("Shots");
         p.clickShotRow("Rename", "2 Beta");
         p.typeName(p.plugin().shotPopups.renameShotName, "2 Gamma");
       },
       [](Player& p) { p.click("OK"); }},
      {"delete shot",
       [](Player& p) {
         p.openAt("Shots");
         p.clickShotRow("Delete", "2 Beta");
       },
       [](Player& p) { p.click("OK"); }},
      {"copy shot",
       [](Player& p) {
         p.openAt("Shots");
         p.clickShotRow("Copy", "1 Alpha");
         p.typeName(p.plugin().shotPopups.copyShotName, "1 Copy");
       },
       [](Player& p) { p.click("OK"); }},
      {"transfer shot",
       [](Player& p) {
         p.openAt("Shots");
         p.clickShotRow("Transfer", "1 Alpha");
         p.click("Q");
         p.typeName(p.plugin().shotPopups.transferShotName, "Moved");
       },
       [](Player& p) { p.click("OK"); }},
      {"key pick",
       [](Player& p) {
         p.openAt("Settings");
         p.click("SpaceBar");
         p.ui().type("tab");
       },
       [](Player& p) { p.click("Tab"); }},
  };
  return all;
}

// What one run left: the host folder as the plug-in sees it, and with the
// folder a fault moved away put back where it was (the links it placed
// taken away), what went through those links, the plug-in's state, and
// whether the player was told anything during the action.
struct Outcome {
  Tree before;
  Tree seen;
  Tree after;
  Tree aside;
  std::string memory;
  bool told = false;
  bool crashed = false;
  std::string log;
};

// Arms the fault injection for a run: given the host folder and where a
// fault may put things aside.
using Arming = std::function<void(const fs::path&, const fs::path&)>;

Outcome run(const Action& action, const Arming& arm) {
  Player player;
  WindowHarness& h = player.h;
  const fs::path root = h.dir().path();
  const fs::path aside = root.parent_path() / (root.filename().string() + "-aside");
  action.prepare(player);
  player.ui().frame();
  const std::set<std::string> redBefore = player.redTexts();
  const size_t logBefore = h.host().logLines().size();

  Outcome outcome;
  outcome.before = snapshot(root);
  arm(root, aside);
  try {
    action.act(player);
  } catch (...) {
    outcome.crashed = true;
  }
  faultinjection::disarm();
  player.ui().frames(2);

  for (size_t i = logBefore; i < h.host().logLines().size(); ++i) {
    const std::string& line = h.host().logLines()[i];
    if (line.starts_with("] ")) continue;  // the host echoing a command
    outcome.told = true;
    outcome.log += line + '\n';
    if (line.find(" stopped by an error: ") != std::string::npos) outcome.crashed = true;
  }
  for (const std::string& text : player.redTexts()) {
    if (!redBefore.count(text)) outcome.told = true;
  }
  outcome.memory = player.memory();
  outcome.seen = snapshot(root);
  std::erase_if(outcome.seen, [](const auto& entry) { return entry.second == "<link>"; });
  outcome.after = outcome.seen;
  outcome.aside = snapshot(aside);
  if (faultinjection::fired()) {
    const fs::path from = fs::relative(fs::path(faultinjection::firedPath()).parent_path(), root);
    for (const auto& [path, text] : outcome.aside) {
      if (!path.starts_with("vanished-")) continue;
      const size_t slash = path.find('/');
      // A temporary file written before its folder was moved away went with
      // it, out of the plug-in's reach: it is not the plug-in's to remove.
      if (slash != std::string::npos && isTemporaryFile(path)) continue;
      const std::string original =
          slash == std::string::npos ? from.string() : (from / path.substr(slash + 1)).string();
      outcome.after.emplace(original, text);  // what the plug-in made there since wins
    }
  }
  std::error_code error;
  fs::remove_all(aside, error);
  return outcome;
}

// The run without faults, after `vanished` (a folder of the host's) was
// moved away before the action: what the plug-in does seeing it gone.
Outcome runWithout(const Action& action, const fs::path& vanished) {
  return run(action, [&](const fs::path& root, const fs::path& aside) {
    std::error_code error;
    fs::create_directories(aside, error);
    fs::rename(root / vanished, aside / "moved", error);
    faultinjection::countCalls(root);
  });
}

struct Tally {
  int runs = 0;
  int lost = 0;
  int changed = 0;
  int crashes = 0;
  int untold = 0;
};

std::string at(const Tree& tree, const std::string& path) {
  auto found = tree.find(path);
  return found == tree.end() ? std::string("<none>") : found->second;
}

// Whether a shot file of `folder` holds `text` in the tree.
bool holds(const Tree& tree, const fs::path& folder, const std::string& text) {
  for (const auto& [path, content] : tree) {
    if (isShotFile(path) && fs::path(path).parent_path() == folder && content == text) return true;
  }
  return false;
}

// Checks one faulted run against the run without faults (and, for a folder
// that vanished, against the run that found it gone from the start).
void check(const std::string& where, const Outcome& intended, const Outcome* vanishedBefore,
           const Outcome& faulted, Tally& tally) {
  if (faulted.crashed) {
    ++tally.crashes;
    ADD_FAILURE() << where << ": an exception reached the host or the guard\n" << faulted.log;
  }
  // Each shot file is as it was (perhaps renamed in its folder, as loading
  // does), or holds what the run without faults left in its folder (perhaps
  // still under its old name, as an edit leaves it until the next load).
  for (const auto& [path, text] : faulted.before) {
    if (!isShotFile(path)) continue;
    const fs::path folder = fs::path(path).parent_path();
    const std::string now = at(faulted.after, path);
    if (now == text || now == at(intended.after, path)) continue;
    if (now == "<none>" ? holds(faulted.after, folder, text) : holds(intended.after, folder, now)) {
      continue;
    }
    ++tally.changed;
    ADD_FAILURE() << where << ": " << path << " is neither as before nor as intended: " << now;
  }
  for (const auto& [path, text] : faulted.after) {
    if (!isTemporaryFile(path)) continue;
    ++tally.changed;
    ADD_FAILURE() << where << ": a temporary file is left: " << path;
  }
  for (const auto& [path, text] : faulted.aside) {
    if (!path.starts_with("link-target")) continue;
    ++tally.changed;
    ADD_FAILURE() << where << ": written through a link: " << path;
  }
  const std::multiset<std::string> kept = shotValues(intended.after);
  const std::multiset<std::string> left = shotValues(faulted.after);
  for (const std::string& values : shotValues(faulted.before)) {
    if (kept.count(values) && !left.count(values)) {
      ++tally.lost;
      ADD_FAILURE() << where << ": the shot " << values << "is gone";
    }
  }
  const auto differs = [&](const Outcome& expected, const Tree& files) {
    return files != expected.after || faulted.memory != expected.memory;
  };
  const bool felt = differs(intended, faulted.after) &&
                    !(vanishedBefore && !differs(*vanishedBefore, faulted.seen));
  if (felt && !faulted.told) {
    ++tally.untold;
    ADD_FAILURE() << where << ": the outcome differs and the player was not told\n"
                  << faulted.memory << "\n-- intended --\n" << intended.memory;
  }
}

TEST(FaultCampaign, NoFaultLosesOrChangesAShotCrashesOrGoesUntold) {
  const auto started = std::chrono::steady_clock::now();
  // Thousands of host folders are made and removed: in memory where the
  // system offers it, since on a disk that is most of the time.
  std::error_code error;
  if (fs::is_directory("/dev/shm", error)) setenv("TMPDIR", "/dev/shm", 1);
  Tally tally;
  for (const Action& action : actions()) {
    const Outcome intended = run(
        action, [](const fs::path& root, const fs::path&) { faultinjection::countCalls(root); });
    ASSERT_FALSE(intended.crashed) << action.name;
    int counts[std::size(faultinjection::allFaults)];
    for (size_t i = 0; i < std::size(faultinjection::allFaults); ++i) {
      counts[i] = faultinjection::eligibleCalls(faultinjection::allFaults[i]);
    }
    ASSERT_GT(counts[2], 0) << action.name << " touched no file";
    std::map<fs::path, Outcome> vanishedBefore;
    for (size_t i = 0; i < std::size(faultinjection::allFaults); ++i) {
      const Fault fault = faultinjection::allFaults[i];
      for (int nth = 1; nth <= counts[i]; ++nth) {
        fs::path root;
        const Outcome faulted = run(action, [&](const fs::path& tree, const fs::path& aside) {
          root = tree;
          faultinjection::injectAt(fault, nth, tree, aside);
        });
        if (!faultinjection::fired()) continue;
        ++tally.runs;
        const std::string& path = faultinjection::firedPath();
        const std::string where = std::string(action.name) + ", " +
                                  faultinjection::faultName(fault) + " at call " +
                                  std::to_string(nth) + " (" + faultinjection::firedCall() + " " +
                                  path + ")";
        const Outcome* gone = nullptr;
        if (fault == Fault::folderVanished) {
          const fs::path folder = fs::relative(fs::path(path).parent_path(), root);
          auto found = vanishedBefore.find(folder);
          if (found == vanishedBefore.end()) {
            found = vanishedBefore.emplace(folder, runWithout(action, folder)).first;
          }
          gone = &found->second;
        }
        check(where, intended, gone, faulted, tally);
      }
    }
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "fault campaign: %zu actions x %zu fault kinds = %d runs, one per file-system call; files "
      "lost %d, changed unintentionally %d, crashes %d, failures not told %d (%.1f s)\n",
      actions().size(), std::size(faultinjection::allFaults), tally.runs, tally.lost,
      tally.changed, tally.crashes, tally.untold, seconds);
}

}  // namespace
