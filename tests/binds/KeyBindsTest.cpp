// The key-bind file in the host's cfg folder: read, repaired, rewritten and
// executed by the host, so the bound keys reset the shot.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "binds/KeyNames.h"
#include "tests/support/PluginHarness.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Pair;

class KeyBinds : public ::testing::Test {
 protected:
  std::string bindFile() const { return (harness.dir().path() / "cfg/QMTraining.cfg").string(); }
  void putBindFile(const std::string& text) const { writeFile(bindFile(), text); }
  std::string bindFileText() const { return readFile(bindFile()); }
  QMTraining& plugin() { return harness.plugin(); }
  const std::map<std::string, std::string>& binds() { return harness.host().binds(); }
  static auto defaultKeysBound() {
    return ElementsAre(Pair("BackSpace", "controlInput"), Pair("XboxTypeS_Back", "controlInput"));
  }

  PluginHarness harness;
};

const char* const defaultFile =
    "bind XboxTypeS_Back \"controlInput\"\n"
    "bind BackSpace \"controlInput\"\n";

TEST(KeyNames, TablesHoldTheEngineNamesInTheirOrder) {
  std::vector<std::string> controller = controllerKeyTable();
  std::vector<std::string> keyboard = keyboardKeyTable();
  ASSERT_EQ(controller.size(), 16u);
  ASSERT_EQ(keyboard.size(), 87u);
  EXPECT_EQ(controller[0], "XboxTypeS_LeftThumbStick");
  EXPECT_EQ(controller[6], "XboxTypeS_A");
  EXPECT_EQ(controller[defaultControllerKeyIndex], "XboxTypeS_Back");
  EXPECT_EQ(controller[15], "XboxTypeS_DPad_Right");
  EXPECT_EQ(keyboard[0], "A");
  EXPECT_EQ(keyboard[25], "Z");
  EXPECT_EQ(keyboard[29], "1");
  EXPECT_EQ(keyboard[38], "0");
  EXPECT_EQ(keyboard[defaultKeyboardKeyIndex], "BackSpace");
  EXPECT_EQ(keyboard[56], "SpaceBar");
  EXPECT_EQ(keyboard[69], "NumLock");
  EXPECT_EQ(keyboard[80], "Decimal");
  EXPECT_EQ(keyboard[86], "MouseScrollDown");
}

TEST_F(KeyBinds, WithoutAFileTheDefaultKeysAreWrittenAndBound) {
  plugin().controllerKeyIndex = 3;
  plugin().keyboardKeyIndex = 7;
  plugin().loadKeyBinds();
  EXPECT_EQ(plugin().controllerKeyIndex, 11);
  EXPECT_EQ(plugin().keyboardKeyIndex, 42);
  EXPECT_EQ(bindFileText(), defaultFile);
  EXPECT_THAT(binds(), defaultKeysBound());
}

TEST_F(KeyBinds, ABoundKeyResetsTheShot) {
  plugin().loadKeyBinds();
  harness.enablePlugin();
  harness.startLocalMatch();
  plugin().ballLocationX = 1234;
  EXPECT_TRUE(harness.host().pressKey("BackSpace"));
  EXPECT_THAT(harness.host().calls, Contains("Ball.SetLocation(1234, 0, 0)"));
  harness.host().calls.clear();
  EXPECT_TRUE(harness.host().pressKey("XboxTypeS_Back"));
  EXPECT_THAT(harness.host().calls, Contains("Ball.SetLocation(1234, 0, 0)"));
}

TEST_F(KeyBinds, KnownKeysAreTakenFromTheFileWhichStaysAsItIs) {
  const std::string file = "bind XboxTypeS_A \"controlInput\"\r\nbind SpaceBar \"controlInput\" // mine\r\n";
  putBindFile(file);
  plugin().loadKeyBinds();
  EXPECT_EQ(plugin().controllerKeyIndex, 6);
  EXPECT_EQ(plugin().keyboardKeyIndex, 56);
  EXPECT_EQ(bindFileText(), file);
}

TEST_F(KeyBinds, AnUnknownKeyFallsBackAndTheFileIsRewrittenKeepingTheOtherKey) {
  putBindFile("bind XboxTypeS_Nope \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
  plugin().loadKeyBinds();
  EXPECT_EQ(plugin().controllerKeyIndex, 11);
  EXPECT_EQ(plugin().keyboardKeyIndex, 56);
  EXPECT_EQ(bindFileText(), "bind XboxTypeS_Back \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
  EXPECT_THAT(binds(), ElementsAre(Pair("SpaceBar", "controlInput"), Pair("XboxTypeS_Back", "controlInput")));
}

TEST_F(KeyBinds, AnEmptyKeyNameIsAnUnknownKey) {
  putBindFile("bind XboxTypeS_A \"controlInput\"\nbind  \"controlInput\"\n");
  plugin().keyboardKeyIndex = 3;
  plugin().loadKeyBinds();
  EXPECT_EQ(plugin().keyboardKeyIndex, 42);
  EXPECT_EQ(bindFileText(), "bind XboxTypeS_A \"controlInput\"\nbind BackSpace \"controlInput\"\n");
}

TEST_F(KeyBinds, AFileThatBindsNoKnownKeyIsRepairedAndBothKeysBound) {
  for (const std::string& file : {std::string("# keys for resets\nbind_SpaceBar\n"),
                                 std::string("bind"), std::string(),
                                 std::string("\x7f" "ELF\0\x01\xff\xfe\n\0\0 bind \x80\n", 16)}) {
    putBindFile(file);
    plugin().controllerKeyIndex = 4;
    plugin().keyboardKeyIndex = 9;
    plugin().loadKeyBinds();
    EXPECT_EQ(plugin().controllerKeyIndex, 11);
    EXPECT_EQ(plugin().keyboardKeyIndex, 42);
    EXPECT_EQ(bindFileText(), defaultFile);
    EXPECT_THAT(binds(), defaultKeysBound());
  }
}

TEST_F(KeyBinds, AFolderInPlaceOfTheFileStillLeavesBothKeysBoundAndSaysSo) {
  std::filesystem::create_directories(bindFile());
  plugin().loadKeyBinds();
  EXPECT_THAT(binds(), defaultKeysBound());
  EXPECT_TRUE(harness.logged("Could not write the key-bind file " + bindFile() +
                             "; the keys are bound until the game closes"));
  EXPECT_TRUE(std::filesystem::is_directory(bindFile()));
}

TEST_F(KeyBinds, SavingUnbindsTheOldKeysBeforeBindingTheNewOnes) {
  plugin().loadKeyBinds();
  harness.console("bind Q \"something else\"");
  plugin().keyboardKeyIndex = 56;  // as the settings tab's combo box sets it
  plugin().saveKeyBinds();
  EXPECT_EQ(bindFileText(), "bind XboxTypeS_Back \"controlInput\"\nbind SpaceBar \"controlInput\"\n");
  EXPECT_THAT(binds(), ElementsAre(Pair("Q", "something else"), Pair("SpaceBar", "controlInput"),
                                   Pair("XboxTypeS_Back", "controlInput")));
  EXPECT_TRUE(harness.logged("] unbind BackSpace"));
  EXPECT_TRUE(harness.logged("] unbind XboxTypeS_Back"));
  EXPECT_FALSE(harness.host().pressKey("BackSpace"));
}

TEST_F(KeyBinds, UnloadUnbindsBothKeys) {
  plugin().controllerKeyIndex = 6;
  plugin().keyboardKeyIndex = 56;
  plugin().saveKeyBinds();
  ASSERT_EQ(binds().size(), 2u);
  harness.unload();
  EXPECT_TRUE(harness.host().binds().empty());
}

TEST_F(KeyBinds, UnbindCommandNamesTheKey) { EXPECT_EQ(plugin().unbindCommand("F"), "unbind F"); }

}  // namespace
