#pragma once
// The plug-in loaded in a simulated host (PluginHarness) with its settings
// window shown the way the host shows it, driven through the UI driver: the
// host calls WindowOpened, then Render in every frame while the window is
// shown; "togglemenu QMTraining" hides it again and calls WindowClosed. The
// game advances one tick before each frame, as the window draws while the
// game runs.
//
// Nothing is read from the data folder before the first frame, so a test can
// lay packs and shots into it (addShot) after construction.

#include <string>

#include "tests/support/PluginHarness.h"
#include "uidriver/UiDriver.h"

class WindowHarness : public PluginHarness {
 public:
  WindowHarness();
  // The host's folder is the sub-folder hostFolder (UTF-8) of dir().
  explicit WindowHarness(const std::string& hostFolder);

  uidriver::UiDriver& ui() { return ui_; }

  // Writes a shot file into a pack folder (created as needed), with
  // distinguishable values: the ball's X location is ballX, the car's yaw
  // carYaw, everything else fixed.
  void addShot(const std::string& pack, const std::string& name, float ballX = 0, int carYaw = 0);

  // The host shows the window and two frames are drawn (a tab bar shows its
  // labels from its second frame on).
  void openWindow();
  bool windowShown() const { return shown_; }
  // How often the plug-in asked the host to toggle its menu.
  int toggleRequests() const { return toggleRequests_; }

  // Selects a main tab by clicking its label; true when its label was shown.
  bool openTab(const std::string& label);

 private:
  // Hands the window the driver's context and has the host show it.
  void attachWindow();

  uidriver::UiDriver ui_;
  bool shown_ = false;
  int toggleRequests_ = 0;
};
