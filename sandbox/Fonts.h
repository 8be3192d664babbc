#pragma once
// The sandbox's fonts: a player's names may be in any script, so the
// sandbox's window and its headless screenshots draw text with Debian's
// DejaVu Sans (Latin with its extensions, Greek, Cyrillic) and WenQuanYi
// Micro Hei merged into it (the common Chinese characters), instead of Dear
// ImGui's built-in font, which has ASCII only and shows "?" for the rest.
// The plug-in itself never loads fonts: in the real host it draws with the
// host's.

#include <string>

struct ImFontAtlas;

// Font files, from the Debian packages fonts-dejavu-core and
// fonts-wqy-microhei.
inline constexpr const char* latinFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
inline constexpr const char* cjkFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

// Replaces the atlas's fonts with the sandbox's and builds it. Without a
// font file the atlas keeps what it can (Dear ImGui's own font when neither
// is there); "" when both loaded, else which file was missing.
std::string loadSandboxFonts(ImFontAtlas& atlas);
