// Frames touch no file: the window uses the disk only when the player acts,
// as inotify reports on the folders the plug-in keeps data in.

#include <sys/inotify.h>
#include <unistd.h>

#include "tests/tabs/WindowFixture.h"

namespace {

class FrameFileAccessTest : public WindowTest {
 protected:
  FrameFileAccessTest() {
    addPack("Pack", {"Alpha", "Beta"});
    addPack("Other", {"Gamma"});
    showWindow();
    for (const std::string& folder :
         {harness.dataFolder(), harness.dataFolder() + "/QMShots", harness.dataFolder() + "/QMShots/TrainingPacks",
          harness.packFolder("Pack"), harness.packFolder("Other"), harness.host().cfgDir().string()}) {
      inotify_add_watch(watch_, folder.c_str(), IN_ALL_EVENTS);
    }
  }
  ~FrameFileAccessTest() override { close(watch_); }

  // The number of events since the last call.
  int events() {
    int count = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(watch_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + length; ++count) {
        at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len;
      }
    }
    return count;
  }

  const int watch_ = inotify_init1(IN_NONBLOCK);
};

TEST_F(FrameFileAccessTest, NoTabNorTheEditorNorAnOpenPopupTouchesAFileWhileItIsDrawn) {
  ASSERT_GE(watch_, 0);
  for (const char* tab : {"How To Use", "Training Packs", "Shots", "Training", "Training Settings", "Settings",
                          "Change Logs"}) {
    openTab(tab);
    ui().frames(10);
    EXPECT_EQ(events(), 0) << tab;
  }
  openTab("Shots");
  clickAndExpect("Create New Shot", "Type Shot Name");
  ui().frames(10);
  click("Car location");
  ui().frames(10);
  EXPECT_EQ(events(), 0) << "editor";
  click("Ball");
  click("Cancel");

  // An open transfer popup lists its target once, not in every frame.
  expectShown("Create New Shot");
  clickAndExpect("Transfer", namePopup, 0);
  click("Other");
  EXPECT_GT(events(), 0);  // the watch does see the disk when the player acts
  ui().frames(10);
  EXPECT_EQ(events(), 0) << "transfer popup";
}

}  // namespace
