#include "sandbox/WindowHost.h"

#include <fmt/format.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "pluginsdk/sim/Motion.h"
#include "sandbox/ArenaView.h"
#include "sandbox/Fonts.h"
#include "sandbox/Screenshot.h"
#include "sandbox/VerbList.h"

namespace {

constexpr float kConsoleHeight = 240;
// The arena takes the right part of the window, leaving the plug-in's window
// room on the left (it opens about 1000 pixels wide) so that it does not
// hide the field.
constexpr float kArenaShare = 0.4f;
constexpr float kArenaMinWidth = 320;
constexpr float kPluginRoom = 1024;
constexpr double kLongestTick = 0.1;  // after a stall the game does not jump ahead
constexpr Uint32 kFrameMillis = 16;   // pace for renderers without vsync
constexpr const char* kVerbs[] = {"key", "mouse", "screenshot", "arena"};

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// SDL falls back to drivers that show nothing when no display answers.
bool showsWindows(const char* videoDriver) {
  return videoDriver && std::strcmp(videoDriver, "dummy") != 0 && std::strcmp(videoDriver, "offscreen") != 0;
}

}  // namespace


bool WindowHost::displayAvailable() {
  if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) return false;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const bool shows = showsWindows(SDL_GetCurrentVideoDriver());
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return shows;
}

WindowHost::WindowHost(Sandbox& sandbox, ConsoleLog& console) : sandbox_(sandbox), console_(console) {}

WindowHost::~WindowHost() { close(); }

bool WindowHost::open(Display display, int width, int height) {
  if (window_) return true;
  offscreen_ = display == Display::Offscreen;
  pointerPlaced_ = false;
  if (offscreen_) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error_ = fmt::format("SDL cannot start its video: {}", SDL_GetError());
    return false;
  }
  sdlStarted_ = true;
  if (display == Display::Screen && !showsWindows(SDL_GetCurrentVideoDriver())) {
    error_ = fmt::format("no display to show a window on (SDL found only its {} video driver)",
                         SDL_GetCurrentVideoDriver());
    close();
    return false;
  }
  // Without controller support the window still works with keyboard and mouse.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    console_ << fmt::format("Game controllers are not available: {}\n", SDL_GetError());
  }

  const Uint32 flags = SDL_WINDOW_RESIZABLE | (display == Display::Offscreen ? SDL_WINDOW_HIDDEN : 0);
  window_ = SDL_CreateWindow("Quellmark Training sandbox", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                             height, flags);
  if (!window_) {
    error_ = fmt::format("SDL cannot open a window: {}", SDL_GetError());
    close();
    return false;
  }
  if (display == Display::Screen) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
  }
  if (!renderer_) {
    // Drawing in software needs no OpenGL; without the hint SDL opens a test
    // OpenGL context to choose how to show the pixels.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (!renderer_) {
    error_ = fmt::format("SDL cannot draw in the window: {}", SDL_GetError());
    close();
    return false;
  }

  context_ = ImGui::CreateContext();
  ImGui::SetCurrentContext(context_);
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // no imgui.ini: runs must not leak into each other
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  if (std::string missing = loadSandboxFonts(*io.Fonts); !missing.empty()) console_ << missing << '\n';
  ImGui_ImplSDL2_InitForSDLRenderer(window_);
  ImGui_ImplSDLRenderer_Init(renderer_);
  backendsStarted_ = true;

  if (auto* plugin = sandbox_.loader().window()) plugin->AdoptGuiContext(reinterpret_cast<uintptr_t>(context_));
  sandbox_.host().setWorldStepper(sim::ballStepper());
  sandbox_.setFrameDrawer([this] { frame(); });
  addVerbs();
  return true;
}

void WindowHost::close() {
  if (!sdlStarted_) return;
  sandbox_.setFrameDrawer(nullptr);
  for (const char* verb : kVerbs) sandbox_.removeVerb(verb);
  // A plug-in still loaded must not keep a context that is about to go.
  if (auto* plugin = sandbox_.loader().window(); plugin && context_) plugin->AdoptGuiContext(0);
  if (backendsStarted_) {
    ImGui::SetCurrentContext(context_);
    ImGui_ImplSDLRenderer_Shutdown();
    ImGui_ImplSDL2_Shutdown();
    backendsStarted_ = false;
  }
  if (context_) ImGui::DestroyContext(context_);
  context_ = nullptr;
  for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
  controllers_.clear();
  if (renderer_) SDL_DestroyRenderer(renderer_);
  renderer_ = nullptr;
  if (window_) SDL_DestroyWindow(window_);
  window_ = nullptr;
  SDL_Quit();
  sdlStarted_ = false;
}

void WindowHost::addVerbs() {
  sandbox_.addVerb("key", [this](const std::vector<std::string>& words) {
    if (words.size() != 2) return usageLine("key", VerbPlace::window);
    if (!sendKey(words[1])) return fmt::format("{} is no key the window knows", words[1]);
    return std::string();
  });
  sandbox_.addVerb("mouse", [this](const std::vector<std::string>& words) {
    double x = 0;
    double y = 0;
    if (words.size() != 3 || !sim::parseNumber(words[1], x) || !sim::parseNumber(words[2], y) || x < 0 || y < 0 ||
        x > 100000 || y > 100000) {
      return std::string("usage: mouse X Y (pixels from the window's top left corner)");
    }
    moveMouse(static_cast<int>(x), static_cast<int>(y));
    return std::string();
  });
  sandbox_.addVerb("arena", [this](const std::vector<std::string>&) {
    for (const std::string& line : arenaReadout(sandbox_.host().server(), trail_)) console_ << line << '\n';
    return std::string();
  });
  sandbox_.addVerb("screenshot", [this](const std::vector<std::string>& words) {
    if (words.size() != 2) return usageLine("screenshot", VerbPlace::window);
    std::string failure = screenshot(words[1]);
    if (!failure.empty()) return fmt::format("Could not write the screenshot {}: {}", words[1], failure);
    console_ << fmt::format("Screenshot written to {}\n", words[1]);
    return std::string();
  });
}

void WindowHost::run() {
  Uint64 last = SDL_GetPerformanceCounter();
  const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
  while (!quit_ && window_) {
    const Uint32 started = SDL_GetTicks();
    const Uint64 now = SDL_GetPerformanceCounter();
    sandbox_.host().advance(std::min(static_cast<double>(now - last) / frequency, kLongestTick));
    last = now;
    frame();
    // Lines typed into the console run here, between frames: a line such as
    // "advance 2" draws frames of its own.
    std::vector<std::string> lines = std::move(typedLines_);
    typedLines_.clear();
    for (const std::string& line : lines) {
      if (!quit_) runLine(line);
    }
    const Uint32 spent = SDL_GetTicks() - started;
    if (spent < kFrameMillis) SDL_Delay(kFrameMillis - spent);
  }
}

void WindowHost::runLine(const std::string& line) {
  console_ << "] " << line << '\n';
  if (sandbox_.runLine(line) == Sandbox::LineResult::quit) quit_ = true;
}

std::string WindowHost::screenshot(const std::filesystem::path& file) {
  if (!window_) return "the window is not open";
  pendingScreenshot_ = file;
  screenshotResult_ = "no frame was drawn";
  frame();
  pendingScreenshot_.clear();
  return screenshotResult_;
}

void WindowHost::frame() {
  if (inFrame_ || !window_) return;
  inFrame_ = true;
  ImGui::SetCurrentContext(context_);
  SDL_Event event;
  while (SDL_PollEvent(&event)) handleEvent(event);

  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGuiIO& io = ImGui::GetIO();
  if (io.DeltaTime <= 0) io.DeltaTime = 1e-4f;  // two frames within one counter tick
  if (pointerPlaced_) io.MousePos = ImVec2(static_cast<float>(pointerX_), static_cast<float>(pointerY_));
  ImGui::NewFrame();

  const float menuHeight = drawMenuBar();
  const float width = io.DisplaySize.x;
  const float height = io.DisplaySize.y;
  const float arenaWidth = std::min(std::max(width * kArenaShare, std::min(kArenaMinWidth, width)),
                                    std::max(width - kPluginRoom, std::min(kArenaMinWidth, width)));
  const float arenaLeft = width - arenaWidth;
  if (const sim::Ball* ball = sandbox_.host().ball()) {
    const Vector& v = ball->velocity;
    trail_.record(ball->location, v.X != 0 || v.Y != 0 || v.Z != 0);
  } else {
    trail_.clear();
  }
  drawArena(*ImGui::GetBackgroundDrawList(), {arenaLeft, menuHeight, arenaWidth, height - menuHeight},
            sandbox_.host().server(), trail_);
  drawConsolePanel(0, std::max(menuHeight, height - kConsoleHeight), std::max(arenaLeft, 1.0f),
                   std::min(kConsoleHeight, height - menuHeight));
  if (auto* plugin = sandbox_.loader().window(); plugin && sandbox_.windowShown()) {
    // Where the host first puts a plug-in's window; the player may move it.
    ImGui::SetNextWindowPos(ImVec2(8, menuHeight + 8), ImGuiCond_FirstUseEver);
    plugin->Render();
  }
  ImGui::Render();

  SDL_SetRenderDrawColor(renderer_, 18, 20, 24, 255);
  SDL_RenderClear(renderer_);
  ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
  if (!pendingScreenshot_.empty()) {
    screenshotResult_ = writeScreenshot(renderer_, pendingScreenshot_);
    pendingScreenshot_.clear();
  }
  SDL_RenderPresent(renderer_);
  inFrame_ = false;
}
