#pragma once
// The plug-in's window driven as a player drives it (WindowHarness), made
// large enough that the shot editor needs no scrolling, with packs of shot
// files of known text laid down before the first frame, and the helpers the
// tests of the editor and the list tabs share.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/WindowHarness.h"

// The red messages every name field shows alike.
inline constexpr const char* emptyMessage = "Please Enter A Name";
inline constexpr const char* blankMessage = "A name needs more than spaces and underscores";
// The line every name popup shows.
inline constexpr const char* namePopup = "Enter a new name:";

class WindowTest : public ::testing::Test {
 protected:
  WindowTest();

  QMTraining& plugin() { return harness.plugin(); }
  uidriver::UiDriver& ui() { return harness.ui(); }

  // ---- files, before or after the first frame ----
  // A pack folder holding one shot file per name (values from shotLine).
  void addPack(const std::string& pack, const std::vector<std::string>& shotNames);
  void addShot(const std::string& pack, const std::string& name, const std::string& line);
  // A shot line with ball X `ballX` and everything else fixed.
  static std::string shotLine(const std::string& name, float ballX = 100);
  std::string shotFile(const std::string& pack, const std::string& name) const;
  bool shotFileExists(const std::string& pack, const std::string& name) const;
  // The ".shot" and ".txt" names in a pack folder, sorted.
  std::vector<std::string> shotFilesIn(const std::string& pack) const;
  int32_t packIndex(const std::string& pack);

  // ---- the window ----
  // The host shows the window; the first frames load the packs. The player
  // then drags it to the corner and makes it large.
  void showWindow();
  void openTab(const std::string& tab);
  // Clicks the `occurrence`-th shown `text`; fails the test when it is not
  // shown.
  void click(std::string_view text, int occurrence = 0);
  // Clicks the text field showing `shownText`, replaces its text with
  // `typed` and, with `commit`, presses Enter to leave it.
  void replaceText(std::string_view shownText, std::string_view typed, int occurrence = 0,
                   bool commit = true);
  // Types `typed` over the popup's name field showing `shownText`, expects
  // the red `message`, then presses "OK", which the message should refuse.
  void typeRefused(std::string_view shownText, std::string_view typed, std::string_view message);
  // Clicks the text field whose label `label` is drawn to its right (an
  // empty field shows no text of its own to click).
  void clickFieldLabelled(std::string_view label);
  // Clicks "OK" (or `button`) and expects the popup showing `shown` to close.
  void confirm(std::string_view shown = namePopup, std::string_view button = "OK");
  bool shows(std::string_view text) { return ui().shows(text); }
  // Draws frames until `text` shows; fails the test when it does not.
  void expectShown(std::string_view text);
  std::vector<std::string> displayedShotNames();
  // The row of the loaded shot with that display name (-1 when absent):
  // shots without a leading number have no fixed order.
  int rowOf(const std::string& shotName);
  // Clicks a button of the row of the shot or pack named so.
  void clickShotRow(const std::string& button, const std::string& shotName);
  void clickPackRow(const std::string& button, const std::string& pack);
  void selectPack(const std::string& pack);

  WindowHarness harness;
};
