// Text for the figures overlay in a built-in 5 × 7 bitmap font (digits, '.', space and the
// capitals of FPS, MS, PARTICLES and DRAWS), as coloured quads in pixel coordinates.
#pragma once

#include <string_view>
#include <vector>

#include "platform/d3d9.h"

struct KvOverlayVertex {  // D3DFVF_XYZ | D3DFVF_DIFFUSE, x and y in pixels, y down
  float x, y, z;
  D3DCOLOR color;
};
inline constexpr DWORD kKvOverlayVertexFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

// Glyph cells are `cell` pixels square, glyphs 6 cells apart; characters without a glyph
// show as space.
inline constexpr int kKvGlyphColumns = 5;
inline constexpr int kKvGlyphRows = 7;
inline constexpr int kKvGlyphAdvance = 6;

// Two triangles covering the rectangle [x0, x1] × [y0, y1].
void KvAppendRectangle(float x0, float y0, float x1, float y1, D3DCOLOR color,
                       std::vector<KvOverlayVertex>& vertices);
// The text's lit cells, one rectangle per horizontal run, from (x, y) at its top left.
void KvAppendText(std::string_view text, float x, float y, float cell, D3DCOLOR color,
                  std::vector<KvOverlayVertex>& vertices);
