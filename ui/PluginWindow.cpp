// The window slots the host calls. Render draws one frame: its first frame
// runs the start-up data work (unless a command ran it before), then the window with either the main tabs or,
// while a shot is being edited, the shot editor's tabs.

#include <imgui.h>
#include <imgui_internal.h>

#include <cfloat>

#include "QMTraining/Guard.h"
#include "QMTraining/Log.h"
#include "QMTraining/QMTraining.h"
#include "ui/CaptureEditor.h"

namespace {

constexpr float minWidth = 800;
constexpr float minHeight = 400;
constexpr float firstUseWidth = 1000;

// Ends what a frame cut short by an exception left begun (tab bars, pushed
// identifiers, child regions, popups, the window), down to the windows that
// were open when it began, so that the host's frame still ends cleanly.
void endWindowsBegunSince(int windowDepth) {
  ImGuiContext& context = *ImGui::GetCurrentContext();
  while (context.CurrentWindowStack.Size > windowDepth) {
    ImGuiWindow* window = context.CurrentWindow;
    // A tab bar is ended only from a window that draws; this one is about
    // to be ended anyway.
    window->SkipItems = false;
    ImGui::ErrorCheckEndWindowRecover(nullptr);
    if (window->Flags & ImGuiWindowFlags_ChildWindow) {
      ImGui::EndChild();
    } else {
      ImGui::End();
    }
  }
}

}  // namespace

void QMTraining::Render() {
  const int windowDepth = ImGui::GetCurrentContext()->CurrentWindowStack.Size;
  runGuarded("The settings window", [&] {
    try {
      renderWindow();
    } catch (...) {
      endWindowsBegunSince(windowDepth);
      throw;
    }
  });
}

void QMTraining::renderWindow() {
  // Packs, shots and key binds are first read here or by the first command,
  // whichever comes first; never at load.
  runStartUpWork();

  // The close button cleared the flag in an earlier frame: ask the host to
  // close the window. This frame is drawn all the same.
  if (!isWindowOpen) cvarManager->executeCommand("togglemenu " + MenuName(), true);

  // Opened for the first time (the host keeps the size the player gives it),
  // the window is wide enough for the longest fixed line, the modifier row
  // of "Training Settings"; fitted to the first tab it would cut that row.
  ImGui::SetNextWindowSize(ImVec2(firstUseWidth, minHeight), ImGuiCond_FirstUseEver);
  ImGui::SetNextWindowSizeConstraints(ImVec2(minWidth, minHeight), ImVec2(FLT_MAX, FLT_MAX));
  if (!ImGui::Begin(menuTitle.c_str(), &isWindowOpen, ImGuiWindowFlags_None)) {
    ImGui::End();
    return;
  }
  if (editorOpen) {
    drawCaptureSlider(*this);
    if (ImGui::BeginTabBar("Create Shot", ImGuiTabBarFlags_None)) {
      renderShotEditorTabs();
      ImGui::EndTabBar();
    }
  } else if (ImGui::BeginTabBar("Quellmark Training", ImGuiTabBarFlags_None)) {
    struct Tab {
      const char* label;
      void (QMTraining::*render)();
    };
    static constexpr Tab tabs[] = {
        {"How To Use", &QMTraining::renderHowToUseTab},
        {"Training Packs", &QMTraining::renderTrainingPacksTab},
        {"Shots", &QMTraining::renderShotsTab},
        {"Training", &QMTraining::renderTrainingTab},
        {"Training Settings", &QMTraining::renderTrainingSettingsTab},
        {"Settings", &QMTraining::renderSettingsTab},
        {"Change Logs", &QMTraining::renderChangeLogsTab},
    };
    // Every tab is submitted in every frame; only the selected one draws
    // its content.
    for (const Tab& tab : tabs) {
      if (ImGui::BeginTabItem(tab.label, nullptr, ImGuiTabItemFlags_None)) {
        (this->*tab.render)();
        ImGui::EndTabItem();
      }
    }
    ImGui::EndTabBar();
  }
  ImGui::End();
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
