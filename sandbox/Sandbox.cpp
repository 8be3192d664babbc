#include "sandbox/Sandbox.h"

#include <fmt/format.h>

#include <cstdlib>
#include <fstream>

#include "sandbox/UiVerbs.h"

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
  host_.onToggleMenu = [this](const std::string& name) { toggleMenu(name); };
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
  loader_.unload();
  host_.saveConfig();
  host_.releaseCallbacks();
  gui_.reset();
  loader_.close();
}

void Sandbox::addVerb(std::string name, std::string usage, Verb verb) {
  verbs_[std::move(name)] = {std::move(usage), std::move(verb)};
}

std::string Sandbox::help() const {
  std::string text = "Host verbs:\n";
  for (const auto& [name, verb] : verbs_) text += fmt::format("  {}\n", verb.usage);
  text +=
      "Anything else is a host console line: a command, NAME VALUE to set a variable, NAME to\n"
      "print it, bind KEY \"COMMAND\", unbind KEY, togglemenu NAME, exec FILE.\n";
  return text;
}

void Sandbox::addHostVerbs() {
  addVerb("help", "help                      this text", [this](const auto&) { out_ << help(); });
  addVerb("match", "match local|online|none   start a local or online match, or leave it",
          [this](const auto& words) {
            std::string kind = words.size() > 1 ? words[1] : "";
            if (kind == "local") {
              host_.startLocalMatch();
            } else if (kind == "online") {
              host_.startOnlineMatch();
            } else if (kind == "none") {
              host_.leaveMatch();
            } else {
              out_ << "usage: match local|online|none\n";
            }
          });
  addVerb("press", "press KEY                 press a key by its engine name", [this](const auto& words) {
    if (words.size() != 2) {
      out_ << "usage: press KEY\n";
    } else if (!host_.pressKey(words[1])) {
      out_ << fmt::format("{} is not bound\n", words[1]);
    }
  });
  addVerb("advance", "advance SECONDS           advance the game clock", [this](const auto& words) {
    double seconds = 0;
    if (words.size() != 2 || !sim::parseNumber(words[1], seconds) || seconds < 0 || seconds > 3600) {
      out_ << "usage: advance SECONDS (a number from 0 to 3600)\n";
      return;
    }
    // The window keeps drawing while time passes, as in the game; each
    // frame advances the game one tick.
    const double tick = 1.0 / 120.0;
    double left = seconds;
    for (; drawsFrames() && left >= tick; left -= tick) drawFrame();
    if (left > 0) host_.advance(left);
  });
  addVerb("show", "show ball|car|server|all  print the game objects",
          [this](const auto& words) { printActors(words.size() > 1 ? words[1] : "all"); });
  addVerb("list", "list                      list registered commands and variables",
          [this](const auto&) { listRegistrations(); });
  addVerb("window", "window open|close         show or hide the plug-in's window", [this](const auto& words) {
    std::string state = words.size() > 1 ? words[1] : "";
    if (!loader_.window() || (state != "open" && state != "close")) {
      out_ << (loader_.window() ? "usage: window open|close\n" : "the plug-in has no window\n");
      return;
    }
    setWindowShown(state == "open");
  });
  addVerb("frames", "frames N                  draw N frames of the shown window", [this](const auto& words) {
    double count = 0;
    if (words.size() != 2 || !sim::parseNumber(words[1], count) || count < 0 || count > 100000) {
      out_ << "usage: frames N (0 to 100000)\n";
      return;
    }
    if (!windowShown_) out_ << "the window is not shown; use: window open\n";
    for (int i = 0; i < static_cast<int>(count) && windowShown_; ++i) drawFrame();
  });
}

bool Sandbox::runLine(const std::string& line) {
  std::vector<std::string> words = sim::splitCommandLine(line);
  if (words.empty() || words[0].rfind('#', 0) == 0) return true;
  if (words[0] == "quit" || words[0] == "exit") return false;
  if (auto verb = verbs_.find(words[0]); verb != verbs_.end()) {
    verb->second.run(words);
  } else {
    host_.execute(line);
  }
  return true;
}

bool Sandbox::runScript(const std::filesystem::path& script) {
  std::ifstream in(script);
  if (!in) {
    out_ << "Cannot read script " << script.string() << '\n';
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!runLine(line)) return false;
  }
  return true;
}

void Sandbox::toggleMenu(const std::string& name) {
  auto* window = loader_.window();
  if (!window || name != window->MenuName()) {
    out_ << fmt::format("togglemenu: no menu named {}\n", name);
    return;
  }
  setWindowShown(!windowShown_);
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

void Sandbox::printActors(const std::string& which) {
  bool all = which == "all";
  if (!all && which != "ball" && which != "car" && which != "server") {
    out_ << "usage: show ball|car|server|all\n";
    return;
  }
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
