#pragma once
// A Dear ImGui context with no backend: frames are drawn into draw data that
// nothing displays. The sandbox uses it to run the plug-in's window from a
// script; tests use it to drive the window.

#include <functional>

struct ImGuiContext;

class HeadlessGui {
 public:
  // Display size in pixels.
  explicit HeadlessGui(float width = 1280, float height = 800);
  ~HeadlessGui();
  HeadlessGui(const HeadlessGui&) = delete;
  HeadlessGui& operator=(const HeadlessGui&) = delete;

  ImGuiContext* context() const { return context_; }

  // One frame: NewFrame, draw, Render. deltaSeconds advances ImGui's clock.
  void frame(const std::function<void()>& draw, float deltaSeconds = 1.0f / 60.0f);

 private:
  ImGuiContext* context_;
};
