// The built plug-in library as the host sees it: opened with dlopen, its
// record read, its factory and destructor called.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "QMTraining/QMTraining.h"
#include "sandbox/PluginLoader.h"
#include "tests/support/TempDir.h"

namespace {

using BakkesMod::Plugin::BakkesModPlugin;

class LibraryTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(loader.open(QM_PLUGIN_PATH)) << loader.error(); }

  // The singleton the factory hands out, as the host reads it.
  std::shared_ptr<BakkesModPlugin>* createPlugin() {
    return reinterpret_cast<std::shared_ptr<BakkesModPlugin>*>(loader.info()->initializeFunc());
  }
  void deletePlugin() { loader.info()->deleteFunc(); }

  PluginLoader loader;
};

TEST_F(LibraryTest, RecordDescribesThePlugin) {
  const auto* info = loader.info();
  EXPECT_EQ(info->apiBuild, 95);
  EXPECT_STREQ(info->fileName, "QMTraining.cpp");
  EXPECT_STREQ(info->className, "QMTraining");
  EXPECT_STREQ(info->pluginName, "Quellmark Training");
  EXPECT_STREQ(info->pluginVersion, "5.0.0.1848");
  EXPECT_EQ(info->pluginType, 2);
  EXPECT_NE(info->initializeFunc, nullptr);
  EXPECT_NE(info->deleteFunc, nullptr);
}

TEST_F(LibraryTest, FactoryHandsOutOneObjectUntilDeletedThenAFreshOne) {
  deletePlugin();  // without an object: nothing to do
  auto* first = createPlugin();
  BakkesModPlugin* object = first->get();
  ASSERT_NE(object, nullptr);
  auto* second = createPlugin();
  EXPECT_EQ(first, second);
  EXPECT_EQ(second->get(), object);
  EXPECT_EQ(first->use_count(), 1);

  auto& plugin = *static_cast<QMTraining*>(object);
  plugin.ballSpeed = 1;
  plugin.trainingActive = true;
  deletePlugin();
  EXPECT_FALSE(*first);
  deletePlugin();

  auto& rebuilt = *static_cast<QMTraining*>(createPlugin()->get());
  EXPECT_EQ(rebuilt.ballSpeed, 2985);
  EXPECT_FALSE(rebuilt.trainingActive);
  EXPECT_EQ(rebuilt.editShotIndex, -1);
  deletePlugin();
}

TEST_F(LibraryTest, ObjectOffersTheSettingsWindow) {
  TempDir dir;
  sim::Host realHost(dir.path());
  ASSERT_TRUE(loader.load(realHost));
  auto* window = loader.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->MenuName(), "QMTraining");
  EXPECT_EQ(window->WindowTitle(), "Quellmark Training");
  loader.unload();
}

TEST_F(LibraryTest, ExportsOnlyTheEntryPoints) {
  std::string command = std::string("nm -D --defined-only '") + QM_PLUGIN_PATH + "'";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_NE(pipe, nullptr);
  std::vector<std::string> symbols;
  char line[512];
  while (fgets(line, sizeof line, pipe.get())) {
    std::string text(line);
    symbols.push_back(text.substr(text.find_last_of(' ') + 1, text.find('\n') - text.find_last_of(' ') - 1));
  }
  EXPECT_THAT(symbols, testing::UnorderedElementsAre("exports", "getPlugin", "deleteMe"));
}

}  // namespace
