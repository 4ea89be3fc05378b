#pragma once

#include "font/font_face.h"
#include "layout/pixel_rows.h"

#include <vector>

namespace harfcode {

// The columns and rows of a glyph's bitmap that hold ink: [left, right) and [top, bottom).
struct InkBox {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    bool empty() const { return left >= right; }
};
InkBox inkBox(const RenderedGlyph& glyph);

// A glyph of a run, its ink found once: a text shows the same few glyphs many times.
struct RunGlyph {
    const RenderedGlyph* bitmap;
    InkBox ink;
};
RunGlyph runGlyph(const RenderedGlyph& bitmap);
using Run = std::vector<RunGlyph>;  // glyphs on one baseline, left to right

// How far a run reaches from its first origin: its origins, its pen's end and its ink. 64 bits:
// a broken font's advances add up beyond an int.
RowReach reachOf(const Run& run);

}  // namespace harfcode
