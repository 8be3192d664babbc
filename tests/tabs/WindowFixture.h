#pragma once
// The plug-in's window driven as a player drives it (WindowHarness), large
// enough that the shot editor needs no scrolling, over packs of shot files
// laid down before the first frame. The verbs fail the test when what they
// act on is not shown.

#include <fmt/format.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/WindowHarness.h"

// The red lines every name field shows alike, and every name popup's line.
inline constexpr const char* emptyMessage = "Please Enter A Name";
inline constexpr const char* blankMessage = "A name needs more than spaces and underscores";
inline constexpr const char* namePopup = "Enter a new name:";

class WindowTest : public ::testing::Test {
 protected:
  // With a packs folder of its own the host holds no pack but the test's.
  WindowTest() { std::filesystem::create_directories(harness.dataFolder() + "/QMShots/TrainingPacks"); }

  QMTraining& plugin() { return harness.plugin(); }
  uidriver::UiDriver& ui() { return harness.ui(); }

  // A pack folder with one shot file per name; shot i has ball X 10 * i.
  void addPack(const std::string& pack, const std::vector<std::string>& shotNames) {
    std::filesystem::create_directories(harness.packFolder(pack));
    float x = 0;
    for (const std::string& name : shotNames) addShot(pack, name, shotLine(name, x += 10));
  }
  void addShot(const std::string& pack, const std::string& name, const std::string& line) {
    writeFile(harness.packFolder(pack) + "/" + name + ".shot", line);
  }
  static std::string shotLine(std::string name, float ballX = 100) {
    std::replace(name.begin(), name.end(), ' ', '_');
    return fmt::format("92.5 {} 3500 0 -2500 800 0 -4608 17 16384 {} 3200 0 0", ballX, name);
  }
  std::string shotFile(const std::string& pack, const std::string& name) const {
    return readFile(harness.packFolder(pack) + "/" + name + ".shot");
  }
  // The shot files' names in a pack folder, sorted.
  std::vector<std::string> shotFilesIn(const std::string& pack) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(harness.packFolder(pack))) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".shot" || extension == ".txt") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<std::string> displayedShotNames() {
    std::vector<std::string> names;
    for (const Shot& shot : plugin().shots) names.push_back(shot.displayName());
    return names;
  }

  // Shows the window, loading the packs, at the corner and large.
  void showWindow() {
    harness.openWindow();
    ImGui::SetCurrentContext(ui().context());
    ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
    ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 800));
    ui().frame();
  }
  void openTab(const std::string& tab) {
    ASSERT_TRUE(harness.openTab(tab)) << "not shown: " << tab << "\n" << ui().describe();
    ui().frame();
  }
  bool shows(std::string_view text) { return ui().shows(text); }
  // Draws frames until `text` shows.
  void expectShown(std::string_view text) {
    EXPECT_TRUE(ui().waitFor(text)) << "not shown: " << text << "\n" << ui().describe();
  }
  void click(std::string_view text, int occurrence = 0) {
    ASSERT_TRUE(ui().click(text, occurrence)) << "not shown: " << text << "\n" << ui().describe();
  }
  void clickAndExpect(std::string_view text, std::string_view shown, int occurrence = 0) {
    click(text, occurrence);
    expectShown(shown);
  }
  // Clicks `button` and expects the popup showing `shown` to close.
  void confirm(std::string_view shown = namePopup, std::string_view button = "OK") {
    click(button);
    EXPECT_TRUE(ui().waitUntilGone(shown)) << "still shown: " << shown << "\n" << ui().describe();
  }
  // Replaces the text of the field showing `shownText`; `commit` presses
  // Enter to leave it.
  void replaceText(std::string_view shownText, std::string_view typed, int occurrence = 0, bool commit = true) {
    click(shownText, occurrence);
    ui().pressKey(ImGuiKey_A, uidriver::Mods{.ctrl = true});
    ui().pressKey(ImGuiKey_Delete);
    ui().type(typed);
    if (commit) ui().pressKey(ImGuiKey_Enter);
  }
  // Types a name the popup must refuse with the red `message`, and presses
  // "OK" in vain.
  void typeRefused(std::string_view shownText, std::string_view typed, std::string_view message) {
    replaceText(shownText, typed);
    EXPECT_TRUE(shows(message)) << "typed: " << typed << "\n" << ui().describe();
    click("OK");
  }
  // Clicks the `button` of the row where `name` stands in `names`.
  void clickRow(const std::vector<std::string>& names, const std::string& button, const std::string& name) {
    auto found = std::find(names.begin(), names.end(), name);
    ASSERT_NE(found, names.end()) << name << " is not listed";
    click(button, static_cast<int>(found - names.begin()));
  }
  void clickShotRow(const std::string& button, const std::string& shot) {
    clickRow(displayedShotNames(), button, shot);
  }
  void clickPackRow(const std::string& button, const std::string& pack) {
    clickRow(plugin().trainingPacks, button, pack);
  }

  WindowHarness harness;
};
