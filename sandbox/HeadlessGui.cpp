#include "sandbox/HeadlessGui.h"

#include <imgui.h>

HeadlessGui::HeadlessGui(float width, float height) {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // no imgui.ini: runs must not leak into each other
  io.LogFilename = nullptr;
  io.DisplaySize = ImVec2(width, height);
  io.DeltaTime = 1.0f / 60.0f;
  unsigned char* pixels = nullptr;
  int atlasWidth = 0;
  int atlasHeight = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &atlasWidth, &atlasHeight);
  if (previous) ImGui::SetCurrentContext(previous);
}

HeadlessGui::~HeadlessGui() { ImGui::DestroyContext(context_); }

void HeadlessGui::frame(const std::function<void()>& draw, float deltaSeconds) {
  ImGui::SetCurrentContext(context_);
  ImGui::GetIO().DeltaTime = deltaSeconds > 0 ? deltaSeconds : 1.0f / 60.0f;
  ImGui::NewFrame();
  draw();
  ImGui::Render();
}
