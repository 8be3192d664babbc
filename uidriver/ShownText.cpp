#include "uidriver/ShownText.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace uidriver {

namespace {

struct GlyphRef {
  const ImFont* font = nullptr;
  const ImFontGlyph* glyph = nullptr;
};

// Finds the glyph a quad was textured with. Quads cut by a clip rectangle on
// the CPU carry a part of their glyph's texture rectangle, so an exact match
// on the corner comes first and containment of the centre second.
class GlyphIndex {
 public:
  explicit GlyphIndex(const ImFontAtlas& atlas) {
    for (const ImFont* font : atlas.Fonts) {
      for (const ImFontGlyph& glyph : font->Glyphs) {
        if (!glyph.Visible) continue;
        glyphs_.push_back({font, &glyph});
        byCorner_.emplace(cornerKey(glyph.U0, glyph.V0), glyphs_.size() - 1);
      }
    }
  }

  const GlyphRef* find(ImVec2 uvMin, ImVec2 uvMax) const {
    if (auto hit = byCorner_.find(cornerKey(uvMin.x, uvMin.y)); hit != byCorner_.end()) {
      const ImFontGlyph& g = *glyphs_[hit->second].glyph;
      if (g.U1 == uvMax.x && g.V1 == uvMax.y) return &glyphs_[hit->second];
    }
    ImVec2 c((uvMin.x + uvMax.x) * 0.5f, (uvMin.y + uvMax.y) * 0.5f);
    for (const GlyphRef& ref : glyphs_) {
      const ImFontGlyph& g = *ref.glyph;
      if (c.x > g.U0 && c.x < g.U1 && c.y > g.V0 && c.y < g.V1) return &ref;
    }
    return nullptr;
  }

 private:
  static uint64_t cornerKey(float u, float v) {
    uint32_t a = 0;
    uint32_t b = 0;
    std::memcpy(&a, &u, sizeof a);
    std::memcpy(&b, &v, sizeof b);
    return (static_cast<uint64_t>(a) << 32) | b;
  }

  std::vector<GlyphRef> glyphs_;
  std::unordered_map<uint64_t, size_t> byCorner_;
};

void appendUtf8(std::string& out, unsigned int c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// One character as drawn: where its text line starts, how far the pen moves.
struct PlacedGlyph {
  const GlyphRef* ref = nullptr;
  float originX = 0;  // pen position before the character
  float originY = 0;  // top of the text line
  float scale = 1;
  ImVec2 quadCenter;
};

// Recovers the unclipped placement of a glyph quad: the texture coordinates
// tell how much of the glyph a CPU clip cut away.
std::optional<PlacedGlyph> placeGlyph(const GlyphIndex& index, const ImDrawVert* v) {
  ImVec2 pMin = v[0].pos;
  ImVec2 pMax = v[2].pos;
  ImVec2 uvMin = v[0].uv;
  ImVec2 uvMax = v[2].uv;
  if (pMax.x <= pMin.x || pMax.y <= pMin.y || uvMax.x <= uvMin.x || uvMax.y <= uvMin.y) return std::nullopt;
  const GlyphRef* ref = index.find(uvMin, uvMax);
  if (!ref) return std::nullopt;
  const ImFontGlyph& g = *ref->glyph;
  float pixelsPerU = (pMax.x - pMin.x) / (uvMax.x - uvMin.x);
  float pixelsPerV = (pMax.y - pMin.y) / (uvMax.y - uvMin.y);
  float fullX0 = pMin.x - (uvMin.x - g.U0) * pixelsPerU;
  float fullX1 = pMax.x + (g.U1 - uvMax.x) * pixelsPerU;
  float fullY0 = pMin.y - (uvMin.y - g.V0) * pixelsPerV;
  float fullY1 = pMax.y + (g.V1 - uvMax.y) * pixelsPerV;
  if (g.X1 <= g.X0) return std::nullopt;
  PlacedGlyph placed;
  placed.ref = ref;
  placed.scale = (fullX1 - fullX0) / (g.X1 - g.X0);
  placed.originX = fullX0 - g.X0 * placed.scale;
  placed.originY = fullY0 - g.Y0 * placed.scale;
  placed.quadCenter = ImVec2((fullX0 + fullX1) * 0.5f, (fullY0 + fullY1) * 0.5f);
  return placed;
}

bool isGlyphQuad(const ImDrawIdx* idx, const ImDrawVert* vertices, size_t vertexCount, unsigned int base) {
  unsigned int a = base + idx[0];
  if (idx[1] != idx[0] + 1 || idx[2] != idx[0] + 2 || idx[3] != idx[0] || idx[4] != idx[0] + 2 ||
      idx[5] != idx[0] + 3 || a + 3 >= vertexCount) {
    return false;
  }
  const ImDrawVert* v = vertices + a;
  // Text quads are axis-aligned with texture corners matching position corners.
  return v[0].pos.y == v[1].pos.y && v[1].pos.x == v[2].pos.x && v[2].pos.y == v[3].pos.y &&
         v[3].pos.x == v[0].pos.x && v[0].uv.y == v[1].uv.y && v[1].uv.x == v[2].uv.x && v[0].col == v[2].col;
}

bool inside(ImVec2 p, const ImVec4& rect) { return p.x >= rect.x && p.x < rect.z && p.y >= rect.y && p.y < rect.w; }

class RunBuilder {
 public:
  explicit RunBuilder(std::vector<ShownText>& out) : out_(out) {}

  // Adds a shown glyph; `contiguous` says that nothing else was drawn since
  // the previous glyph of the same draw command.
  void add(const PlacedGlyph& g, ImU32 color, bool contiguous, const char* window) {
    if (open_ && contiguous && g.ref->font == font_ && color == shown_.color && std::fabs(g.scale - scale_) < 1e-3f &&
        std::fabs(g.originY - originY_) < kTolerance) {
      float gap = g.originX - nextX_;
      float space = spaceAdvance(*g.ref->font) * g.scale;
      if (std::fabs(gap) < kTolerance) {
        append(g);
        return;
      }
      if (space > 0 && gap > 0) {
        float spaces = std::round(gap / space);
        if (spaces >= 1 && spaces <= kMaxSpaces && std::fabs(gap - spaces * space) < kTolerance) {
          shown_.text.append(static_cast<size_t>(spaces), ' ');
          append(g);
          return;
        }
      }
    }
    flush();
    open_ = true;
    font_ = g.ref->font;
    scale_ = g.scale;
    originY_ = g.originY;
    shown_ = ShownText{};
    shown_.color = color;
    shown_.window = window ? window : "";
    shown_.min = ImVec2(g.originX, g.originY);
    append(g);
  }

  void flush() {
    if (open_) out_.push_back(std::move(shown_));
    open_ = false;
  }

 private:
  static constexpr float kTolerance = 0.25f;
  static constexpr float kMaxSpaces = 8;

  static float spaceAdvance(const ImFont& font) {
    const ImFontGlyph* space = font.FindGlyphNoFallback(' ');
    return space ? space->AdvanceX : 0.0f;
  }

  void append(const PlacedGlyph& g) {
    appendUtf8(shown_.text, g.ref->glyph->Codepoint);
    nextX_ = g.originX + g.ref->glyph->AdvanceX * g.scale;
    shown_.max = ImVec2(nextX_, originY_ + font_->FontSize * scale_);
  }

  std::vector<ShownText>& out_;
  bool open_ = false;
  ShownText shown_;
  const ImFont* font_ = nullptr;
  float scale_ = 1;
  float originY_ = 0;
  float nextX_ = 0;
};

}  // namespace

std::vector<ShownText> readShownText(const ImDrawData& drawData, const ImFontAtlas& atlas) {
  std::vector<ShownText> out;
  if (!drawData.Valid) return out;
  GlyphIndex index(atlas);
  ImVec4 display(drawData.DisplayPos.x, drawData.DisplayPos.y, drawData.DisplayPos.x + drawData.DisplaySize.x,
                 drawData.DisplayPos.y + drawData.DisplaySize.y);
  RunBuilder runs(out);
  for (int n = 0; n < drawData.CmdListsCount; ++n) {
    const ImDrawList& list = *drawData.CmdLists[n];
    const ImDrawIdx* indices = list.IdxBuffer.Data;
    const ImDrawVert* vertices = list.VtxBuffer.Data;
    size_t vertexCount = static_cast<size_t>(list.VtxBuffer.Size);
    for (const ImDrawCmd& cmd : list.CmdBuffer) {
      if (cmd.UserCallback) continue;
      runs.flush();
      bool contiguous = false;
      size_t end = cmd.IdxOffset + cmd.ElemCount;
      for (size_t i = cmd.IdxOffset; i + 3 <= end;) {
        if (i + 6 <= end && isGlyphQuad(indices + i, vertices, vertexCount, cmd.VtxOffset)) {
          const ImDrawVert* v = vertices + cmd.VtxOffset + indices[i];
          std::optional<PlacedGlyph> glyph = placeGlyph(index, v);
          if (glyph && inside(glyph->quadCenter, cmd.ClipRect) && inside(glyph->quadCenter, display)) {
            runs.add(*glyph, v[0].col, contiguous, list._OwnerName);
            contiguous = true;
          } else {
            // A clipped character or a textured rectangle ends the string.
            runs.flush();
            contiguous = false;
          }
          i += 6;
        } else {
          contiguous = false;
          i += 3;
        }
      }
    }
    runs.flush();
  }
  return out;
}

}  // namespace uidriver
