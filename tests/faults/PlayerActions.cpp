#include "tests/faults/PlayerActions.h"

#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <sstream>

#include "storage/PackText.h"
#include "ui/WindowParts.h"
#include "ui/WindowState.h"

namespace playeractions {

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

Player::Player() {
  const std::string packs = h.dataFolder() + "/QMShots/TrainingPacks";
  writeFile(h.dataFolder() + "/QMShots/Shots1.txt", "5 0 0 0 0 0 0 0 17 0 Old 3000 0 0");
  writeFile(packs + "/P/1 Alpha.shot", "92.5 10 3500 0 -2500 800 0 -4608 17 1 1_Alpha 3200 0 0");
  writeFile(packs + "/P/2 Beta.shot", "92.5 20 3500 0 -2500 800 0 -4608 17 2 2_Beta 3200 0 0");
  writeFile(packs + "/P/Shots3.txt", "3 0 0 0 0 0 0 0 17 0 Wall 3000 0 0");
  writeFile(packs + "/Q/X.shot", "7 0 0 0 0 0 0 0 17 0 X 3100 0 0");
  writeFile(h.host().cfgDir() / "QMTraining.cfg", "bind XboxTypeS_A \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
}

void Player::openWindow() {
  h.openWindow();
  ImGui::SetCurrentContext(ui().context());
  ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
  ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 800));
  ui().frame();
}

Player& Player::click(std::string_view text, int occurrence) {
  if (!ui().click(text, occurrence)) ADD_FAILURE() << "not shown: " << text << "\n" << ui().describe();
  return *this;
}

Player& Player::packRow(const char* button, const std::string& name) {
  const std::vector<std::string>& packs = plugin().trainingPacks;
  return click(button, static_cast<int>(std::find(packs.begin(), packs.end(), name) - packs.begin()));
}

Player& Player::shotRow(const char* button, const std::string& name) {
  const std::vector<Shot>& shots = plugin().shots;
  const auto shown = [&](const Shot& shot) { return shot.displayName() == name; };
  return click(button, static_cast<int>(std::find_if(shots.begin(), shots.end(), shown) - shots.begin()));
}

std::set<std::string> Player::redTexts() {
  const ImU32 red = ImGui::ColorConvertFloat4ToU32(windowparts::messageRed);
  std::set<std::string> texts;
  for (const uidriver::ShownText& shown : ui().shown()) {
    if (shown.color == red) texts.insert(shown.text);
  }
  return texts;
}

std::string Player::memory() {
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
      {"export pack command", packsTab, nullptr, nullptr, "ExportPack P"},
      {"import pack command", packsTab,
       [](Player& p) {
         writeFile(p.h.dataFolder() + "/QMShots/Shared.qmpack",
                   encodePackText("Shared", {"1 2 3 0 0 0 0 0 17 0 Lob 3000 0 0", "4 5 6 0 0 0 0 0 17 0 Chip 3000 0 0"}));
       },
       nullptr, "ImportPack Shared.qmpack"},
      {"results written at a pack switch", packsTab,
       [](Player& p) {
         p.plugin().packResults["1 Alpha.shot"].record(false, 1);
         p.plugin().resultsChanged = true;
       },
       "Q"},
      {"capture shot command", "Shots",
       [](Player& p) {
         p.h.startLocalMatch();
         p.h.advance(0.5);
       },
       nullptr, "CaptureShot 0 Caught"},
      {"undo a pack delete", packsTab, [](Player& p) { p.packRow("Delete", "Q").click("OK"); }, "Undo"},
      {"restore from the trash", packsTab,
       [](Player& p) { p.packRow("Delete", "Q").click("OK").click("Trash"); }, "Restore"},
      {"restore last command", "Shots", [](Player& p) { p.shotRow("Delete", "2 Beta").click("OK"); }, nullptr,
       "RestoreLast"},
      {"empty trash", packsTab,
       [](Player& p) { p.packRow("Delete", "Q").click("OK").click("Trash").click("Empty Trash"); }, "OK"},
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

void prepare(Player& player, const Action& action) {
  if (action.tab) {
    player.openWindow();
    player.click(action.tab).ui().frame();
  }
  if (action.prepare) action.prepare(player);
  player.ui().frame();
}

void perform(Player& player, const Action& action) {
  if (action.command) {
    player.h.console(action.command);
  } else if (action.click) {
    player.click(action.click);
  } else {
    player.openWindow();
  }
}

}  // namespace playeractions
