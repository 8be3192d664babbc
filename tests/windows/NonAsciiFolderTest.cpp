// A host folder, packs and shots named in any script, and files from Windows
// editors: everything a player does lands where it should, on Linux and on
// Windows (under Wine). The cases only Windows has are skipped elsewhere.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "sandbox/PluginLoader.h"
#include "platform/Utf8Path.h"
#include "tests/support/WindowHarness.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::UnorderedElementsAre;

constexpr const char* bindFile =
    "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n";

class NonAsciiHostFolder : public testing::TestWithParam<const char*> {
 protected:
  NonAsciiHostFolder() : harness(GetParam()) {}

  // Paths as the plug-in holds them: UTF-8 text with "/".
  std::string packs() { return plugin().dataFolderPath() + "/QMShots/TrainingPacks"; }
  std::string shotFile(const std::string& pack, const std::string& shot) {
    return packs() + "/" + pack + "/" + shot + ".shot";
  }
  static bool exists(const std::string& path) { return fs::exists(pathFromUtf8(path)); }
  static std::string read(const std::string& path) { return readFile(pathFromUtf8(path)); }
  static void write(const std::string& path, const std::string& text) {
    writeFile(pathFromUtf8(path), text);
  }
  fs::path bindFilePath() { return harness.host().cfgDir() / "QMTraining.cfg"; }

  // The first frames (start-up work), with the window large enough for the
  // shot editor.
  void showWindow() {
    harness.openWindow();
    ImGui::SetCurrentContext(harness.ui().context());
    ImGui::SetWindowPos(plugin().menuTitle.c_str(), ImVec2(0, 0));
    ImGui::SetWindowSize(plugin().menuTitle.c_str(), ImVec2(1280, 800));
    harness.ui().frame();
  }
  void click(std::string_view text) {
    ASSERT_TRUE(harness.ui().click(text)) << text << "\n" << harness.ui().describe();
  }
  std::vector<std::string> shotNames() {
    std::vector<std::string> names;
    for (const Shot& shot : plugin().shots) names.push_back(shot.displayName());
    return names;
  }
  QMTraining& plugin() { return harness.plugin(); }

  WindowHarness harness;
};

INSTANTIATE_TEST_SUITE_P(Scripts, NonAsciiHostFolder,
                         testing::Values("Gwenaël", "Łukasz", "新建文件夹"));

TEST_P(NonAsciiHostFolder, TheFirstFrameSetsUpAFreshInstallationInTheFolder) {
  showWindow();
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Your Old Shots"));
  EXPECT_EQ(read(shotFile("Your Old Shots", "defaultShot")), "0 0 0 0 0 0 0 0 0 0 defaultShot 3000 0 0");
  EXPECT_THAT(shotNames(), ElementsAre("defaultShot"));
  // Written byte for byte (no CRLF on Windows) and executed by the host.
  EXPECT_EQ(readFile(bindFilePath()), bindFile);
  EXPECT_TRUE(harness.host().pressKey("BackSpace"));
}

TEST_P(NonAsciiHostFolder, OlderDataWithCrlfLineEndsIsTakenOver) {
  const std::string shots = plugin().dataFolderPath() + "/QMShots";
  write(shots + "/Shots1.txt", "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Zażółć_gęślą 3200 0 0\r\n");
  writeFile(bindFilePath(), "bind XboxTypeS_A \"controlInput\"\r\nbind SpaceBar \"controlInput\"\r\n");
  showWindow();

  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Your Old Shots"));
  EXPECT_FALSE(exists(shots + "/Shots1.txt"));
  EXPECT_THAT(shotNames(), ElementsAre("Zażółć gęślą"));
  EXPECT_EQ(read(shotFile("Your Old Shots", "Zażółć gęślą")),
            "92.5 -1200 3500 0 -2500 800 0 -4608 17 16384 Zażółć_gęślą 3200 0 0");
  EXPECT_EQ(plugin().controllerKeyIndex, 6);
  EXPECT_EQ(plugin().keyboardKeyIndex, 56);
  EXPECT_TRUE(harness.host().pressKey("SpaceBar"));
}

// The pack's shot file, ended with CRLF, is read as its line and not rewritten.
TEST_P(NonAsciiHostFolder, ACrlfShotFileIsReadAsItsLine) {
  write(shotFile("Łódź", "Świeca"), "300 -5 1000 10 -2000 400 500 -3000 17 90 Świeca 3500 12 -7\r\n");
  showWindow();
  ASSERT_THAT(shotNames(), ElementsAre("Świeca"));
  const Shot& shot = plugin().shots[0];
  EXPECT_EQ(std::tuple(shot.ballLocationX, shot.ballSpeed, shot.carRoll), std::tuple(-5.0f, 3500, -7));
  EXPECT_EQ(read(shotFile("Łódź", "Świeca")).back(), '\n');
}

TEST_P(NonAsciiHostFolder, TheEditorSavesANamedShotIntoItsPack) {
  write(shotFile("Łódź", "Świeca"), "0 1 0 0 0 0 0 0 0 0 Świeca 3000 0 0");
  showWindow();
  click("Shots");
  click("Create New Shot");
  click("Insert Shot Name Here");
  harness.ui().pressKey(ImGuiKey_A, uidriver::Mods{.ctrl = true});
  harness.ui().pressKey(ImGuiKey_Delete);
  harness.ui().type("新 射门");
  click("Save Shot");

  EXPECT_THAT(shotNames(), UnorderedElementsAre("Świeca", "新 射门"));
  EXPECT_EQ(read(shotFile("Łódź", "新 射门")), "0 0 0 0 0 0 0 0 0 0 新_射门 3000 0 0");
}

TEST_P(NonAsciiHostFolder, PackOperationsWorkOnNonAsciiNames) {
  write(shotFile("Gwenaël A", "Tir"), "0 1 0 0 0 0 0 0 0 0 Tir 3000 0 0");
  write(shotFile("新建 B", "Tir"), "0 2 0 0 0 0 0 0 0 0 Tir 3000 0 0");
  showWindow();
  ASSERT_THAT(plugin().trainingPacks, UnorderedElementsAre("Gwenaël A", "新建 B"));

  const int32_t index = plugin().trainingPacks[0] == "新建 B" ? 0 : 1;
  plugin().renameTrainingPack(index, "Łukasz C");
  EXPECT_TRUE(harness.logged("Training pack renamed successfully."));
  EXPECT_EQ(read(shotFile("Łukasz C", "Tir")), "0 2 0 0 0 0 0 0 0 0 Tir 3000 0 0");
  EXPECT_FALSE(exists(packs() + "/新建 B"));

  plugin().deleteTrainingPack(index);
  EXPECT_TRUE(harness.logged("TrainingPack removed"));
  EXPECT_FALSE(exists(packs() + "/Łukasz C"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Gwenaël A"));
}

TEST_P(NonAsciiHostFolder, HostPathsWithBackslashesBecomeSlashes) {
#ifndef _WIN32
  GTEST_SKIP() << "the host hands out Windows paths only on Windows";
#endif
  ASSERT_NE(utf8FromPath(harness.host().dataDir()).find('\\'), std::string::npos);
  showWindow();
  std::string expected = utf8FromPath(harness.host().dataDir());
  std::replace(expected.begin(), expected.end(), '\\', '/');
  EXPECT_EQ(plugin().dataFolderPath(), expected);
  ASSERT_EQ(plugin().shots.size(), 1u);
  EXPECT_EQ(plugin().shots[0].filePath, expected + "/QMShots/TrainingPacks/Your Old Shots/defaultShot.shot");
}

TEST_P(NonAsciiHostFolder, APackNameDifferingOnlyInCaseExists) {
#ifndef _WIN32
  GTEST_SKIP() << "only Windows ignores case in file names";
#endif
  write(shotFile("Gwenaël Pack", "Tir"), "0 1 0 0 0 0 0 0 0 0 Tir 3000 0 0");
  showWindow();
  plugin().createTrainingPack("gwenaël PACK");
  EXPECT_TRUE(harness.logged("Training Pack Exists"));
  EXPECT_THAT(plugin().trainingPacks, ElementsAre("Gwenaël Pack"));
}

TEST_P(NonAsciiHostFolder, ASaveToAFileLockedElsewhereReportsFailure) {
#ifndef _WIN32
  GTEST_SKIP() << "only Windows lets a program lock a file against others";
#else
  const std::string line = "0 1 0 0 0 0 0 0 0 0 Tir 3000 0 0";
  write(shotFile("Pack", "Tir"), line);
  showWindow();
  ASSERT_EQ(plugin().shots.size(), 1u);
  Shot shot = plugin().shots[0];
  HANDLE locked = CreateFileW(pathFromUtf8(shot.filePath).c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  const bool saved = shot.updateShot(1, 2, 3, 0, 0, 0, 0, 0, 17, 0, "Tir", 3000, 0, 0).ok();
  CloseHandle(locked);
  EXPECT_FALSE(saved);
  EXPECT_EQ(read(shot.filePath), line);
#endif
}

TEST(WindowsLibrary, StartsAsTheHostStartsIt) {
#ifndef _WIN32
  GTEST_SKIP() << "entry_tests load the Linux library";
#else
  wchar_t self[MAX_PATH];
  ASSERT_NE(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  PluginLoader loader;
  ASSERT_TRUE(loader.open(utf8FromPath(fs::path(self).parent_path() / "QMTraining.dll"))) << loader.error();
  EXPECT_STREQ(loader.info()->pluginName, "Quellmark Training");
  TempDir dir;
  sim::Host host(dir.path() / pathFromUtf8("新建文件夹"));
  ASSERT_TRUE(loader.load(host));
  EXPECT_EQ(loader.loadError(), "");
  EXPECT_TRUE(fs::is_directory(host.dataDir() / "QMShots"));
  loader.unload();
  host.releaseCallbacks();  // their code leaves with the library
  loader.close();
#endif
}

}  // namespace
