// The key-bind file in the host's cfg folder: read, repaired, rewritten and
// executed by the host, so the bound keys reset the shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "binds/KeyNames.h"
#include "tests/support/PluginHarness.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

const std::string defaultFile = "bind XboxTypeS_Back \"controlInput\"\nbind BackSpace \"controlInput\"\n";

class KeyBinds : public ::testing::Test {
 protected:
  std::string bindFile() const { return (harness.dir().path() / "cfg/QMTraining.cfg").string(); }
  QMTraining& plugin() { return harness.plugin(); }
  const std::map<std::string, std::string>& binds() { return harness.host().binds(); }

  PluginHarness harness;
};

// Known keys are taken and the file left as it is; any other line falls back
// to the default key, and the file is rewritten and executed.
TEST(KeyBindFile, EachLineKeepsAKnownKeyOrFallsBackToTheDefaultKey) {
  const struct {
    std::optional<std::string> file;
    int32_t controller, keyboard;
    std::string written;  // empty: left as it was
  } cases[] = {
      {std::nullopt, 11, 42, defaultFile},
      {"bind XboxTypeS_A \"controlInput\"\r\nbind SpaceBar \"controlInput\" // mine\r\n", 6, 56, ""},
      {"bind XboxTypeS_Nope \"controlInput\"\nbind SpaceBar \"controlInput\"\n", 11, 56,
       "bind XboxTypeS_Back \"controlInput\"\nbind SpaceBar \"controlInput\"\n"},
      {"bind XboxTypeS_A \"controlInput\"\nbind  \"controlInput\"\n", 6, 42,
       "bind XboxTypeS_A \"controlInput\"\nbind BackSpace \"controlInput\"\n"},
      {"# XboxTypeS_A resets\nbind_SpaceBar\n", 11, 42, defaultFile},
      {"bind", 11, 42, defaultFile},
      {"", 11, 42, defaultFile},
      {std::string("\x7f" "ELF\0\x01\xff\xfe\n\0\0 bind \x80\n", 16), 11, 42, defaultFile},
  };
  for (const auto& c : cases) {
    PluginHarness harness;
    const std::filesystem::path path = harness.dir().path() / "cfg/QMTraining.cfg";
    if (c.file) writeFile(path, *c.file);
    QMTraining& plugin = harness.plugin();
    plugin.controllerKeyIndex = 4;
    plugin.keyboardKeyIndex = 9;
    plugin.loadKeyBinds();
    SCOPED_TRACE(c.file.value_or("no file"));
    EXPECT_EQ(plugin.controllerKeyIndex, c.controller);
    EXPECT_EQ(plugin.keyboardKeyIndex, c.keyboard);
    EXPECT_EQ(readFile(path), c.written.empty() ? *c.file : c.written);
    EXPECT_FALSE(harness.logged("Could not read the key-bind file " + path.string() + "; the default keys are bound"));
    if (c.written.empty()) continue;
    EXPECT_THAT(harness.host().binds(),
                testing::UnorderedElementsAre(Pair(plugin.controllerKeyNames[c.controller], "controlInput"),
                                              Pair(plugin.keyboardKeyNames[c.keyboard], "controlInput")));
  }
}

TEST_F(KeyBinds, ABoundKeyResetsTheShot) {
  plugin().loadKeyBinds();
  harness.enablePlugin();
  harness.startLocalMatch();
  plugin().oldDataMigrated = 1;  // the working shot is set here, not loaded by the press
  plugin().ballLocationX = 1234;
  for (const char* key : {"BackSpace", "XboxTypeS_Back"}) {
    harness.host().calls.clear();
    EXPECT_TRUE(harness.host().pressKey(key));
    EXPECT_THAT(harness.host().calls, Contains("Ball.SetLocation(1234, 0, 0)")) << key;
  }
}

TEST_F(KeyBinds, AFolderInPlaceOfTheFileStillLeavesBothKeysBoundSayingSo) {
  std::filesystem::create_directories(bindFile());
  plugin().loadKeyBinds();
  EXPECT_THAT(binds(), ElementsAre(Pair("BackSpace", "controlInput"), Pair("XboxTypeS_Back", "controlInput")));
  EXPECT_TRUE(harness.logged("Could not read the key-bind file " + bindFile() + "; the default keys are bound"));
  EXPECT_TRUE(harness.logged("Could not write the key-bind file " + bindFile() +
                             "; the keys are bound until the game closes"));
  EXPECT_TRUE(std::filesystem::is_directory(bindFile()));
}

TEST_F(KeyBinds, SavingUnbindsTheOldKeysBeforeBindingTheNewOnes) {
  plugin().loadKeyBinds();
  harness.console("bind Q \"something else\"");
  // The first entries, as the settings tab's combo boxes set them.
  plugin().controllerKeyIndex = 0;
  plugin().keyboardKeyIndex = 0;
  plugin().saveKeyBinds();
  EXPECT_EQ(readFile(bindFile()), "bind XboxTypeS_LeftThumbStick \"controlInput\"\nbind A \"controlInput\"\n");
  EXPECT_THAT(binds(), ElementsAre(Pair("A", "controlInput"), Pair("Q", "something else"),
                                   Pair("XboxTypeS_LeftThumbStick", "controlInput")));
  EXPECT_TRUE(harness.logged("] unbind BackSpace"));
  EXPECT_TRUE(harness.logged("] unbind XboxTypeS_Back"));
  EXPECT_FALSE(harness.host().pressKey("BackSpace"));
}

TEST_F(KeyBinds, AKeyIndexOutsideTheTablesIsSavedAsTheDefaultKey) {
  for (const auto& [controller, keyboard] : {std::pair(16, 87), std::pair(-1, -1), std::pair(1000000, -7)}) {
    plugin().controllerKeyIndex = controller;
    plugin().keyboardKeyIndex = keyboard;
    plugin().saveKeyBinds();
    EXPECT_EQ(plugin().controllerKeyIndex, 11);
    EXPECT_EQ(plugin().keyboardKeyIndex, 42);
    EXPECT_EQ(readFile(bindFile()), defaultFile);
  }
}

}  // namespace
