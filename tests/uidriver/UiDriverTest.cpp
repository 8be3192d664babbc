// The UI driver against small real Dear ImGui windows: what it reads back
// must be what the window drew, and its actions must reach the widgets.

#include "uidriver/UiDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace {

using uidriver::ShownText;
using uidriver::UiDriver;

// One window at a fixed place, so positions are predictable.
void window(const char* name, const std::function<void()>& body) {
  ImGui::SetNextWindowPos(ImVec2(20, 20), ImGuiCond_Once);
  ImGui::SetNextWindowSize(ImVec2(400, 300), ImGuiCond_Once);
  if (ImGui::Begin(name)) body();
  ImGui::End();
}

TEST(UiDriverReading, ReadsWholeLabelsInDrawingOrderUpToClipRectangles) {
  UiDriver ui;
  ui.setDraw([&] {
    window("Reading", [&] {
      ImGui::TextUnformatted("Hello wide  world");
      ImGui::TextUnformatted("two\nlines");
      // A button narrower than its label clips the label on the CPU.
      ImGui::Button("A label far too long for it", ImVec2(60, 0));
      ImGui::BeginChild("list", ImVec2(0, 100), true);
      for (int i = 0; i < 40; ++i) ImGui::Text("Row %d", i);
      ImGui::EndChild();
    });
  });
  ui.frame();
  // "x,y  text" per text, in drawing order; each line of a text on its own,
  // each label only as far as it is drawn.
  EXPECT_THAT(ui.describe(), testing::StartsWith("42,23  Reading\n28,47  Hello wide  world\n28,64  two\n28,77  lines\n"
                                                 "32,97  A label\n36,125  Row 0\n"));
  const ShownText hello = ui.find("Hello wide  world").at(0);
  EXPECT_FLOAT_EQ(hello.max.y - hello.min.y, ImGui::GetFontSize());
  EXPECT_FALSE(ui.shows("Hello"));
  EXPECT_FALSE(ui.shows("Row 30"));
  EXPECT_THAT(ui.find("Row 0").at(0).window, testing::StartsWith("Reading/list"));
  ui.scrollAt(ui.find("Row 2").at(0).center(), -20);
  EXPECT_FALSE(ui.shows("Row 0"));
  EXPECT_TRUE(ui.shows("Row 39"));
}

TEST(UiDriverActing, ClicksTypesAndPressesKeysIntoTheWidgetsOncePerAction) {
  UiDriver ui;
  int presses = 0;
  char name[16] = "";
  bool committed = false;
  ui.setDraw([&] {
    window("Acting", [&] {
      if (ImGui::Button("Count")) ++presses;
      ImGui::InputTextWithHint("##name", "Type a name", name, sizeof name);
      if (ImGui::IsItemDeactivatedAfterEdit()) committed = true;
    });
  });
  ui.frame();
  EXPECT_TRUE(ui.click("Count"));
  EXPECT_TRUE(ui.click("Count"));
  EXPECT_EQ(presses, 2);
  const int before = ui.frameCount();
  EXPECT_FALSE(ui.click("Nowhere"));
  EXPECT_EQ(ui.frameCount(), before);

  EXPECT_FALSE(ui.type("dropped"));  // no field is active yet
  ASSERT_TRUE(ui.click("Type a name"));
  EXPECT_TRUE(ui.type("Ceiling shot"));
  EXPECT_TRUE(ui.shows("Ceiling shot"));
  ui.pressKey(ImGuiKey_Backspace);
  EXPECT_STREQ(name, "Ceiling sho");
  EXPECT_FALSE(committed);
  ui.pressKey(ImGuiKey_Enter);
  EXPECT_TRUE(committed);
  EXPECT_FALSE(ui.type("x"));  // Enter left the field
  EXPECT_STREQ(name, "Ceiling sho");
}

TEST(UiDriverWaiting, WaitsAFrameCountNeverLonger) {
  UiDriver ui;
  int frames = 0;
  ui.setDraw([&] {
    ++frames;
    window("Waiting", [&] {
      if (frames >= 5) ImGui::TextUnformatted("Ready");
    });
  });
  EXPECT_FALSE(ui.waitFor("Ready", 3));
  EXPECT_EQ(frames, 3);
  EXPECT_TRUE(ui.waitFor("Ready", 3));
  EXPECT_EQ(frames, 5);
  EXPECT_TRUE(ui.waitFor("Ready", 3));
  EXPECT_EQ(frames, 5);
  EXPECT_FALSE(ui.waitUntilGone("Ready", 4));
  EXPECT_EQ(frames, 9);
}

}  // namespace
