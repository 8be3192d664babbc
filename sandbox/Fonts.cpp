#include "sandbox/Fonts.h"

#include <imgui.h>

#include <filesystem>

namespace {

// Pixels; Dear ImGui's own font is 13 pixels high, and the plug-in's window
// is laid out for about that size.
constexpr float fontPixels = 14;

// What DejaVu Sans is asked for: Basic Latin and Latin-1, Latin Extended-A
// and -B, Greek, Cyrillic with its supplement, general punctuation.
constexpr ImWchar latinGreekCyrillic[] = {0x0020, 0x024F, 0x0370, 0x03FF, 0x0400, 0x052F, 0x2000, 0x206F, 0};

bool readable(const char* file) {
  std::error_code error;
  return std::filesystem::is_regular_file(file, error);
}

}  // namespace

std::string loadSandboxFonts(ImFontAtlas& atlas) {
  std::string missing;
  atlas.Clear();
  if (readable(latinFontFile)) {
    atlas.AddFontFromFileTTF(latinFontFile, fontPixels, nullptr, latinGreekCyrillic);
  } else {
    missing = latinFontFile;
    atlas.AddFontDefault();
  }
  if (readable(cjkFontFile)) {
    ImFontConfig merged;
    merged.MergeMode = true;
    // Thousands of glyphs: no horizontal oversampling keeps the atlas small
    // and quick to build.
    merged.OversampleH = 1;
    merged.PixelSnapH = true;
    atlas.AddFontFromFileTTF(cjkFontFile, fontPixels, &merged, atlas.GetGlyphRangesChineseSimplifiedCommon());
  } else {
    missing += (missing.empty() ? "" : ", ") + std::string(cjkFontFile);
  }
  unsigned char* pixels = nullptr;
  int width = 0;
  int height = 0;
  atlas.GetTexDataAsRGBA32(&pixels, &width, &height);
  return missing.empty() ? "" : "font files missing (names in other scripts show as \"?\"): " + missing;
}
