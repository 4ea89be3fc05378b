#include "font/glyph_ink.h"

#include <algorithm>

namespace harfcode {

InkBox inkBox(const RenderedGlyph& glyph)
{
    InkBox box{glyph.width, 0, glyph.rows, 0};
    for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
            if (glyph.inkAt(column, row))
                box = {std::min(box.left, column), std::max(box.right, column + 1), std::min(box.top, row),
                       std::max(box.bottom, row + 1)};
    return box;
}

RunGlyph runGlyph(const RenderedGlyph& bitmap)
{
    return {&bitmap, inkBox(bitmap)};
}

RowReach reachOf(const Run& run)
{
    RowReach reach;
    qint64 pen = 0;
    for (const auto& [glyph, ink] : run) {
        if (!ink.empty()) {
            reach.left = std::min(reach.left, pen + glyph->left + ink.left);
            reach.right = std::max(reach.right, pen + glyph->left + ink.right);
        }
        pen += glyph->advance;
        reach.left = std::min(reach.left, pen);
        reach.right = std::max(reach.right, pen);
    }
    return reach;
}

}  // namespace harfcode
