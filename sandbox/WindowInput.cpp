// The host window's input: which presses reach the key binds, and the keys
// and pointer moves a script sends through SDL's event queue.

#include <imgui.h>
#include <imgui_impl_sdl.h>

#include <algorithm>

#include "sandbox/WindowHost.h"

bool pressReachesBinds(SdlInput::Device device, const InputFocus& focus) {
  if (focus.pluginWindowShown && focus.pluginWantsInput) return false;
  if (device == SdlInput::Device::MouseButton || device == SdlInput::Device::MouseWheel) {
    return !focus.guiWantsMouse;
  }
  return !focus.textFieldActive;  // keys and controller buttons alike
}

InputFocus WindowHost::inputFocus() const {
  InputFocus focus;
  if (!context_) return focus;
  auto* plugin = sandbox_.loader().window();
  focus.pluginWindowShown = plugin && sandbox_.windowShown();
  focus.pluginWantsInput = focus.pluginWindowShown && plugin->WantsInput();
  const ImGuiIO& io = ImGui::GetIO();
  focus.guiWantsMouse = io.WantCaptureMouse;
  focus.textFieldActive = io.WantTextInput;
  return focus;
}

void WindowHost::press(SdlInput input) {
  const std::string_view name = engineKeyName(input);
  if (name.empty() || !pressReachesBinds(input.device, inputFocus())) return;
  sandbox_.host().pressKey(std::string(name));
}

void WindowHost::handleEvent(const SDL_Event& event) {
  ImGui_ImplSDL2_ProcessEvent(&event);
  switch (event.type) {
    case SDL_QUIT:
      quit_ = true;
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) quit_ = true;
      break;
    case SDL_KEYDOWN:
      if (!event.key.repeat) press({SdlInput::Device::Keyboard, event.key.keysym.scancode});
      break;
    case SDL_MOUSEBUTTONDOWN:
      press({SdlInput::Device::MouseButton, event.button.button});
      break;
    case SDL_MOUSEWHEEL: {
      int notches = event.wheel.y;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      if (notches != 0) press({SdlInput::Device::MouseWheel, notches > 0 ? 1 : -1});
      break;
    }
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
        controllers_.push_back(controller);
      }
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      if (SDL_GameController* controller = SDL_GameControllerFromInstanceID(event.cdevice.which)) {
        std::erase(controllers_, controller);
        SDL_GameControllerClose(controller);
      }
      break;
    case SDL_CONTROLLERBUTTONDOWN:
      press({SdlInput::Device::ControllerButton, event.cbutton.button});
      break;
    case SDL_CONTROLLERAXISMOTION: {
      const int axis = event.caxis.axis;
      if (axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) {
        TriggerLatch& latch = triggers_[axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? 0 : 1];
        if (latch.update(event.caxis.value)) press({SdlInput::Device::ControllerTrigger, axis});
      }
      break;
    }
    default:
      break;
  }
}

bool WindowHost::sendKey(const std::string& engineName) {
  const std::optional<SdlInput> input = sdlInputForKey(engineName);
  if (!input || !window_) return false;
  SDL_Event down{};
  SDL_Event up{};
  const Uint32 windowId = SDL_GetWindowID(window_);
  switch (input->device) {
    case SdlInput::Device::Keyboard:
      down.type = SDL_KEYDOWN;
      down.key.windowID = windowId;
      down.key.state = SDL_PRESSED;
      down.key.keysym.scancode = static_cast<SDL_Scancode>(input->code);
      down.key.keysym.sym = SDL_GetKeyFromScancode(down.key.keysym.scancode);
      up = down;
      up.type = SDL_KEYUP;
      up.key.state = SDL_RELEASED;
      break;
    case SdlInput::Device::MouseButton:
      down.type = SDL_MOUSEBUTTONDOWN;
      down.button.windowID = windowId;
      down.button.button = static_cast<Uint8>(input->code);
      down.button.state = SDL_PRESSED;
      down.button.clicks = 1;
      up = down;
      up.type = SDL_MOUSEBUTTONUP;
      up.button.state = SDL_RELEASED;
      break;
    case SdlInput::Device::MouseWheel:
      down.type = SDL_MOUSEWHEEL;
      down.wheel.windowID = windowId;
      down.wheel.y = input->code;
      down.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
      break;
    case SdlInput::Device::ControllerButton:
      down.type = SDL_CONTROLLERBUTTONDOWN;
      down.cbutton.button = static_cast<Uint8>(input->code);
      down.cbutton.state = SDL_PRESSED;
      up = down;
      up.type = SDL_CONTROLLERBUTTONUP;
      up.cbutton.state = SDL_RELEASED;
      break;
    case SdlInput::Device::ControllerTrigger:
      down.type = SDL_CONTROLLERAXISMOTION;
      down.caxis.axis = static_cast<Uint8>(input->code);
      down.caxis.value = SDL_JOYSTICK_AXIS_MAX;
      up = down;
      up.caxis.value = 0;
      break;
  }
  down.common.timestamp = up.common.timestamp = SDL_GetTicks();
  SDL_PushEvent(&down);
  if (up.type != 0) SDL_PushEvent(&up);
  frame();
  return true;
}

void WindowHost::moveMouse(int x, int y) {
  if (!window_) return;
  SDL_WarpMouseInWindow(window_, x, y);
  // A hidden window never has the pointer's focus, so SDL's backend would
  // never report a position: the pixel is handed to Dear ImGui directly.
  pointerPlaced_ = offscreen_;
  pointerX_ = x;
  pointerY_ = y;
  frame();
}
