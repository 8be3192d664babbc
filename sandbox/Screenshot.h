#pragma once
// Saves what a renderer has drawn as a PNG file.

#include <filesystem>
#include <string>

struct SDL_Renderer;

// Reads the renderer's current target and writes it to `file` as RGBA PNG.
// Call it after drawing and before SDL_RenderPresent: what is on the target
// after presenting is undefined. Returns "" on success, else why it failed.
std::string writeScreenshot(SDL_Renderer* renderer, const std::filesystem::path& file);
