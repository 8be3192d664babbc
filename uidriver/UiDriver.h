#pragma once
// Drives a Dear ImGui context with no backend, as a player would: it runs
// frames, reads back the text each frame shows, and clicks, types, presses
// keys and scrolls through the context's input state.
//
// Time is the driver's own: every frame advances Dear ImGui's clock by a
// fixed step, and waits are bounded by a number of frames, never by the wall
// clock, so a run is the same on every machine.
//
// Clipboard: the context's own, in memory. Dear ImGui's copy and paste (and
// a window's clipboard buttons) write and read it; tests and scripts set and
// read it here.
//
// Reading: shown() is the text of the last frame drawn. A player reacts to
// what is on the screen, so every action aims at where a text was shown in
// the last frame, then draws the frames the action needs:
//   click     hover, press, release, then one frame for the result to show
//   hover     move the mouse, then one frame (a tooltip's first frame is
//             hidden while it measures itself)
//   type      one frame with the characters queued (taken by the active
//             text field; dropped when none is active), one to show
//   pressKey  key down for one frame, up for one frame, one frame to show
//   scroll    hover, one frame with the wheel turned, one to show
//
// Input in Dear ImGui 1.86 is state, not events: a press and a release in
// one frame are lost, which is why each takes a frame of its own. Two clicks
// closer than Dear ImGui's double-click time would make a double click; the
// driver lets enough time pass between clicks.

#include <imgui.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "uidriver/ShownText.h"

namespace uidriver {

// A rectangle in display pixels.
struct ScreenRect {
  ImVec2 min;
  ImVec2 max;
  ImVec2 center() const { return ImVec2((min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f); }
};

struct Mods {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
};

class UiDriver {
 public:
  // A fresh context of the given display size; nothing is drawn until a
  // draw function is set. No imgui.ini is read or written.
  explicit UiDriver(float width = 1280, float height = 800);
  ~UiDriver();
  UiDriver(const UiDriver&) = delete;
  UiDriver& operator=(const UiDriver&) = delete;

  ImGuiContext* context() const { return context_; }
  // What each frame draws, between NewFrame and Render.
  void setDraw(std::function<void()> draw) { draw_ = std::move(draw); }
  // Runs before each frame begins (a host advances its game here).
  void setBeforeFrame(std::function<void()> beforeFrame) { beforeFrame_ = std::move(beforeFrame); }

  // ---- frames ----
  void frame();
  void frames(int count);
  // Frames drawn since the driver was made.
  int frameCount() const { return frameCount_; }
  // Seconds added to Dear ImGui's clock per frame (default 1/60).
  void setFrameStep(float seconds) { step_ = seconds; }

  // ---- what the last frame showed ----
  const std::vector<ShownText>& shown() const { return shown_; }
  // Strings equal to `text`, front to back: those of the window drawn last
  // (a popup, a tooltip) come first; within a window, in drawing order.
  std::vector<ShownText> find(std::string_view text) const;
  // Strings containing `text`, in the same order.
  std::vector<ShownText> findContaining(std::string_view text) const;
  bool shows(std::string_view text) const { return !find(text).empty(); }
  // Every shown string, one per line: "x,y  text" (for failure messages
  // and the sandbox).
  std::string describe() const;

  // ---- acting on what is shown ----
  // Clicks the centre of the `occurrence`-th string equal to `text` (see
  // find); false, drawing no frame, when it is not shown.
  bool click(std::string_view text, int occurrence = 0, Mods mods = {});
  void clickAt(ImVec2 point, Mods mods = {});
  // Moves the mouse over the text and lets a tooltip show.
  bool hover(std::string_view text, int occurrence = 0);
  void hoverAt(ImVec2 point);
  // Presses at `from`, moves to `to` over a few frames, releases.
  void dragAt(ImVec2 from, ImVec2 to);
  // Types UTF-8 text into the focused text field; false when no text field
  // had the keyboard focus (the characters are then dropped).
  bool type(std::string_view utf8);
  // One key of Dear ImGui's key list (ImGuiKey_Enter, ...).
  void pressKey(ImGuiKey key, Mods mods = {});
  // Turns the wheel over a point; positive lines scroll up (with shift:
  // left).
  void scrollAt(ImVec2 point, float lines, Mods mods = {});

  // ---- fields that show no text ----
  // Text fields the last frame showed with no text in them, front to back
  // (popups first); see FieldFrames.h.
  std::vector<ScreenRect> emptyFields() const;
  // The field (any kind) whose label `label` stands right of it.
  std::optional<ScreenRect> labelledField(std::string_view label) const;

  // ---- clipboard ----
  const std::string& clipboard() const { return clipboard_; }
  void setClipboard(std::string text) { clipboard_ = std::move(text); }

  // ---- waiting ----
  // Draws frames until the text is shown (or gone), at most maxFrames;
  // true when it happened. Checks the last frame first, drawing none if it
  // already holds.
  bool waitFor(std::string_view text, int maxFrames = 10);
  bool waitUntilGone(std::string_view text, int maxFrames = 10);

  // ---- windows ----
  // The rectangle of a window by its name (title), if it was drawn.
  std::optional<ScreenRect> windowRect(std::string_view name) const;
  // Clicks the close button (right end) or the collapse button (left end)
  // of a window's title bar; false when the window was not drawn.
  bool clickCloseButton(std::string_view window);
  bool clickCollapseButton(std::string_view window);

 private:
  // The frames of the fields the last frame showed, front to back.
  std::vector<ScreenRect> fieldFrames() const;
  // The context's input state; makes the context current.
  ImGuiIO& io();
  void setMouse(ImVec2 point, bool down);
  void setMods(Mods mods);
  // The step of the next frame only (letting time pass before a click).
  float nextStep_ = 0;

  ImGuiContext* context_;
  std::function<void()> draw_;
  std::function<void()> beforeFrame_;
  std::vector<ShownText> shown_;
  float step_ = 1.0f / 60.0f;
  double time_ = 0;
  double lastClickTime_ = -1e9;
  std::string clipboard_;
  int frameCount_ = 0;
};

}  // namespace uidriver
