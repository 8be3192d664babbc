#pragma once
// The plug-in's window driven as a player drives it (WindowHarness), large
// enough that the shot editor needs no scrolling, over packs of shot files
// laid down before the first frame.

#include <gtest/gtest.h>

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
  WindowTest();

  QMTraining& plugin() { return harness.plugin(); }
  uidriver::UiDriver& ui() { return harness.ui(); }

  // A pack folder with one shot file per name; shot i has ball X 10 * i.
  void addPack(const std::string& pack, const std::vector<std::string>& shotNames);
  void addShot(const std::string& pack, const std::string& name, const std::string& line);
  static std::string shotLine(const std::string& name, float ballX = 100);
  std::string shotFile(const std::string& pack, const std::string& name) const;
  // The shot files' names in a pack folder, sorted.
  std::vector<std::string> shotFilesIn(const std::string& pack) const;

  // Shows the window, loading the packs, at the corner and large.
  void showWindow();
  void openTab(const std::string& tab);
  // These fail the test when what they act on is not shown.
  void click(std::string_view text, int occurrence = 0);
  // Clicks, then draws frames until `shown` shows.
  void clickAndExpect(std::string_view text, std::string_view shown, int occurrence = 0);
  // Replaces the text of the field showing `shownText`; `commit` presses
  // Enter to leave it.
  void replaceText(std::string_view shownText, std::string_view typed, int occurrence = 0,
                   bool commit = true);
  // Types a name the popup must refuse with the red `message`, and presses
  // "OK" in vain.
  void typeRefused(std::string_view shownText, std::string_view typed, std::string_view message);
  // Clicks the empty field left of `label`.
  void clickFieldLabelled(std::string_view label);
  // Clicks `button` and expects the popup showing `shown` to close.
  void confirm(std::string_view shown = namePopup, std::string_view button = "OK");
  bool shows(std::string_view text) { return ui().shows(text); }
  void expectShown(std::string_view text);
  std::vector<std::string> displayedShotNames();
  // Clicks a button of the row of the shot or pack named so.
  void clickShotRow(const std::string& button, const std::string& shotName);
  void clickPackRow(const std::string& button, const std::string& pack);
  void clickRow(const std::vector<std::string>& names, const std::string& button, const std::string& name);

  WindowHarness harness;
};
