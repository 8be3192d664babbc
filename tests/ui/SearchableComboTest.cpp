// The searchable combo box: its filtering rule, and the widget driven as a
// player drives it.

#include "ui/SearchableCombo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "binds/KeyNames.h"
#include "tests/ui/ComboEntries.h"
#include "uidriver/UiDriver.h"

namespace {

using testing::ElementsAre;
using uidriver::UiDriver;

TEST(ComboFilter, MatchesAContiguousPieceIgnoringTheCaseOfLetters) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"tShi", "LeftShift", true}, {"lft", "LeftShift", false}, {"", "", true}, {"a", "", false},
      {"\xC3\x84", "\xC3\xA4", false},  // only A to Z fold
  };
  for (const auto& [filter, item, matches] : cases) {
    EXPECT_EQ(comboFilterMatches(filter, item), matches) << filter << " in " << item;
  }
}

// One combo of the keyboard's key names in a window; `picks` counts the
// times it reported a change.
class SearchableComboTest : public testing::Test {
 protected:
  SearchableComboTest() {
    ui.setDraw([this] {
      ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_Once);
      ImGui::SetNextWindowSize(ImVec2(500, 300), ImGuiCond_Once);
      ImGui::Begin("Keys");
      if (searchableCombo("##keyboardKeybind", index, items, "none", "Type to search...", 20)) ++picks;
      ImGui::End();
    });
  }

  // Draws the combo, then opens its list by clicking the preview.
  void open() {
    ui.frames(2);
    ASSERT_TRUE(ui.click(preview())) << ui.describe();
    ASSERT_TRUE(ui.waitFor("Type to search...")) << ui.describe();
  }
  std::string preview() { return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : "none"; }
  std::vector<std::string> listed() { return comboEntries(ui); }

  UiDriver ui;
  std::vector<std::string> items = keyboardKeyTable();
  int32_t index = 0;
  int picks = 0;
};

TEST_F(SearchableComboTest, APickFromTheTypedShortListSetsTheIndex) {
  open();
  EXPECT_THAT(listed(), testing::SizeIs(20));  // twenty entries fit; the rest scroll
  EXPECT_EQ(listed().front(), "A");
  ui.type("shift");
  EXPECT_THAT(listed(), ElementsAre("LeftShift", "RightShift"));
  EXPECT_TRUE(ui.shows("shift"));
  EXPECT_EQ(picks, 0);
  ASSERT_TRUE(ui.click("RightShift"));
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(items[static_cast<size_t>(index)], "RightShift");
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(ui.shows("RightShift"));

  // Opened again, the filter starts empty; the current entry, picked
  // again, still counts.
  open();
  EXPECT_FALSE(ui.shows("shift"));
  ASSERT_THAT(listed(), testing::Contains("RightShift"));
  ASSERT_TRUE(ui.click("RightShift"));
  EXPECT_EQ(picks, 2);
  EXPECT_EQ(items[static_cast<size_t>(index)], "RightShift");
}

TEST_F(SearchableComboTest, NoMatchLeavesOnlyADisabledNoMapsFound) {
  index = static_cast<int32_t>(items.size());  // one past the end reads as the first
  open();
  ui.type("SHIFTX");
  EXPECT_THAT(listed(), ElementsAre("No maps found"));
  // The stand-in entry picks nothing, and the typed text survives the click.
  ASSERT_TRUE(ui.click("No maps found"));
  EXPECT_EQ(picks, 0);
  EXPECT_EQ(index, 0);
  ui.pressKey(ImGuiKey_Backspace);
  EXPECT_THAT(listed(), ElementsAre("LeftShift", "RightShift"));
}

TEST_F(SearchableComboTest, TheOpenListHoldsTheKeyboardUntilAClickOutsideClosesIt) {
  ui.frames(2);
  EXPECT_FALSE(ImGui::GetIO().WantCaptureKeyboard);
  open();
  // The open list takes the keyboard, even with the mouse away from it.
  ui.hoverAt(ImVec2(490, 290));
  EXPECT_TRUE(ImGui::GetIO().WantCaptureKeyboard);
  ui.clickAt(ImVec2(490, 290));
  ui.frame();
  EXPECT_FALSE(ImGui::GetIO().WantCaptureKeyboard);
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(ui.shows("A"));
  EXPECT_EQ(picks, 0);
}

TEST_F(SearchableComboTest, AComboOutOfViewReportsNoPick) {
  ui.setDraw([this] {
    ImGui::SetNextWindowSize(ImVec2(500, 300), ImGuiCond_Once);
    ImGui::Begin("Keys");
    ImGui::Dummy(ImVec2(10, 1000));  // pushes the combo below the window's edge
    if (searchableCombo("##keyboardKeybind", index, items, "none", "Type to search...", 20)) ++picks;
    ImGui::End();
  });
  ui.frames(3);
  EXPECT_FALSE(ui.shows("A"));
  EXPECT_EQ(picks, 0);
}

TEST_F(SearchableComboTest, TwoCombosKeepSeparateFilters) {
  std::vector<std::string> numbers = {"One", "Two", "Three"};
  int32_t number = 0;
  items = {"Alpha", "Beta", "Gamma"};
  ui.setDraw([&] {
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_Once);
    ImGui::SetNextWindowSize(ImVec2(500, 300), ImGuiCond_Once);
    ImGui::Begin("Pair");
    searchableCombo("##letters", index, items, "", "Type to search...", 20);
    searchableCombo("##numbers", number, numbers, "", "Type to search...", 20);
    ImGui::End();
  });
  open();
  ui.type("t");
  EXPECT_THAT(listed(), ElementsAre("Beta"));
  ui.clickAt(ImVec2(490, 290));  // beside the list, which lies over the second combo
  EXPECT_TRUE(ui.waitUntilGone("Beta"));
  ASSERT_TRUE(ui.click("One"));
  ASSERT_TRUE(ui.waitFor("Three"));
  EXPECT_THAT(listed(), ElementsAre("One", "Two", "Three"));
  ui.type("w");
  EXPECT_THAT(listed(), ElementsAre("Two"));
  EXPECT_EQ(index, 0);
}

}  // namespace
