#include "sandbox/Screenshot.h"

#include <SDL.h>
#include <fmt/format.h>
#include <stb_image_write.h>

#include <vector>

std::string writeScreenshot(SDL_Renderer* renderer, const std::filesystem::path& file) {
  int width = 0;
  int height = 0;
  if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return SDL_GetError();
  if (width <= 0 || height <= 0) return "the window has no pixels";
  const int pitch = width * 4;
  std::vector<unsigned char> pixels(static_cast<size_t>(pitch) * static_cast<size_t>(height));
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32, pixels.data(), pitch) != 0) {
    return SDL_GetError();
  }
  if (!stbi_write_png(file.c_str(), width, height, 4, pixels.data(), pitch)) {
    return fmt::format("cannot write {}", file.string());
  }
  return {};
}
