#include "uidriver/UiDriver.h"

#define IMGUI_DEFINE_MATH_OPERATORS
#include <imgui_internal.h>

#include <algorithm>
#include <cstdio>

#include "uidriver/FieldFrames.h"

namespace uidriver {

UiDriver::UiDriver(float width, float height) {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // runs must not leak window positions into each other
  io.LogFilename = nullptr;
  io.DisplaySize = ImVec2(width, height);
  io.DeltaTime = step_;
  io.ClipboardUserData = this;
  io.SetClipboardTextFn = [](void* driver, const char* text) {
    static_cast<UiDriver*>(driver)->clipboard_ = text;
  };
  io.GetClipboardTextFn = [](void* driver) -> const char* {
    return static_cast<UiDriver*>(driver)->clipboard_.c_str();
  };
  // Keys are addressed by Dear ImGui's own key numbers.
  for (int key = 0; key < ImGuiKey_COUNT; ++key) io.KeyMap[key] = key;
  unsigned char* pixels = nullptr;
  int atlasWidth = 0;
  int atlasHeight = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &atlasWidth, &atlasHeight);
  // Off the screen until an action moves it, so nothing starts hovered.
  io.MousePos = ImVec2(-FLT_MAX, -FLT_MAX);
  if (previous) ImGui::SetCurrentContext(previous);
}

UiDriver::~UiDriver() { ImGui::DestroyContext(context_); }

void UiDriver::frame() {
  if (beforeFrame_) beforeFrame_();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  float step = nextStep_ > step_ ? nextStep_ : step_;
  nextStep_ = 0;
  io.DeltaTime = step;
  time_ += step;
  ImGui::NewFrame();
  if (draw_) draw_();
  ImGui::Render();
  shown_ = readShownText(*ImGui::GetDrawData(), *io.Fonts);
  ++frameCount_;
}

void UiDriver::frames(int count) {
  for (int i = 0; i < count; ++i) frame();
}

std::vector<ShownText> UiDriver::find(std::string_view text) const {
  std::vector<ShownText> found = findContaining(text);
  std::erase_if(found, [&](const ShownText& s) { return s.text != text; });
  return found;
}

std::vector<ShownText> UiDriver::findContaining(std::string_view text) const {
  // Windows in the order they were drawn; the last drawn is in front.
  std::vector<std::string> windows;
  for (const ShownText& s : shown_) {
    if (std::find(windows.begin(), windows.end(), s.window) == windows.end()) windows.push_back(s.window);
  }
  std::vector<ShownText> found;
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    for (const ShownText& s : shown_) {
      if (s.window == *window && s.text.find(text) != std::string::npos) found.push_back(s);
    }
  }
  return found;
}

std::string UiDriver::describe() const {
  std::string out;
  for (const ShownText& s : shown_) {
    char position[48];
    std::snprintf(position, sizeof position, "%.0f,%.0f  ", static_cast<double>(s.min.x),
                  static_cast<double>(s.min.y));
    out += position + s.text + '\n';
  }
  return out;
}

std::vector<ScreenRect> UiDriver::fieldFrames() const {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(context_);
  const ImU32 colours[3] = {ImGui::GetColorU32(ImGuiCol_FrameBg), ImGui::GetColorU32(ImGuiCol_FrameBgHovered),
                            ImGui::GetColorU32(ImGuiCol_FrameBgActive)};
  const ImDrawData* data = ImGui::GetDrawData();
  std::vector<FieldFrame> frames = data ? readFieldFrames(*data, colours, ImGui::GetIO().Fonts->TexUvWhitePixel) : std::vector<FieldFrame>();
  ImGui::SetCurrentContext(previous);
  // Windows in the order they were drawn; the last drawn is in front.
  std::vector<std::string> windows;
  for (const FieldFrame& f : frames) {
    if (std::find(windows.begin(), windows.end(), f.window) == windows.end()) windows.push_back(f.window);
  }
  std::vector<ScreenRect> ordered;
  for (auto window = windows.rbegin(); window != windows.rend(); ++window) {
    for (const FieldFrame& f : frames) {
      if (f.window == *window) ordered.push_back({f.min, f.max});
    }
  }
  return ordered;
}

std::vector<ScreenRect> UiDriver::emptyFields() const {
  std::vector<ScreenRect> empty = fieldFrames();
  std::erase_if(empty, [&](const ScreenRect& r) {
    return std::any_of(shown_.begin(), shown_.end(), [&](const ShownText& s) {
      const ImVec2 c = s.center();
      return c.x >= r.min.x && c.x < r.max.x && c.y >= r.min.y && c.y < r.max.y;
    });
  });
  return empty;
}

std::optional<ScreenRect> UiDriver::labelledField(std::string_view label) const {
  const std::vector<ShownText> labels = find(label);
  if (labels.empty()) return std::nullopt;
  const ShownText& text = labels.front();
  // Dear ImGui draws a label one inner spacing right of its field.
  const float reach = 2 * context_->Style.ItemInnerSpacing.x + 2;
  std::optional<ScreenRect> nearest;
  for (const ScreenRect& r : fieldFrames()) {
    const float gap = text.min.x - r.max.x;
    const float middle = text.center().y;
    if (gap < -1 || gap > reach || middle < r.min.y || middle > r.max.y) continue;
    if (!nearest || r.max.x > nearest->max.x) nearest = r;
  }
  return nearest;
}

ImGuiIO& UiDriver::io() {
  ImGui::SetCurrentContext(context_);
  return ImGui::GetIO();
}

void UiDriver::setMouse(ImVec2 point, bool down) {
  io().MousePos = point;
  io().MouseDown[0] = down;
}

void UiDriver::setMods(Mods mods) {
  ImGuiIO& state = io();
  state.KeyCtrl = mods.ctrl;
  state.KeyShift = mods.shift;
  state.KeyAlt = mods.alt;
}

bool UiDriver::click(std::string_view text, int occurrence, Mods mods) {
  std::vector<ShownText> found = find(text);
  if (occurrence < 0 || occurrence >= static_cast<int>(found.size())) return false;
  clickAt(found[static_cast<size_t>(occurrence)].center(), mods);
  return true;
}

void UiDriver::clickAt(ImVec2 point, Mods mods) {
  // Far enough from the last click that the two do not make a double click.
  double sinceLast = time_ - lastClickTime_;
  double needed = static_cast<double>(io().MouseDoubleClickTime) + static_cast<double>(step_);
  if (sinceLast < needed) nextStep_ = static_cast<float>(needed - sinceLast);
  setMouse(point, false);
  frame();
  setMods(mods);
  setMouse(point, true);
  frame();
  lastClickTime_ = time_;
  setMouse(point, false);
  frame();
  setMods({});
  frame();
}

bool UiDriver::hover(std::string_view text, int occurrence) {
  std::vector<ShownText> found = find(text);
  if (occurrence < 0 || occurrence >= static_cast<int>(found.size())) return false;
  hoverAt(found[static_cast<size_t>(occurrence)].center());
  return true;
}

void UiDriver::hoverAt(ImVec2 point) {
  setMouse(point, false);
  frame();
  frame();
}

void UiDriver::dragAt(ImVec2 from, ImVec2 to) {
  setMouse(from, false);
  frame();
  setMouse(from, true);
  frame();
  constexpr int kSteps = 4;
  for (int i = 1; i <= kSteps; ++i) {
    float t = static_cast<float>(i) / kSteps;
    setMouse(ImVec2(from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t), true);
    frame();
  }
  lastClickTime_ = time_;
  setMouse(to, false);
  frame();
  frame();
}

bool UiDriver::type(std::string_view utf8) {
  const bool fieldFocused = io().WantTextInput;
  std::string text(utf8);
  io().AddInputCharactersUTF8(text.c_str());
  frame();
  frame();
  return fieldFocused;
}

void UiDriver::pressKey(ImGuiKey key, Mods mods) {
  if (key < 0 || key >= ImGuiKey_COUNT) return;
  setMods(mods);
  io().KeysDown[io().KeyMap[key]] = true;
  frame();
  io().KeysDown[io().KeyMap[key]] = false;
  frame();
  setMods({});
  frame();
}

void UiDriver::scrollAt(ImVec2 point, float lines, Mods mods) {
  setMouse(point, false);
  frame();
  setMods(mods);
  io().MouseWheel = lines;
  frame();
  io().MouseWheel = 0;
  setMods({});
  frame();
}

bool UiDriver::waitFor(std::string_view text, int maxFrames) {
  for (int i = 0; !shows(text); ++i) {
    if (i >= maxFrames) return false;
    frame();
  }
  return true;
}

bool UiDriver::waitUntilGone(std::string_view text, int maxFrames) {
  for (int i = 0; shows(text); ++i) {
    if (i >= maxFrames) return false;
    frame();
  }
  return true;
}

std::optional<ScreenRect> UiDriver::windowRect(std::string_view name) const {
  ImGuiContext* previous = ImGui::GetCurrentContext();
  ImGui::SetCurrentContext(context_);
  std::string key(name);
  ImGuiWindow* window = ImGui::FindWindowByName(key.c_str());
  std::optional<ScreenRect> rect;
  if (window && window->WasActive) rect = ScreenRect{window->Pos, window->Pos + window->Size};
  ImGui::SetCurrentContext(previous);
  return rect;
}

bool UiDriver::clickCloseButton(std::string_view name) {
  std::optional<ScreenRect> rect = windowRect(name);
  if (!rect) return false;
  // Dear ImGui puts the close button at the right end of the title bar,
  // one frame padding in from the edge, a font size wide.
  const ImGuiContext& g = *context_;
  ImVec2 center(rect->max.x - g.Style.FramePadding.x - g.FontSize * 0.5f,
                rect->min.y + g.Style.FramePadding.y + g.FontSize * 0.5f);
  clickAt(center);
  return true;
}

bool UiDriver::clickCollapseButton(std::string_view name) {
  std::optional<ScreenRect> rect = windowRect(name);
  if (!rect) return false;
  const ImGuiContext& g = *context_;
  ImVec2 center(rect->min.x + g.Style.FramePadding.x + g.FontSize * 0.5f,
                rect->min.y + g.Style.FramePadding.y + g.FontSize * 0.5f);
  clickAt(center);
  return true;
}

}  // namespace uidriver
