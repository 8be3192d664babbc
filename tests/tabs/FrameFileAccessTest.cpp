// Frames touch no file: the window reads and writes the disk only when the
// player acts. Watched with inotify on every folder the plug-in keeps data
// in, which reports each open, read, write, create, delete and move there.

#include <sys/inotify.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include "tests/tabs/WindowFixture.h"

namespace {

// Counts what happens in a set of folders from the moment it is made.
class FolderWatch {
 public:
  explicit FolderWatch(const std::vector<std::string>& folders)
      : fd_(inotify_init1(IN_NONBLOCK)) {
    for (const std::string& folder : folders) {
      inotify_add_watch(fd_, folder.c_str(),
                        IN_ACCESS | IN_OPEN | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE |
                            IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO);
    }
  }
  ~FolderWatch() { close(fd_); }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  bool valid() const { return fd_ >= 0; }
  // The number of events since the last call.
  int events() {
    int count = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = read(fd_, buffer, sizeof buffer)) > 0;) {
      for (char* at = buffer; at < buffer + length;) {
        auto* event = reinterpret_cast<inotify_event*>(at);
        ++count;
        at += sizeof(inotify_event) + event->len;
      }
    }
    return count;
  }

 private:
  int fd_;
};

class FrameFileAccessTest : public WindowTest {
 protected:
  FrameFileAccessTest() {
    addPack("Pack", {"Alpha", "Beta"});
    addPack("Other", {"Gamma"});
    showWindow();
  }
  // Every folder the plug-in keeps data in, from now on.
  FolderWatch watchData() {
    return FolderWatch({harness.dataFolder(), harness.dataFolder() + "/QMShots",
                        harness.dataFolder() + "/QMShots/TrainingPacks", harness.packFolder("Pack"),
                        harness.packFolder("Other"), harness.host().cfgDir().string()});
  }
};

TEST_F(FrameFileAccessTest, NoTabNorTheEditorNorAnOpenPopupTouchesAFileWhileItIsDrawn) {
  FolderWatch watch = watchData();
  ASSERT_TRUE(watch.valid());
  for (const char* tab : {"How To Use", "Training Packs", "Shots", "Training", "Training Settings", "Settings",
                          "Change Logs"}) {
    openTab(tab);
    ui().frames(10);
    EXPECT_EQ(watch.events(), 0) << tab;
  }
  openTab("Shots");
  click("Create New Shot");
  expectShown("Type Shot Name");
  ui().frames(10);
  click("Car location");
  ui().frames(10);
  EXPECT_EQ(watch.events(), 0) << "editor";
  click("Ball");
  click("Cancel");

  // An open transfer popup lists its target once, not in every frame.
  expectShown("Create New Shot");
  click("Transfer", 0);
  expectShown(namePopup);
  click("Other");
  EXPECT_GT(watch.events(), 0);  // the watch does see the disk when the player acts
  ui().frames(10);
  EXPECT_EQ(watch.events(), 0) << "transfer popup";
}

}  // namespace
