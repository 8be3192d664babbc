#include "sandbox/OffscreenRenderer.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdlrenderer.h>

namespace {

// Makes a context current for the length of a scope.
class CurrentContext {
 public:
  explicit CurrentContext(ImGuiContext* context) : previous_(ImGui::GetCurrentContext()) {
    ImGui::SetCurrentContext(context);
  }
  ~CurrentContext() { ImGui::SetCurrentContext(previous_); }
  CurrentContext(const CurrentContext&) = delete;
  CurrentContext& operator=(const CurrentContext&) = delete;

 private:
  ImGuiContext* previous_;
};

}  // namespace

OffscreenRenderer::OffscreenRenderer(ImGuiContext* context, int width, int height) : context_(context) {
  surface_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGBA32);
  if (surface_) renderer_ = SDL_CreateSoftwareRenderer(surface_);
  if (!renderer_) {
    error_ = SDL_GetError();
    return;
  }
  CurrentContext current(context_);
  if (ImGui::GetIO().BackendRendererUserData) {
    error_ = "the context already has a renderer";
    return;
  }
  attached_ = ImGui_ImplSDLRenderer_Init(renderer_);
  if (!attached_) error_ = "the renderer backend did not start";
}

OffscreenRenderer::~OffscreenRenderer() {
  if (attached_) {
    CurrentContext current(context_);
    ImGui_ImplSDLRenderer_Shutdown();
  }
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (surface_) SDL_FreeSurface(surface_);
}

void OffscreenRenderer::beginFrame() {
  if (!attached_) return;
  CurrentContext current(context_);
  ImGui_ImplSDLRenderer_NewFrame();
}

void OffscreenRenderer::render(ImDrawData& data) {
  if (!attached_) return;
  CurrentContext current(context_);
  // A dim backdrop, so the window's edges show.
  SDL_SetRenderDrawColor(renderer_, 40, 44, 52, 255);
  SDL_RenderClear(renderer_);
  ImGui_ImplSDLRenderer_RenderDrawData(&data);
  SDL_RenderFlush(renderer_);
}
