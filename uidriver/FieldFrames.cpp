#include "uidriver/FieldFrames.h"

#include <algorithm>

namespace uidriver {

namespace {

// A filled rectangle as Dear ImGui writes it without rounding: four
// vertices, two triangles (0 1 2, 0 2 3), one colour, all sampling the
// atlas's white pixel.
bool isPlainRect(const ImDrawIdx* idx, const ImDrawVert* v, ImVec2 white) {
  if (idx[1] != idx[0] + 1 || idx[2] != idx[0] + 2 || idx[3] != idx[0] || idx[4] != idx[0] + 2 ||
      idx[5] != idx[0] + 3) {
    return false;
  }
  for (int i = 0; i < 4; ++i) {
    if (v[i].col != v[0].col || v[i].uv.x != white.x || v[i].uv.y != white.y) return false;
  }
  return v[0].pos.y == v[1].pos.y && v[1].pos.x == v[2].pos.x && v[2].pos.y == v[3].pos.y &&
         v[3].pos.x == v[0].pos.x && v[2].pos.x > v[0].pos.x && v[2].pos.y > v[0].pos.y;
}

}  // namespace

std::vector<FieldFrame> readFieldFrames(const ImDrawData& drawData, const ImU32 (&frameColours)[3],
                                        ImVec2 white) {
  std::vector<FieldFrame> out;
  if (!drawData.Valid) return out;
  for (int n = 0; n < drawData.CmdListsCount; ++n) {
    const ImDrawList& list = *drawData.CmdLists[n];
    const ImDrawIdx* indices = list.IdxBuffer.Data;
    const ImDrawVert* vertices = list.VtxBuffer.Data;
    const size_t vertexCount = static_cast<size_t>(list.VtxBuffer.Size);
    for (const ImDrawCmd& cmd : list.CmdBuffer) {
      if (cmd.UserCallback) continue;
      const size_t end = cmd.IdxOffset + cmd.ElemCount;
      for (size_t i = cmd.IdxOffset; i + 6 <= end; i += 3) {
        const size_t first = cmd.VtxOffset + indices[i];
        if (first + 3 >= vertexCount) continue;
        const ImDrawVert* v = vertices + first;
        if (!isPlainRect(indices + i, v, white)) continue;
        if (std::find(std::begin(frameColours), std::end(frameColours), v[0].col) == std::end(frameColours)) {
          continue;
        }
        const ImVec2 min(std::max(v[0].pos.x, cmd.ClipRect.x), std::max(v[0].pos.y, cmd.ClipRect.y));
        const ImVec2 max(std::min(v[2].pos.x, cmd.ClipRect.z), std::min(v[2].pos.y, cmd.ClipRect.w));
        const float width = max.x - min.x;
        const float height = max.y - min.y;
        if (width <= 0 || height <= 0 || v[2].pos.x - v[0].pos.x < 1.5f * (v[2].pos.y - v[0].pos.y)) continue;
        out.push_back({min, max, list._OwnerName ? list._OwnerName : ""});
        i += 3;  // the rectangle's second triangle
      }
    }
  }
  return out;
}

}  // namespace uidriver
