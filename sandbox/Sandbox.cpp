#include "sandbox/Sandbox.h"

#include <fmt/format.h>
#include <imgui.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "pluginsdk/sim/Motion.h"
#include "sandbox/Fonts.h"
#include "sandbox/UiVerbs.h"
#include "sandbox/VerbList.h"

namespace {

std::string formatVector(const Vector& v) { return fmt::format("({}, {}, {})", v.X, v.Y, v.Z); }

const char* matchName(sim::Match match) {
  switch (match) {
    case sim::Match::Local:
      return "local";
    case sim::Match::Online:
      return "online";
    case sim::Match::None:
      break;
  }
  return "none";
}

}  // namespace

std::filesystem::path defaultHostDir() {
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    return std::filesystem::path(xdg) / "quellmark-training-sandbox";
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local/share/quellmark-training-sandbox";
}

Sandbox::Sandbox(std::filesystem::path hostDir, std::ostream& out) : out_(out), host_(std::move(hostDir)) {
  host_.logSink = [this](const std::string& line) { out_ << line << '\n'; };
  host_.onToggleMenu = [this](const std::string& name) { return toggleMenu(name); };
  addHostVerbs();
  addUiVerbs(*this, out_);
}

Sandbox::~Sandbox() { shutdown(); }

bool Sandbox::loadPlugin(const std::string& libraryPath) {
  if (!loader_.open(libraryPath) || !loader_.load(host_)) {
    out_ << "Could not load the plug-in: " << loader_.error() << '\n';
    return false;
  }
  if (auto* window = loader_.window()) {
    gui_ = std::make_unique<uidriver::UiDriver>();
    ImGuiContext* previous = ImGui::GetCurrentContext();
    ImGui::SetCurrentContext(gui_->context());
    if (std::string missing = loadSandboxFonts(*ImGui::GetIO().Fonts); !missing.empty()) out_ << missing << '\n';
    ImGui::SetCurrentContext(previous);
    window->AdoptGuiContext(reinterpret_cast<uintptr_t>(gui_->context()));
    gui_->setBeforeFrame([this] { host_.tick(); });
    gui_->setDraw([this] {
      if (auto* shown = loader_.window(); shown && windowShown_) shown->Render();
    });
  }
  return true;
}

void Sandbox::shutdown() {
  if (shutDown_) return;
  shutDown_ = true;
  setWindowShown(false);
  // Saved while the plug-in is still loaded, as the host saves its
  // configuration: the keys it bound stay bound at the next start.
  host_.saveConfig();
  loader_.unload();
  host_.releaseCallbacks();
  gui_.reset();
  loader_.close();
}

void Sandbox::addVerb(const std::string& name, Verb verb) {
  if (std::none_of(std::begin(verbList), std::end(verbList), [&](const VerbDoc& doc) { return doc.name == name; })) {
    throw std::logic_error("the verb " + name + " is missing from VerbList.h");
  }
  verbs_[name] = std::move(verb);
}

std::string Sandbox::help() const {
  const VerbPlace here = frameDrawer_ ? VerbPlace::window : VerbPlace::console;
  std::string text = "Host verbs:\n";
  for (const VerbDoc& doc : verbList) {
    const bool works = doc.name == "quit" || (hasVerb(std::string(doc.name)) &&
                                              (doc.place == VerbPlace::anywhere || doc.place == here));
    if (works) text += fmt::format("  {:<28}{}\n", doc.usage, doc.effect);
  }
  text +=
      "Anything else is a host console line: a command, NAME VALUE to set a variable, NAME to\n"
      "print it, bind KEY \"COMMAND\", unbind KEY, togglemenu NAME, exec FILE.\n";
  return text;
}

void Sandbox::addHostVerbs() {
  addVerb("help", [this](const auto&) {
    out_ << help();
    return std::string();
  });
  addVerb("match", [this](const auto& words) {
    const std::string kind = words.size() == 2 ? words[1] : "";
    if (kind == "local") {
      host_.startLocalMatch();
    } else if (kind == "online") {
      host_.startOnlineMatch();
    } else if (kind == "none") {
      host_.leaveMatch();
    } else {
      return usageLine("match");
    }
    return std::string();
  });
  addVerb("press", [this](const auto& words) {
    if (words.size() != 2) return usageLine("press");
    if (!host_.pressKey(words[1])) return fmt::format("{} is not bound", words[1]);
    return std::string();
  });
  addVerb("advance", [this](const auto& words) {
    double seconds = 0;
    if (words.size() != 2 || !sim::parseNumber(words[1], seconds) || seconds < 0 || seconds > 3600) {
      return std::string("usage: advance SECONDS (a number from 0 to 3600)");
    }
    // The window keeps drawing while time passes, as in the game; each
    // frame advances the game one tick.
    const double tick = 1.0 / 120.0;
    double left = seconds;
    for (; drawsFrames() && left >= tick; left -= tick) drawFrame();
    if (left > 0) host_.advance(left);
    return std::string();
  });
  addVerb("motion", [this](const auto& words) {
    const std::string state = words.size() == 2 ? words[1] : "";
    if (state == "on") {
      host_.setWorldStepper(sim::ballStepper());
    } else if (state == "off") {
      host_.setWorldStepper(nullptr);
    } else {
      return usageLine("motion");
    }
    return std::string();
  });
  addVerb("show", [this](const auto& words) {
    if (words.size() > 2) return usageLine("show");
    return printActors(words.size() == 2 ? words[1] : "all");
  });
  addVerb("list", [this](const auto&) {
    listRegistrations();
    return std::string();
  });
  addVerb("window", [this](const auto& words) {
    if (!loader_.window()) return std::string("the plug-in has no window");
    const std::string state = words.size() == 2 ? words[1] : "";
    if (state != "open" && state != "close") return usageLine("window");
    setWindowShown(state == "open");
    return std::string();
  });
  addVerb("frames", [this](const auto& words) {
    double count = 0;
    if (words.size() != 2 || !sim::parseNumber(words[1], count) || count < 0 || count > 100000) {
      return std::string("usage: frames N (0 to 100000)");
    }
    if (!windowShown_) return std::string("the window is not shown; use: window open");
    for (int i = 0; i < static_cast<int>(count) && windowShown_; ++i) drawFrame();
    return std::string();
  });
}

Sandbox::LineResult Sandbox::runLine(const std::string& line) {
  std::vector<std::string> words = sim::splitCommandLine(line);
  if (words.empty() || words[0].rfind('#', 0) == 0) return LineResult::done;
  if (words[0] == "quit" || words[0] == "exit") return LineResult::quit;
  if (auto verb = verbs_.find(words[0]); verb != verbs_.end()) {
    const std::string failure = verb->second(words);
    if (failure.empty()) return LineResult::done;
    out_ << failure << '\n';
    return LineResult::failed;
  }
  // The host says why when it cannot.
  return host_.execute(line) ? LineResult::done : LineResult::failed;
}

Sandbox::LineResult Sandbox::runScriptLine(const std::string& line, const std::string& where) {
  const LineResult result = runLine(line);
  if (result != LineResult::failed) return result;
  failedLines_.push_back({where, line});
  return keepGoing_ ? LineResult::done : LineResult::failed;
}

Sandbox::LineResult Sandbox::runScript(const std::filesystem::path& script) {
  std::ifstream in(script);
  if (!in) {
    out_ << "Cannot read script " << script.string() << '\n';
    failedLines_.push_back({script.string(), "(the script cannot be read)"});
    return LineResult::failed;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const LineResult result = runScriptLine(line, fmt::format("{}:{}", script.string(), number));
    if (result != LineResult::done) return result;
  }
  return LineResult::done;
}

std::string Sandbox::failureReport() const {
  if (failedLines_.empty()) return "";
  std::string report = failedLines_.size() == 1 ? std::string("1 script line failed:\n")
                                                : fmt::format("{} script lines failed:\n", failedLines_.size());
  for (const FailedLine& failed : failedLines_) report += fmt::format("  {}: {}\n", failed.where, failed.line);
  return report;
}

bool Sandbox::toggleMenu(const std::string& name) {
  auto* window = loader_.window();
  if (!window || name != window->MenuName()) {
    out_ << fmt::format("togglemenu: no menu named {}\n", name);
    return false;
  }
  setWindowShown(!windowShown_);
  return true;
}

void Sandbox::setWindowShown(bool shown) {
  auto* window = loader_.window();
  if (!window || shown == windowShown_) return;
  windowShown_ = shown;
  if (shown) {
    window->WindowOpened();
  } else {
    window->WindowClosed();
  }
}

void Sandbox::drawFrame() {
  if (frameDrawer_) {
    host_.tick();
    frameDrawer_();
  } else if (gui_ && windowShown_) {
    gui_->frame();  // its hook ticks the game
  }
}

std::string Sandbox::printActors(const std::string& which) {
  bool all = which == "all";
  if (!all && which != "ball" && which != "car" && which != "server") return usageLine("show");
  if (all || which == "server") {
    sim::Server* server = host_.server();
    out_ << fmt::format("server match={} maxscore={} time={:.3f}\n", matchName(host_.match()),
                        server ? std::to_string(server->maxScore) : "-", host_.now());
  }
  if (all || which == "ball") {
    if (sim::Ball* ball = host_.ball()) {
      out_ << fmt::format("ball location={} velocity={} hitteam={} godball={} carhitteam={} targetspeed={}\n",
                          formatVector(ball->location), formatVector(ball->velocity), ball->hitTeam,
                          ball->godBall ? 1 : 0, ball->carHitTeam, ball->targetSpeed);
    } else {
      out_ << "ball none (no local match)\n";
    }
  }
  if (all || which == "car") {
    if (sim::Car* car = host_.car()) {
      out_ << fmt::format("car location={} rotation=({}, {}, {}) velocity={}\n", formatVector(car->location),
                          car->rotation.Pitch, car->rotation.Yaw, car->rotation.Roll,
                          formatVector(car->velocity));
    } else {
      out_ << "car none (no local match)\n";
    }
  }
  return "";
}

void Sandbox::listRegistrations() {
  out_ << fmt::format("commands ({}):\n", host_.notifierOrder().size());
  for (const std::string& name : host_.notifierOrder()) out_ << "  " << name << '\n';
  out_ << fmt::format("variables ({}):\n", host_.cvarOrder().size());
  for (const std::string& name : host_.cvarOrder()) {
    const sim::CVarRecord* cvar = host_.findCvar(name);
    out_ << fmt::format("  {} = \"{}\" (default \"{}\") {}\n", name, cvar->value, cvar->defaultValue,
                        cvar->description);
  }
}
