// The host stand-in where the plug-in's own tests do not reach it: variables,
// nested configuration files, and the callbacks it drops with a plug-in.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pluginsdk/sim/Host.h"
#include "tests/support/TempDir.h"

namespace {

class HostTest : public testing::Test {
 protected:
  HostTest() : host(dir.path()), console(*host.cvarManager()) {
    console.registerNotifier("Say", [this](std::vector<std::string>) { ++said; }, "", 0);
  }

  TempDir dir;
  sim::Host host;
  CVarManagerWrapper& console;
  int said = 0;
};

TEST_F(HostTest, VariablesRefuseMalformedNumbersClampToTheirBoundsAndKeepTheFirstRegistration) {
  CVarWrapper enabled = console.registerCvar("enabled", "0", "", true, true, 0, true, 1);
  for (const char* refused : {"12abc", "nan", "1e999"}) host.execute(std::string("enabled ") + refused);
  EXPECT_EQ(enabled.getStringValue(), "0");
  enabled.setValue(7);
  EXPECT_EQ(enabled.getIntValue(), 1);
  host.execute("enabled -3");
  EXPECT_EQ(enabled.getStringValue(), "0");
  console.registerCvar("enabled", "1");
  EXPECT_EQ(enabled.getStringValue(), "0");
}

TEST_F(HostTest, ExecutesConfigurationFilesToALimitedDepth) {
  writeFile(host.cfgDir() / "loop.cfg", "// a comment\n\nSay again\nexec loop.cfg\r\n");
  host.execute("exec loop.cfg");
  EXPECT_EQ(said, 8);
  EXPECT_THAT(host.logLines(), testing::ElementsAre("exec: too deeply nested: loop.cfg"));
}

TEST_F(HostTest, CallbacksReleasedWithThePluginNeverRun) {
  GameWrapper& game = *host.gameWrapper();
  game.SetTimeout([&](GameWrapper*) { ++said; }, 0.1f);
  game.Execute([&](GameWrapper*) { ++said; });
  host.releaseCallbacks();
  host.advance(1);
  EXPECT_EQ(said, 0);
}

}  // namespace
