#include "sandbox/UiVerbs.h"

#include <fmt/format.h>
#include <imgui.h>

#include <array>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "pluginsdk/sim/Host.h"
#include "sandbox/OffscreenRenderer.h"
#include "sandbox/Sandbox.h"
#include "sandbox/Screenshot.h"
#include "sandbox/VerbList.h"

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

// A script line holds one line: "\n" in a text stands for a line break,
// "\\" for a backslash.
std::string lineBreaksUnescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[++i] == 'n' ? '\n' : '\\';
    } else {
      out += text[i];
    }
  }
  return out;
}

bool parseCount(const std::string& text, int low, int high, int& value) {
  double number = 0;
  if (!sim::parseNumber(text, number) || number < low || number > high) return false;
  value = static_cast<int>(number);
  return value == number;
}

// The verbs' shared state: what they act on and where they print. Copied
// into every verb, so it must stay small and hold no state of its own. Each
// verb returns "" when it did what its line says, else what went wrong.
class UiVerbs {
 public:
  UiVerbs(Sandbox& sandbox, std::ostream& out) : sandbox_(&sandbox), out_(&out) {}

  void add() const {
    verb("shown", &UiVerbs::shown);
    verb("click", &UiVerbs::click);
    verb("hover", &UiVerbs::hover);
    verb("mouse", &UiVerbs::mouse);
    verb("field", &UiVerbs::field);
    verb("drag", &UiVerbs::drag);
    verb("type", &UiVerbs::type);
    verb("key", &UiVerbs::key);
    verb("scroll", &UiVerbs::scroll);
    verb("wait", &UiVerbs::wait);
    verb("screenshot", &UiVerbs::screenshot);
    verb("clipboard", &UiVerbs::clipboard);
  }

 private:
  using Method = std::string (UiVerbs::*)(const Words&) const;

  void verb(const char* name, Method method) const {
    sandbox_->addVerb(name, [self = *this, method](const Words& words) { return (self.*method)(words); });
  }

  std::string shown(const Words& w) const {
    if (std::string wrong = needs(w, 1, 1); !wrong.empty()) return wrong;
    out() << gui().describe();
    return "";
  }

  std::string click(const Words& w) const {
    int occurrence = 0;
    if (std::string wrong = needs(w, 2, 3); !wrong.empty()) return wrong;
    if (!occurrenceOf(w, occurrence)) return "click: N must be a whole number from 0";
    return gui().click(w[1], occurrence) ? "" : notShown(w[1]);
  }

  std::string hover(const Words& w) const {
    int occurrence = 0;
    if (std::string wrong = needs(w, 2, 3); !wrong.empty()) return wrong;
    if (!occurrenceOf(w, occurrence)) return "hover: N must be a whole number from 0";
    return gui().hover(w[1], occurrence) ? "" : notShown(w[1]);
  }

  std::string mouse(const Words& w) const {
    double x = 0;
    double y = 0;
    if (std::string wrong = needs(w, 3, 3); !wrong.empty()) return wrong;
    if (!sim::parseNumber(w[1], x) || !sim::parseNumber(w[2], y)) return usageLine("mouse");
    gui().hoverAt(ImVec2(static_cast<float>(x), static_cast<float>(y)));
    return "";
  }

  std::string field(const Words& w) const {
    if (std::string wrong = needs(w, 2, 2); !wrong.empty()) return wrong;
    int index = 0;
    std::optional<uidriver::ScreenRect> found;
    if (parseCount(w[1], 0, 1000, index)) {
      const std::vector<uidriver::ScreenRect> empty = gui().emptyFields();
      if (static_cast<size_t>(index) < empty.size()) found = empty[static_cast<size_t>(index)];
    } else {
      found = gui().labelledField(w[1]);
    }
    if (!found) return fmt::format("field: no text field {} is shown", w[1]);
    // Near the left end, where the text of an empty field begins.
    gui().clickAt(ImVec2(found->min.x + 4, found->center().y));
    return "";
  }

  std::string drag(const Words& w) const {
    double dx = 0;
    if (std::string wrong = needs(w, 3, 3); !wrong.empty()) return wrong;
    if (!sim::parseNumber(w[2], dx)) return usageLine("drag");
    auto found = gui().find(w[1]);
    if (found.empty()) return notShown(w[1]);
    const ImVec2 from = found[0].center();
    gui().dragAt(from, ImVec2(from.x + static_cast<float>(dx), from.y));
    return "";
  }

  std::string type(const Words& w) const {
    if (std::string wrong = needs(w, 2, 2); !wrong.empty()) return wrong;
    return gui().type(w[1]) ? "" : "type: no text field has the keyboard focus (click one first)";
  }

  std::string key(const Words& w) const {
    if (std::string wrong = needs(w, 2, 2); !wrong.empty()) return wrong;
    if (auto key = parseKey(w[1])) {
      gui().pressKey(key->first, key->second);
      return "";
    }
    std::string names;
    for (const auto& entry : kKeys) names += fmt::format(" {}", entry.first);
    return fmt::format("unknown key {}; keys:{}", w[1], names);
  }

  std::string scroll(const Words& w) const {
    double lines = 0;
    if (std::string wrong = needs(w, 3, 3); !wrong.empty()) return wrong;
    if (!sim::parseNumber(w[2], lines)) return usageLine("scroll");
    auto found = gui().find(w[1]);
    if (found.empty()) return notShown(w[1]);
    gui().scrollAt(found[0].center(), static_cast<float>(lines));
    return "";
  }

  std::string wait(const Words& w) const {
    int frames = 60;
    if (std::string wrong = needs(w, 2, 3); !wrong.empty()) return wrong;
    if (w.size() == 3 && !parseCount(w[2], 0, 100000, frames)) return usageLine("wait");
    if (!gui().waitFor(w[1], frames)) return fmt::format("{} did not show within {} frames", w[1], frames);
    return "";
  }

  std::string clipboard(const Words& w) const {
    if (std::string wrong = needs(w, 1, 3); !wrong.empty()) return wrong;
    if (w.size() == 3) {
      if (w[1] != "--file") return usageLine("clipboard");
      std::ifstream file(w[2], std::ios::binary);
      if (!file) return fmt::format("clipboard: cannot read {}", w[2]);
      std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
      gui().setClipboard(std::move(bytes));
    } else if (w.size() == 2) {
      gui().setClipboard(lineBreaksUnescaped(w[1]));
    } else {
      out() << gui().clipboard() << (gui().clipboard().ends_with('\n') ? "" : "\n");
    }
    return "";
  }

  std::string screenshot(const Words& w) const {
    if (std::string wrong = needs(w, 2, 2); !wrong.empty()) return wrong;
    const std::string& file = w[1];
    ImGuiContext* context = gui().context();
    ImGui::SetCurrentContext(context);
    ImVec2 size = ImGui::GetIO().DisplaySize;
    OffscreenRenderer offscreen(context, static_cast<int>(size.x), static_cast<int>(size.y));
    if (!offscreen.error().empty()) return fmt::format("no screenshot: {}", offscreen.error());
    // One frame drawn with the renderer's font texture.
    offscreen.beginFrame();
    gui().frame();
    offscreen.render(*ImGui::GetDrawData());
    std::string error = writeScreenshot(offscreen.renderer(), file);
    if (!error.empty()) return fmt::format("no screenshot: {}", error);
    out() << fmt::format("saved {}\n", file);
    return "";
  }

  std::ostream& out() const { return *out_; }
  uidriver::UiDriver& gui() const { return *sandbox_->gui(); }

  // Checks the word count and that there is a shown window to act on: ""
  // when all is well, else why not.
  std::string needs(const Words& words, size_t least, size_t most) const {
    if (words.size() < least || words.size() > most) return usageLine(words[0]);
    if (!sandbox_->gui()) return "the plug-in has no window";
    if (sandbox_->hasFrameDrawer()) {
      // The plug-in then draws into the display's own context.
      return fmt::format("{} works on the headless window only (without --window)", words[0]);
    }
    if (!sandbox_->windowShown()) return "the window is not shown; use: window open";
    return "";
  }

  static bool occurrenceOf(const Words& words, int& occurrence) {
    return words.size() < 3 || parseCount(words[2], 0, 1000, occurrence);
  }

  static std::string notShown(const std::string& text) { return fmt::format("{} is not shown", text); }

  Sandbox* sandbox_;
  std::ostream* out_;
};

}  // namespace

void addUiVerbs(Sandbox& sandbox, std::ostream& out) { UiVerbs(sandbox, out).add(); }
