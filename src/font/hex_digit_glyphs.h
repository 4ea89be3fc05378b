#pragma once

#include "font/font_face.h"

#include <QString>

#include <array>

namespace harfcode {

// The glyphs that label the codes of the glyph sheet, 0 to 9 and A to F: the font's own, so that
// the labels look like the display's text. Where the font lacks any of them, all sixteen are
// small digits of the program's own (3 × 5 pixels), so that the labels stay alike.
struct HexDigitGlyphs {
    std::array<RenderedGlyph, 16> digits;  // by value: 0 to F
    QString missing;                        // the digits the font lacks, e.g. "ABCDEF"
};
HexDigitGlyphs hexDigitGlyphs(const FontFace& face, Hinting hinting);

}  // namespace harfcode
