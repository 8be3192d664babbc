// The window slots the host calls. Render draws one frame; its first frame
// also runs the start-up data work.

#include <imgui.h>

#include "QMTraining/QMTraining.h"

void QMTraining::Render() {
  if (oldDataMigrated == 0) migrateOldData();
}

std::string QMTraining::MenuName() { return "QMTraining"; }

std::string QMTraining::WindowTitle() { return menuTitle; }

void QMTraining::AdoptGuiContext(uintptr_t ctx) {
  ImGui::SetCurrentContext(reinterpret_cast<ImGuiContext*>(ctx));
}

bool QMTraining::WantsInput() {
  ImGuiIO& io = ImGui::GetIO();
  return io.WantCaptureMouse || io.WantCaptureKeyboard;
}

bool QMTraining::IsOverlayWindow() { return true; }

void QMTraining::WindowOpened() { isWindowOpen = true; }

void QMTraining::WindowClosed() {
  // The editor keeps the window open until the shot is saved or cancelled.
  if (!editorOpen) isWindowOpen = false;
}
