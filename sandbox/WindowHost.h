#pragma once
// The sandbox host in a real desktop window (SDL2, with Dear ImGui's SDL
// platform and SDL-renderer backends). It shows what the real host shows
// around a plug-in: a menu bar whose entry opens and closes the plug-in's
// window (by "togglemenu", so the plug-in's own close command works), a
// console panel with the log lines and a command line that takes the same
// lines as a script, the plug-in's window while it is shown, and behind them
// all the arena view of the simulated match, where the ball moves.
//
// Keyboard keys, mouse buttons and game-controller buttons reach the host's
// key binds by their engine names (see SdlKeyMap.h), unless the plug-in's
// shown window wants the input or a text field has focus; the plug-in's
// window gets Dear ImGui's input either way, as in the real host.
//
// Time: while a script runs, the game clock moves only by "advance" (each
// tick drawing a frame); once the window runs on its own, the clock follows
// real time.

#include <SDL.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sandbox/ArenaView.h"
#include "sandbox/ConsoleLog.h"
#include "sandbox/Sandbox.h"
#include "sandbox/SdlKeyMap.h"

struct ImGuiContext;

// Who has the input at the moment of a press.
struct InputFocus {
  bool pluginWindowShown = false;
  bool pluginWantsInput = false;  // the plug-in's WantsInput()
  bool guiWantsMouse = false;     // the mouse is over a panel or window
  bool textFieldActive = false;   // a text field has keyboard focus
};

// Whether a press on `device` reaches the host's key binds.
bool pressReachesBinds(SdlInput::Device device, const InputFocus& focus);

class WindowHost {
 public:
  enum class Display {
    Screen,     // a window on the desktop
    Offscreen,  // SDL's offscreen driver: nothing shown, frames still drawn (screenshots, tests)
  };

  // True when a desktop is there to show a window on: DISPLAY or
  // WAYLAND_DISPLAY is set and SDL's video starts with a real driver.
  static bool displayAvailable();

  // The sandbox's plug-in must be loaded before open(). Lines the window
  // prints go to `console`, which should be the sandbox's output stream.
  WindowHost(Sandbox& sandbox, ConsoleLog& console);
  ~WindowHost();
  WindowHost(const WindowHost&) = delete;
  WindowHost& operator=(const WindowHost&) = delete;

  // Opens the window, hands the plug-in its Dear ImGui context, starts the
  // ball's motion, makes the sandbox draw its frames here and adds the verbs
  // "key", "mouse", "screenshot" and "arena". False, with error() saying why, when
  // SDL cannot.
  bool open(Display display, int width = 1440, int height = 900);
  // Draws frames in real time until the window is closed or a line says quit.
  void run();
  // Closes the window and removes its verbs. A plug-in still loaded is left
  // with no Dear ImGui context, so close after the sandbox's shutdown.
  void close();

  // One frame: input, the host's view, the plug-in's window, present.
  void frame();
  // Sends a key by engine name through SDL's event queue, as a player's
  // press and release, and draws a frame to handle it. False for a name no
  // input has.
  bool sendKey(const std::string& engineName);
  // Puts the mouse pointer on a pixel of the window and draws a frame. Where
  // the pointer is decides whether a press goes to a panel or to the binds.
  // Offscreen, where no pointer can enter the window, the window takes the
  // point as the pointer's from then on.
  void moveMouse(int x, int y);
  // Writes the next frame to a PNG file; "" on success, else why not.
  std::string screenshot(const std::filesystem::path& file);

  bool quitRequested() const { return quit_; }
  const std::string& error() const { return error_; }
  InputFocus inputFocus() const;

 private:
  void handleEvent(const SDL_Event& event);
  void press(SdlInput input);
  void runLine(const std::string& line);
  float drawMenuBar();
  void drawConsolePanel(float left, float top, float width, float height);
  void addVerbs();

  Sandbox& sandbox_;
  ConsoleLog& console_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  ImGuiContext* context_ = nullptr;
  bool sdlStarted_ = false;
  bool offscreen_ = false;
  bool pointerPlaced_ = false;  // offscreen: moveMouse gave the pointer's pixel
  int pointerX_ = 0;
  int pointerY_ = 0;
  bool backendsStarted_ = false;
  std::vector<SDL_GameController*> controllers_;
  TriggerLatch triggers_[2];
  BallTrail trail_;
  bool inFrame_ = false;
  bool quit_ = false;
  std::string error_;
  std::filesystem::path pendingScreenshot_;
  std::string screenshotResult_;
  char command_[512] = {};
  size_t shownLineCount_ = 0;
  std::vector<std::string> typedLines_;  // run between frames, never inside one
};
