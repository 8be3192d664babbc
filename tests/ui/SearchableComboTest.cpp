// The searchable combo box: its filtering rule on its own, and the widget in
// a real Dear ImGui window driven as a player would drive it.

#include "ui/SearchableCombo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "binds/KeyNames.h"
#include "uidriver/UiDriver.h"

namespace {

using uidriver::UiDriver;

TEST(ComboFilter, MatchesAContiguousPieceIgnoringTheCaseOfLetters) {
  EXPECT_TRUE(comboFilterMatches("shift", "LeftShift"));
  EXPECT_TRUE(comboFilterMatches("SHIFT", "RightShift"));
  EXPECT_TRUE(comboFilterMatches("tShi", "LeftShift"));
  EXPECT_FALSE(comboFilterMatches("tfihs", "LeftShift"));
  EXPECT_FALSE(comboFilterMatches("lft", "LeftShift"));
  EXPECT_TRUE(comboFilterMatches("", ""));
  EXPECT_TRUE(comboFilterMatches("", "A"));
  EXPECT_FALSE(comboFilterMatches("LeftShiftX", "LeftShift"));
  EXPECT_TRUE(comboFilterMatches("LeftShift", "LeftShift"));
  EXPECT_FALSE(comboFilterMatches("a", ""));
  // Only A to Z fold: other characters must match as they are.
  EXPECT_TRUE(comboFilterMatches("pad_u", "DPad_Up"));
  EXPECT_FALSE(comboFilterMatches("\xC3\x84", "\xC3\xA4"));
}

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

  // Opens the list by clicking the preview and waits for its entries.
  void open() {
    ASSERT_TRUE(ui.click(preview())) << ui.describe();
    ASSERT_TRUE(ui.waitFor("Type to search...")) << ui.describe();
  }
  std::string preview() { return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : "none"; }
  // Entries shown in the open list (the window drawn in front).
  std::vector<std::string> listed() {
    std::vector<std::string> out;
    for (const auto& s : ui.shown()) {
      if (s.window.rfind("##Combo_", 0) == 0) out.push_back(s.text);
    }
    return out;
  }

  UiDriver ui;
  std::vector<std::string> items = keyboardKeyTable();
  int32_t index = 0;
  int picks = 0;
};

TEST_F(SearchableComboTest, AnIndexPastTheEndIsResetToZeroAndWrittenBack) {
  index = static_cast<int32_t>(items.size());
  ui.frame();
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(ui.shows("A"));
  index = -1;
  ui.frame();
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(ui.shows("none"));
}

TEST_F(SearchableComboTest, TypingNarrowsTheListAndAPickSetsTheIndex) {
  ui.frames(2);
  open();
  // Twenty entries fit; the rest scroll.
  EXPECT_THAT(listed(), testing::SizeIs(20));
  EXPECT_EQ(listed().front(), "A");
  EXPECT_TRUE(ui.shows("Type to search..."));
  ui.type("shift");
  EXPECT_THAT(listed(), testing::ElementsAre("LeftShift", "RightShift"));
  EXPECT_TRUE(ui.shows("shift"));
  EXPECT_EQ(picks, 0);
  ASSERT_TRUE(ui.click("RightShift"));
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(items[static_cast<size_t>(index)], "RightShift");
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(ui.shows("RightShift"));

  // Opened again, the filter starts empty and the list shows the current
  // entry.
  open();
  EXPECT_FALSE(ui.shows("shift"));
  EXPECT_THAT(listed(), testing::Contains("RightShift"));
  EXPECT_GE(listed().size(), 20u);
}

TEST_F(SearchableComboTest, NoMatchLeavesOnlyADisabledNoMapsFound) {
  ui.frames(2);
  open();
  ui.type("TFIHS");
  EXPECT_THAT(listed(), testing::ElementsAre("No maps found"));
  ui.pressKey(ImGuiKey_Backspace);
  ui.pressKey(ImGuiKey_Backspace);
  ui.pressKey(ImGuiKey_Backspace);
  ui.pressKey(ImGuiKey_Backspace);
  ui.type("SHIFTX");
  EXPECT_THAT(listed(), testing::ElementsAre("No maps found"));
  // The stand-in entry picks nothing, and the typed text survives the click.
  ASSERT_TRUE(ui.click("No maps found"));
  EXPECT_EQ(picks, 0);
  EXPECT_EQ(index, 0);
  ui.pressKey(ImGuiKey_Backspace);
  EXPECT_THAT(listed(), testing::ElementsAre("LeftShift", "RightShift"));
}

TEST_F(SearchableComboTest, PickingTheCurrentEntryStillCounts) {
  index = 42;
  ui.frames(2);
  open();
  ui.type("back");
  ASSERT_THAT(listed(), testing::ElementsAre("Backslash", "BackSpace"));
  ASSERT_TRUE(ui.click("BackSpace"));
  EXPECT_EQ(picks, 1);
  EXPECT_EQ(index, 42);
}

TEST_F(SearchableComboTest, TheFilterTakesAtMost63Characters) {
  ui.frames(2);
  open();
  // No key name holds an "x": after the 63 typed ones are erased, a 64th
  // would still hide every entry.
  ui.type(std::string(64, 'x'));
  EXPECT_THAT(listed(), testing::ElementsAre("No maps found"));
  for (int i = 0; i < 63; ++i) ui.pressKey(ImGuiKey_Backspace);
  EXPECT_THAT(listed(), testing::SizeIs(20));
}

TEST_F(SearchableComboTest, AnEmptyListShowsThePreviewAndOnlyNoMapsFound) {
  items.clear();
  index = 3;
  ui.frames(2);
  EXPECT_EQ(index, 0);
  EXPECT_TRUE(ui.shows("none"));
  open();
  EXPECT_THAT(listed(), testing::ElementsAre("No maps found"));
}

TEST_F(SearchableComboTest, TheOpenListTakesTheKeyboardFromTheHost) {
  ui.frames(2);
  EXPECT_FALSE(ImGui::GetIO().WantCaptureKeyboard);
  open();
  ui.hoverAt(ImVec2(490, 290));  // away from the list, so only the field can be the reason
  EXPECT_TRUE(ImGui::GetIO().WantCaptureKeyboard);
  ui.clickAt(ImVec2(490, 290));
  ui.frame();
  EXPECT_FALSE(ImGui::GetIO().WantCaptureKeyboard);
}

TEST(SearchableComboPair, EachComboStartsWithAnEmptyFilter) {
  UiDriver ui;
  std::vector<std::string> letters = {"Alpha", "Beta", "Gamma"};
  std::vector<std::string> numbers = {"One", "Two", "Three"};
  int32_t letter = 0;
  int32_t number = 0;
  ui.setDraw([&] {
    ImGui::SetNextWindowPos(ImVec2(10, 10), ImGuiCond_Once);
    ImGui::SetNextWindowSize(ImVec2(500, 300), ImGuiCond_Once);
    ImGui::Begin("Pair");
    searchableCombo("##letters", letter, letters, "", "Type to search...", 20);
    searchableCombo("##numbers", number, numbers, "", "Type to search...", 20);
    ImGui::End();
  });
  ui.frames(2);
  ASSERT_TRUE(ui.click("Alpha"));
  ASSERT_TRUE(ui.waitFor("Gamma"));
  ui.type("t");
  EXPECT_FALSE(ui.shows("Gamma"));
  // The open list lies over the second combo: a click beside it closes it.
  ui.clickAt(ImVec2(490, 290));
  EXPECT_TRUE(ui.waitUntilGone("Beta"));
  ASSERT_TRUE(ui.click("One"));
  ASSERT_TRUE(ui.waitFor("Three"));
  EXPECT_TRUE(ui.shows("One"));
  EXPECT_TRUE(ui.shows("Two"));
  ui.type("w");
  EXPECT_TRUE(ui.shows("Two"));
  EXPECT_FALSE(ui.shows("Three"));
  EXPECT_EQ(letter, 0);
  EXPECT_EQ(number, 0);
}

TEST_F(SearchableComboTest, AClickOutsideClosesTheListWithoutAPick) {
  ui.frames(2);
  open();
  ui.type("num");
  ui.clickAt(ImVec2(400, 250));
  EXPECT_TRUE(listed().empty());
  EXPECT_TRUE(ui.shows("A"));
  EXPECT_EQ(picks, 0);
}

}  // namespace
