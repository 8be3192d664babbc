#pragma once
// Draws a Dear ImGui context's frames into pixels in memory, with no display
// and no video driver: SDL's software renderer on an SDL surface, fed by Dear
// ImGui's SDL-renderer backend. For screenshots (Screenshot.h) of a context
// that otherwise runs without a backend.

#include <string>

struct ImDrawData;
struct ImGuiContext;
struct SDL_Renderer;
struct SDL_Surface;

class OffscreenRenderer {
 public:
  // Attaches the renderer backend to `context`, which must have none, with a
  // canvas of width x height pixels. error() says whether it worked.
  OffscreenRenderer(ImGuiContext* context, int width, int height);
  // Detaches the backend; the context is left as it was before.
  ~OffscreenRenderer();
  OffscreenRenderer(const OffscreenRenderer&) = delete;
  OffscreenRenderer& operator=(const OffscreenRenderer&) = delete;

  // "" when the renderer is ready, else why it is not.
  const std::string& error() const { return error_; }

  // Call before the context's next NewFrame: the frame's draw data then
  // refers to the font texture this renderer made.
  void beginFrame();
  // Clears the canvas and draws `data` (the context's frame) onto it.
  void render(ImDrawData& data);
  // The canvas, for reading pixels back.
  SDL_Renderer* renderer() const { return renderer_; }

 private:
  ImGuiContext* context_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  bool attached_ = false;
  std::string error_;
};
