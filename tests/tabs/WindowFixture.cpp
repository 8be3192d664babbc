#include "tests/tabs/WindowFixture.h"

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

namespace fs = std::filesystem;

WindowTest::WindowTest() {
  plugin().AdoptGuiContext(reinterpret_cast<uintptr_t>(ui_.context()));
  ui_.setDraw([this] {
    plugin().Render();
    // The player drags the window to the corner and makes it large enough
    // that the editor needs no scrolling; it takes effect from the next
    // frame.
    ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
    ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 1000));
  });
  // Work the window hands to the game thread runs between frames.
  ui_.setBeforeFrame([this] { harness.advance(1.0 / 60.0); });
  fs::create_directories(harness.dataFolder() + "/QMShots/TrainingPacks");
}

void WindowTest::addPack(const std::string& pack, const std::vector<std::string>& shotNames) {
  fs::create_directories(harness.packFolder(pack));
  float x = 0;
  for (const std::string& name : shotNames) addShot(pack, name, shotLine(name, x += 10));
}

void WindowTest::addShot(const std::string& pack, const std::string& name,
                         const std::string& line) {
  writeFile(harness.packFolder(pack) + "/" + name + ".shot", line);
}

std::string WindowTest::shotLine(const std::string& name, float ballX) {
  std::string token = name;
  std::replace(token.begin(), token.end(), ' ', '_');
  return fmt::format("92.5 {} 3500 0 -2500 800 0 -4608 17 16384 {} 3200 0 0", ballX, token);
}

std::string WindowTest::shotFile(const std::string& pack, const std::string& name) const {
  return readFile(harness.packFolder(pack) + "/" + name + ".shot");
}

bool WindowTest::shotFileExists(const std::string& pack, const std::string& name) const {
  return fs::exists(harness.packFolder(pack) + "/" + name + ".shot");
}

std::vector<std::string> WindowTest::shotFilesIn(const std::string& pack) const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(harness.packFolder(pack))) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".shot" || extension == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

int32_t WindowTest::packIndex(const std::string& pack) {
  const std::vector<std::string>& packs = harness.plugin().trainingPacks;
  auto found = std::find(packs.begin(), packs.end(), pack);
  return found == packs.end() ? -1 : static_cast<int32_t>(found - packs.begin());
}

void WindowTest::showWindow() {
  plugin().WindowOpened();
  ui_.frames(3);
}

void WindowTest::openTab(const std::string& tab) {
  click(tab);
  ui_.frame();
}

void WindowTest::click(std::string_view text, int occurrence) {
  ASSERT_TRUE(ui_.click(text, occurrence)) << "not shown: " << text << "\n" << ui_.describe();
}

void WindowTest::replaceText(std::string_view shownText, std::string_view typed, int occurrence,
                             bool commit) {
  click(shownText, occurrence);
  ui_.pressKey(ImGuiKey_A, uidriver::Mods{.ctrl = true});
  ui_.pressKey(ImGuiKey_Delete);
  ui_.type(typed);
  if (commit) ui_.pressKey(ImGuiKey_Enter);
}

void WindowTest::clickFieldLabelled(std::string_view label) {
  auto shown = ui_.find(label);
  ASSERT_FALSE(shown.empty()) << "not shown: " << label << "\n" << ui_.describe();
  ui_.clickAt(ImVec2(shown[0].min.x - 40, shown[0].center().y));
}

void WindowTest::expectShown(std::string_view text) {
  EXPECT_TRUE(ui_.waitFor(text)) << "not shown: " << text << "\n" << ui_.describe();
}

std::vector<std::string> WindowTest::displayedShotNames() {
  std::vector<std::string> names;
  for (const Shot& shot : harness.plugin().shots) names.push_back(shot.displayName());
  return names;
}

void WindowTest::selectPack(const std::string& pack) {
  openTab("Training Packs");
  click(pack);
}

int WindowTest::rowOf(const std::string& shotName) {
  std::vector<std::string> names = displayedShotNames();
  auto found = std::find(names.begin(), names.end(), shotName);
  return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

void WindowTest::clickShotRow(const std::string& button, const std::string& shotName) {
  const int row = rowOf(shotName);
  ASSERT_GE(row, 0) << shotName << " is not loaded";
  click(button, row);
}

void WindowTest::clickPackRow(const std::string& button, const std::string& pack) {
  const int row = packIndex(pack);
  ASSERT_GE(row, 0) << pack << " is not listed";
  click(button, row);
}
