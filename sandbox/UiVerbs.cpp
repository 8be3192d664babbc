#include "sandbox/UiVerbs.h"

#include <fmt/format.h>
#include <imgui.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pluginsdk/sim/Host.h"
#include "sandbox/OffscreenRenderer.h"
#include "sandbox/Sandbox.h"
#include "sandbox/Screenshot.h"

namespace {

using Words = std::vector<std::string>;

constexpr std::array<std::pair<std::string_view, ImGuiKey>, 22> kKeys{{
    {"Tab", ImGuiKey_Tab},         {"Left", ImGuiKey_LeftArrow},     {"Right", ImGuiKey_RightArrow},
    {"Up", ImGuiKey_UpArrow},      {"Down", ImGuiKey_DownArrow},     {"PageUp", ImGuiKey_PageUp},
    {"PageDown", ImGuiKey_PageDown}, {"Home", ImGuiKey_Home},        {"End", ImGuiKey_End},
    {"Insert", ImGuiKey_Insert},   {"Delete", ImGuiKey_Delete},      {"Backspace", ImGuiKey_Backspace},
    {"Space", ImGuiKey_Space},     {"Enter", ImGuiKey_Enter},        {"Escape", ImGuiKey_Escape},
    {"KeyPadEnter", ImGuiKey_KeyPadEnter}, {"A", ImGuiKey_A},        {"C", ImGuiKey_C},
    {"V", ImGuiKey_V},             {"X", ImGuiKey_X},                {"Y", ImGuiKey_Y},
    {"Z", ImGuiKey_Z},
}};

// "ctrl+shift+Tab" -> the key and its modifiers.
std::optional<std::pair<ImGuiKey, uidriver::Mods>> parseKey(std::string_view text) {
  uidriver::Mods mods;
  for (size_t plus = text.find('+'); plus != std::string_view::npos && plus + 1 < text.size();
       plus = text.find('+')) {
    std::string_view mod = text.substr(0, plus);
    if (mod == "ctrl") {
      mods.ctrl = true;
    } else if (mod == "shift") {
      mods.shift = true;
    } else if (mod == "alt") {
      mods.alt = true;
    } else {
      return std::nullopt;
    }
    text.remove_prefix(plus + 1);
  }
  for (const auto& [name, key] : kKeys) {
    if (name == text) return std::make_pair(key, mods);
  }
  return std::nullopt;
}

bool parseCount(const std::string& text, int low, int high, int& value) {
  double number = 0;
  if (!sim::parseNumber(text, number) || number < low || number > high) return false;
  value = static_cast<int>(number);
  return value == number;
}

// The verbs' shared state: what they act on and where they print. Copied
// into every verb, so it must stay small and hold no state of its own.
class UiVerbs {
 public:
  UiVerbs(Sandbox& sandbox, std::ostream& out) : sandbox_(&sandbox), out_(&out) {}

  void add() const {
    verb("shown", "shown                     print the text the window shows (x,y  text)", &UiVerbs::shown);
    verb("click", "click TEXT [N]            click the (N-th) shown TEXT", &UiVerbs::click);
    verb("hover", "hover TEXT [N]            move the mouse over the (N-th) shown TEXT", &UiVerbs::hover);
    verb("mouse", "mouse X Y                 move the mouse to a point of the display", &UiVerbs::mouse);
    verb("type", "type TEXT                 type TEXT into the focused field", &UiVerbs::type);
    verb("key", "key [ctrl+|shift+|alt+]KEY  press a key in the window (Enter, Tab, Escape, ...)", &UiVerbs::key);
    verb("scroll", "scroll TEXT LINES         turn the wheel over TEXT (negative: down)", &UiVerbs::scroll);
    verb("wait", "wait TEXT [FRAMES]        draw frames until TEXT shows (at most 60)", &UiVerbs::wait);
    verb("screenshot", "screenshot FILE.png       save the window as the player sees it", &UiVerbs::screenshot);
    verb("clipboard", "clipboard [TEXT]          print the window's clipboard, or put TEXT on it", &UiVerbs::clipboard);
  }

 private:
  using Method = void (UiVerbs::*)(const Words&) const;

  void verb(const char* name, const char* usage, Method method) const {
    sandbox_->addVerb(name, usage, [self = *this, method](const Words& words) { (self.*method)(words); });
  }

  void shown(const Words& w) const {
    if (needs(w, 1, 1, "shown")) out() << gui().describe();
  }

  void click(const Words& w) const {
    int occurrence = 0;
    if (!needs(w, 2, 3, "click TEXT [N]") || !occurrenceOf(w, occurrence)) return;
    if (!gui().click(w[1], occurrence)) notShown(w[1]);
  }

  void hover(const Words& w) const {
    int occurrence = 0;
    if (!needs(w, 2, 3, "hover TEXT [N]") || !occurrenceOf(w, occurrence)) return;
    if (!gui().hover(w[1], occurrence)) notShown(w[1]);
  }

  void mouse(const Words& w) const {
    double x = 0;
    double y = 0;
    if (!needs(w, 3, 3, "mouse X Y")) return;
    if (!sim::parseNumber(w[1], x) || !sim::parseNumber(w[2], y)) {
      out() << "usage: mouse X Y\n";
      return;
    }
    gui().hoverAt(ImVec2(static_cast<float>(x), static_cast<float>(y)));
  }

  void type(const Words& w) const {
    if (needs(w, 2, 2, "type TEXT")) gui().type(w[1]);
  }

  void key(const Words& w) const {
    if (!needs(w, 2, 2, "key [ctrl+|shift+|alt+]KEY")) return;
    if (auto key = parseKey(w[1])) {
      gui().pressKey(key->first, key->second);
      return;
    }
    std::string names;
    for (const auto& entry : kKeys) names += fmt::format(" {}", entry.first);
    out() << fmt::format("unknown key {}; keys:{}\n", w[1], names);
  }

  void scroll(const Words& w) const {
    double lines = 0;
    if (!needs(w, 3, 3, "scroll TEXT LINES")) return;
    if (!sim::parseNumber(w[2], lines)) {
      out() << "usage: scroll TEXT LINES\n";
      return;
    }
    auto found = gui().find(w[1]);
    if (found.empty()) return notShown(w[1]);
    gui().scrollAt(found[0].center(), static_cast<float>(lines));
  }

  void wait(const Words& w) const {
    int frames = 60;
    if (!needs(w, 2, 3, "wait TEXT [FRAMES]")) return;
    if (w.size() == 3 && !parseCount(w[2], 0, 100000, frames)) {
      out() << "usage: wait TEXT [FRAMES]\n";
      return;
    }
    if (!gui().waitFor(w[1], frames)) out() << fmt::format("{} did not show within {} frames\n", w[1], frames);
  }

  void clipboard(const Words& w) const {
    if (!needs(w, 1, 2, "clipboard [TEXT]")) return;
    if (w.size() == 2) {
      gui().setClipboard(w[1]);
    } else {
      out() << gui().clipboard() << (gui().clipboard().ends_with('\n') ? "" : "\n");
    }
  }

  void screenshot(const Words& w) const {
    if (!needs(w, 2, 2, "screenshot FILE.png")) return;
    const std::string& file = w[1];
    ImGuiContext* context = gui().context();
    ImGui::SetCurrentContext(context);
    ImVec2 size = ImGui::GetIO().DisplaySize;
    OffscreenRenderer offscreen(context, static_cast<int>(size.x), static_cast<int>(size.y));
    if (!offscreen.error().empty()) {
      out() << fmt::format("no screenshot: {}\n", offscreen.error());
      return;
    }
    // One frame drawn with the renderer's font texture.
    offscreen.beginFrame();
    gui().frame();
    offscreen.render(*ImGui::GetDrawData());
    std::string error = writeScreenshot(offscreen.renderer(), file);
    if (!error.empty()) {
      out() << fmt::format("no screenshot: {}\n", error);
    } else {
      out() << fmt::format("saved {}\n", file);
    }
  }

  std::ostream& out() const { return *out_; }
  uidriver::UiDriver& gui() const { return *sandbox_->gui(); }

  // Checks the word count and that there is a shown window to act on.
  bool needs(const Words& words, size_t least, size_t most, const char* usage) const {
    if (words.size() < least || words.size() > most) {
      out() << "usage: " << usage << '\n';
      return false;
    }
    if (!sandbox_->gui()) {
      out() << "the plug-in has no window\n";
      return false;
    }
    if (sandbox_->hasFrameDrawer()) {
      // The plug-in then draws into the display's own context.
      out() << fmt::format("{} works on the headless window only (without --window)\n", words[0]);
      return false;
    }
    if (!sandbox_->windowShown()) {
      out() << "the window is not shown; use: window open\n";
      return false;
    }
    return true;
  }

  bool occurrenceOf(const Words& words, int& occurrence) const {
    if (words.size() < 3) return true;
    if (parseCount(words[2], 0, 1000, occurrence)) return true;
    out() << fmt::format("{}: N must be a whole number from 0\n", words[0]);
    return false;
  }

  void notShown(const std::string& text) const { out() << fmt::format("{} is not shown\n", text); }

  Sandbox* sandbox_;
  std::ostream* out_;
};

}  // namespace

void addUiVerbs(Sandbox& sandbox, std::ostream& out) { UiVerbs(sandbox, out).add(); }
