#include "tests/support/WindowHarness.h"

#include <filesystem>

#include "storage/Shot.h"

WindowHarness::WindowHarness() { attachWindow(); }

WindowHarness::WindowHarness(const std::string& hostFolder)
    : PluginHarness(Start::Loaded, hostFolder) {
  attachWindow();
}

void WindowHarness::attachWindow() {
  plugin().AdoptGuiContext(reinterpret_cast<uintptr_t>(ui_.context()));
  host().onToggleMenu = [this](const std::string& name) {
    if (name != plugin().MenuName()) return false;
    ++toggleRequests_;
    shown_ = !shown_;
    if (shown_) {
      plugin().WindowOpened();
    } else {
      plugin().WindowClosed();
    }
    return true;
  };
  ui_.setBeforeFrame([this] { host().tick(); });
  ui_.setDraw([this] {
    if (shown_) plugin().Render();
  });
}

void WindowHarness::addShot(const std::string& pack, const std::string& name, float ballX, int carYaw) {
  std::string folder = packFolder(pack) + "/";
  std::filesystem::create_directories(folder);
  Shot().createShotFile(folder, 300, ballX, 1000, 10, -2000, 400, 500, -3000, 17, carYaw, name, 3500, 0, 0);
}

void WindowHarness::openWindow() {
  shown_ = true;
  plugin().WindowOpened();
  ui_.frames(2);
}

bool WindowHarness::openTab(const std::string& label) { return ui_.click(label); }
