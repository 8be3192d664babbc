// The sandbox window on SDL's offscreen driver: keys reach the binds by engine
// name, the clipboard is the desktop's; and the window mode as CI runs it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <regex>
#include <string>

#include "binds/KeyNames.h"
#include "sandbox/ConsoleLog.h"
#include "sandbox/WindowHost.h"
#include "tests/support/SandboxFixture.h"
#include "tests/support/WindowHarness.h"

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

class SandboxWindow : public ::testing::Test {
 protected:
  SandboxWindow() : console_(nullptr), sandbox_(dir_.path() / "host", console_), window_(sandbox_, console_) {}

  void SetUp() override {
    ASSERT_TRUE(sandbox_.loadPlugin(QM_PLUGIN_PATH));
    ASSERT_TRUE(window_.open(WindowHost::Display::Offscreen, 800, 600)) << window_.error();
  }
  void TearDown() override {
    sandbox_.shutdown();
    window_.close();
  }

  void run(const std::string& line) { sandbox_.runLine(line); }
  std::string cvar(const std::string& name) { return sandbox_.host().findCvar(name)->value; }

  TempDir dir_;
  ConsoleLog console_;
  Sandbox sandbox_;
  WindowHost window_;
};

TEST_F(SandboxWindow, EveryTableKeySentThroughTheWindowRunsItsBind) {
  std::vector<std::string> names = keyboardKeyTable();
  for (const std::string& name : controllerKeyTable()) names.push_back(name);
  for (const std::string& name : names) {
    run("quellmark_enabled 0");
    sandbox_.host().execute("bind " + name + " \"quellmark_enabled 1\"");
    run("key " + name);
    EXPECT_EQ(cvar("quellmark_enabled"), "1") << name;
    sandbox_.host().execute("unbind " + name);
  }
  // A key without a bind, or without a name, does nothing.
  run("quellmark_enabled 0");
  sandbox_.host().execute("bind BackSpace \"quellmark_enabled 1\"");
  run("key SpaceBar");
  EXPECT_EQ(cvar("quellmark_enabled"), "0");
  run("key F13");
  EXPECT_THAT(console_.lines(), Contains("F13 is no key the window knows"));
}

TEST_F(SandboxWindow, AKeyPressedWithTheMouseOverThePluginsWindowIsTheWindowsNotABinds) {
  run("window open");  // its first frame binds the plug-in's keys
  run("frames 2");
  sandbox_.host().execute("bind BackSpace \"quellmark_enabled 1\"");
  for (const auto& [point, bindRuns] : {std::pair{"mouse 300 200", false}, {"mouse 2 100", true}}) {
    run("quellmark_enabled 0");
    run(point);
    run("key BackSpace");
    EXPECT_EQ(cvar("quellmark_enabled"), bindRuns ? "1" : "0") << point;
  }
}

TEST_F(SandboxWindow, ThePluginWindowsClipboardIsTheDesktops) {
  // The plug-in's clipboard buttons go through Dear ImGui's clipboard in the
  // window's context, which the SDL backend hands to SDL's.
  ImGui::SetClipboardText("QMPACK 1 Pack");
  char* desktop = SDL_GetClipboardText();
  EXPECT_STREQ(desktop, "QMPACK 1 Pack");
  SDL_free(desktop);
  SDL_SetClipboardText("pasted");
  EXPECT_STREQ(ImGui::GetClipboardText(), "pasted");
}

TEST(SandboxProgram, SaysWhyWhenAskedForAWindowWithNoDisplay) {
  TempDir dir;
  const auto [status, output] = runCommand(std::string("env -u DISPLAY -u WAYLAND_DISPLAY '") + QM_SANDBOX_PATH +
                                           "' --window --host-dir '" + dir.str("host") + "' 'show server'");
  EXPECT_NE(status, 0);
  EXPECT_THAT(output, HasSubstr("Could not open the window: no display"));
}

// The number after the first `lead` in `text`; -1 when there is none.
double numberAfter(const std::string& text, const std::string& lead) {
  std::smatch match;
  if (!std::regex_search(text, match, std::regex(lead + "(-?[0-9]+)"))) return -1;
  return std::stod(match[1]);
}

TEST(SandboxProgram, TheBallFliesAsHighInTheHeadlessWindowAsTheEditorForetold) {
  // The editor's preview of a stored lob...
  WindowHarness editor;
  editor.addShot("Pack", "Lob");
  editor.openWindow();
  ASSERT_TRUE(editor.openTab("Shots"));
  editor.ui().frame();
  ASSERT_TRUE(editor.ui().click("Edit"));
  ASSERT_TRUE(editor.ui().waitFor("Currently editing shot: Lob"));
  const auto apexShown = editor.ui().findContaining("Apex: ");
  ASSERT_FALSE(apexShown.empty()) << editor.ui().describe();
  const double apex = numberAfter(apexShown[0].text, "Apex: ");

  // ...and the same shot played in the sandbox's window, on the same files:
  // placed, launched 0.2 s later, then watched for the three seconds foretold.
  TempDir dir;
  const std::string png = dir.str("shot.png");
  writeFile(dir.path() / "lob.script",
            "quellmark_enabled 1\nmatch local\nwindow open\nframes 1\nwindow close\nshotNumber1 0\nLoadShot\n"
            "controlInput\nadvance 3.2\narena\nscreenshot " + png + "\n");
  const auto [status, output] = runSandboxProgram("--headless-window --host-dir '" + editor.dir().str() +
                                                  "' --script '" + dir.str("lob.script") + "'");
  ASSERT_EQ(status, 0) << output;
  const double highest = numberAfter(output, "highest ");
  EXPECT_GT(apex, 500);  // a lob, well off the floor
  EXPECT_NEAR(highest, apex, 0.02 * apex) << output;

  // The console panel's lines are printed too, as in a console run; the
  // screenshot is of the whole window (its PNG header's width and height).
  EXPECT_THAT(output, HasSubstr("Screenshot written to " + png));
  EXPECT_EQ(readFile(png).substr(12, 12), std::string("IHDR\0\0\x05\xa0\0\0\x03\x84", 12));
}

}  // namespace
