#pragma once
// Where a frame drew the frames of its fields, read back from its draw data.
//
// A text field, a slider, a combo box and a list box stand on a plain
// rectangle in one of the style's frame colours (FrameBg, or its hovered or
// active shade); a multi-line field is a child region with that background.
// Such a rectangle carries no text of its own, so an empty text field can be
// found only this way. Checkboxes (square frames) are left out.

#include <imgui.h>

#include <string>
#include <vector>

namespace uidriver {

struct FieldFrame {
  ImVec2 min;  // display pixels
  ImVec2 max;
  std::string window;  // name of the window whose draw list holds it
};

// The frames in drawing order (back to front), clipped to their draw
// command's clip rectangle (those clipped away entirely are left out).
// `frameColours` are the three frame colours as the style packs them,
// `whitePixel` the atlas's TexUvWhitePixel.
std::vector<FieldFrame> readFieldFrames(const ImDrawData& drawData, const ImU32 (&frameColours)[3],
                                        ImVec2 whitePixel);

}  // namespace uidriver
