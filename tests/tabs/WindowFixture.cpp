#include "tests/tabs/WindowFixture.h"

#include <algorithm>
#include <filesystem>

#include <fmt/format.h>

namespace fs = std::filesystem;

WindowTest::WindowTest() {
  // With a packs folder of its own the host holds no pack but the test's.
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

std::vector<std::string> WindowTest::shotFilesIn(const std::string& pack) const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(harness.packFolder(pack))) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".shot" || extension == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void WindowTest::showWindow() {
  harness.openWindow();
  ImGui::SetCurrentContext(ui().context());
  ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
  ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 800));
  ui().frame();
}

void WindowTest::openTab(const std::string& tab) {
  ASSERT_TRUE(harness.openTab(tab)) << "not shown: " << tab << "\n" << ui().describe();
  ui().frame();
}

void WindowTest::click(std::string_view text, int occurrence) {
  ASSERT_TRUE(ui().click(text, occurrence)) << "not shown: " << text << "\n" << ui().describe();
}

void WindowTest::clickAndExpect(std::string_view text, std::string_view shown, int occurrence) {
  click(text, occurrence);
  expectShown(shown);
}

void WindowTest::replaceText(std::string_view shownText, std::string_view typed, int occurrence,
                             bool commit) {
  click(shownText, occurrence);
  ui().pressKey(ImGuiKey_A, uidriver::Mods{.ctrl = true});
  ui().pressKey(ImGuiKey_Delete);
  ui().type(typed);
  if (commit) ui().pressKey(ImGuiKey_Enter);
}

void WindowTest::typeRefused(std::string_view shownText, std::string_view typed,
                             std::string_view message) {
  replaceText(shownText, typed);
  EXPECT_TRUE(shows(message)) << "typed: " << typed << "\n" << ui().describe();
  click("OK");
}

void WindowTest::confirm(std::string_view shown, std::string_view button) {
  click(button);
  EXPECT_TRUE(ui().waitUntilGone(shown)) << "still shown: " << shown << "\n" << ui().describe();
}

void WindowTest::clickFieldLabelled(std::string_view label) {
  auto shown = ui().find(label);
  ASSERT_FALSE(shown.empty()) << "not shown: " << label << "\n" << ui().describe();
  ui().clickAt(ImVec2(shown[0].min.x - 40, shown[0].center().y));
}

void WindowTest::expectShown(std::string_view text) {
  EXPECT_TRUE(ui().waitFor(text)) << "not shown: " << text << "\n" << ui().describe();
}

std::vector<std::string> WindowTest::displayedShotNames() {
  std::vector<std::string> names;
  for (const Shot& shot : harness.plugin().shots) names.push_back(shot.displayName());
  return names;
}

void WindowTest::clickRow(const std::vector<std::string>& names, const std::string& button,
                          const std::string& name) {
  auto found = std::find(names.begin(), names.end(), name);
  ASSERT_NE(found, names.end()) << name << " is not listed";
  click(button, static_cast<int>(found - names.begin()));
}

void WindowTest::clickShotRow(const std::string& button, const std::string& shotName) {
  clickRow(displayedShotNames(), button, shotName);
}

void WindowTest::clickPackRow(const std::string& button, const std::string& pack) {
  clickRow(plugin().trainingPacks, button, pack);
}
