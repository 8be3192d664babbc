#pragma once
// What a frame shows as text, read back from its draw data.
//
// Dear ImGui draws every character as a quad textured from the font atlas.
// Mapping a quad's texture coordinates back to the font's glyph table
// recovers the character; quads written one after another on one baseline,
// in one colour, whose gaps are whole multiples of the space advance, form
// one string (spaces draw nothing, so they are recovered from the gaps).
// A character counts as shown when the centre of its quad lies inside its
// draw command's clip rectangle and inside the display, so text scrolled out
// of a child region or clipped by a frame is not reported.
//
// Limits: shapes (check marks, arrows, the close cross) are not text;
// wrapped text comes back as one string per line; trailing spaces are lost.

#include <imgui.h>

#include <string>
#include <vector>

namespace uidriver {

struct ShownText {
  std::string text;  // UTF-8
  ImVec2 min;        // top left of the text line's box, in display pixels
  ImVec2 max;        // bottom right
  ImU32 color = 0;   // as packed by Dear ImGui (IM_COL32)
  std::string window;  // name of the window whose draw list holds it

  ImVec2 center() const { return ImVec2((min.x + max.x) * 0.5f, (min.y + max.y) * 0.5f); }
};

// Every string the draw data shows, in drawing order (back to front).
// `atlas` is the atlas whose texture the draw data samples.
std::vector<ShownText> readShownText(const ImDrawData& drawData, const ImFontAtlas& atlas);

}  // namespace uidriver
