// The host's own panels around the plug-in's window: the menu bar and the
// console.

#include <imgui.h>

#include "sandbox/WindowHost.h"

float WindowHost::drawMenuBar() {
  float height = 0;
  if (!ImGui::BeginMainMenuBar()) return height;
  if (ImGui::BeginMenu("Plugins")) {
    if (auto* plugin = sandbox_.loader().window()) {
      // Through the console, as the real host does, so that the plug-in's own
      // close command and this entry agree on whether the window is shown.
      if (ImGui::MenuItem(plugin->WindowTitle().c_str(), nullptr, sandbox_.windowShown())) {
        runLine("togglemenu " + plugin->MenuName());
      }
    } else {
      ImGui::MenuItem("The plug-in has no window", nullptr, false, false);
    }
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Match")) {
    const sim::Match match = sandbox_.host().match();
    if (ImGui::MenuItem("Local match", nullptr, match == sim::Match::Local)) runLine("match local");
    if (ImGui::MenuItem("Online match", nullptr, match == sim::Match::Online)) runLine("match online");
    if (ImGui::MenuItem("No match", nullptr, match == sim::Match::None)) runLine("match none");
    ImGui::EndMenu();
  }
  if (ImGui::BeginMenu("Sandbox")) {
    if (ImGui::MenuItem("Quit")) quit_ = true;
    ImGui::EndMenu();
  }
  height = ImGui::GetWindowSize().y;
  ImGui::EndMainMenuBar();
  return height;
}

void WindowHost::drawConsolePanel(float left, float top, float width, float height) {
  ImGui::SetNextWindowPos(ImVec2(left, top), ImGuiCond_Always);
  ImGui::SetNextWindowSize(ImVec2(width, height), ImGuiCond_Always);
  const ImGuiWindowFlags flags =
      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings;
  if (ImGui::Begin("Console", nullptr, flags)) {
    const float footer = ImGui::GetStyle().ItemSpacing.y + ImGui::GetFrameHeightWithSpacing();
    ImGui::BeginChild("lines", ImVec2(0, -footer), false, ImGuiWindowFlags_HorizontalScrollbar);
    const std::deque<std::string>& lines = console_.lines();
    ImGuiListClipper clipper;
    clipper.Begin(static_cast<int>(lines.size()));
    while (clipper.Step()) {
      for (int i = clipper.DisplayStart; i < clipper.DisplayEnd; ++i) {
        ImGui::TextUnformatted(lines[static_cast<size_t>(i)].c_str());
      }
    }
    if (console_.lineCount() != shownLineCount_) {
      shownLineCount_ = console_.lineCount();
      ImGui::SetScrollHereY(1.0f);
    }
    ImGui::EndChild();
    ImGui::Separator();
    ImGui::SetNextItemWidth(-1);
    if (ImGui::InputTextWithHint("##command", "host console line or verb (help)", command_, sizeof command_,
                                 ImGuiInputTextFlags_EnterReturnsTrue)) {
      if (command_[0] != '\0') typedLines_.emplace_back(command_);
      command_[0] = '\0';
      ImGui::SetKeyboardFocusHere(-1);  // keep typing after Enter
    }
  }
  ImGui::End();
}
