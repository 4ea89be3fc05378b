#pragma once

#include "font/display_font.h"
#include "font/hex_digit_glyphs.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <variant>
#include <vector>

namespace harfcode {

// Pictures of the display's font, one byte per pixel (QImage::Format_Grayscale8), drawn pixel by
// pixel: the glyphs' ink black on white, every pixel of the display a square of zoom × zoom.
inline constexpr int kMaxZoom = 64;
inline constexpr std::uint8_t kInkShade = 0x00;
inline constexpr std::uint8_t kPaperShade = 0xFF;
inline constexpr std::uint8_t kLabelShade = 0x80;  // grey, so that no label passes for a glyph
inline constexpr std::uint8_t kGridShade = 0xC0;
// Beyond these a picture is refused: the memory it takes, and the sides PNG writers take.
inline constexpr qint64 kMaxPicturePixels = qint64(1) << 26;
inline constexpr qint64 kMaxPictureSide = 1'000'000;

// Every code in use in a grid of 16 × 16 cells, the row its high hex digit and the column its
// low one. Grid lines of one pixel frame the cells, and a margin of one pixel their contents:
// the code, written with `labels` in grey at the top left, and one pixel below it the glyph.
// Every glyph stands at the same origin and baseline of its cell; a cell is as wide as the
// widest glyph (from its ink or origin to its ink or advance) or label, as high as the labels
// and DisplayFont::height. Cells of codes not in use stay empty.
std::variant<QImage, QString> glyphSheet(const DisplayFont& font, const HexDigitGlyphs& labels, int zoom);

// Rows of codes as the display shows them, the top row first, each DisplayFont::height high:
// every glyph at the pen's origin on the row's baseline, the pen starting at the left and
// moving by the glyph's advance; a code without a glyph draws nothing and moves nothing. The
// picture reaches from the leftmost ink or origin of any row to the rightmost ink or advance.
std::variant<QImage, QString> sampleText(const DisplayFont& font, const std::vector<QByteArray>& rows, int zoom);

// A sample's rows as the glyphs of `font` they show, null where a code has none.
using GlyphRows = std::vector<std::vector<const DisplayGlyph*>>;
GlyphRows glyphRows(const DisplayFont& font, const std::vector<QByteArray>& rows);

// The same picture from the glyphs themselves.
std::variant<QImage, QString> sampleText(const DisplayFont& font, const GlyphRows& rows, int zoom);

// Where sampleText() puts each glyph of `rows`, in the display's pixels: the pen's origin from
// the picture's left edge, and how far the pen moves (0 for no glyph). Row r spans
// DisplayFont::height rows of pixels from r × DisplayFont::height.
struct GlyphPlace {
    qint64 x = 0;
    int advance = 0;
};
struct SampleLayout {
    qint64 width = 0;  // of the picture, before it is at least one pixel wide
    std::vector<qint64> penStarts;  // where each row's pen starts
    std::vector<std::vector<GlyphPlace>> rows;  // one place per glyph of each row
};
SampleLayout sampleLayout(const GlyphRows& rows);

// Rows on a display `width` pixels wide, row r's pen starting at penStarts[r]; ink beyond the
// display's edges is not drawn.
SampleLayout placedLayout(const GlyphRows& rows, qint64 width, const std::vector<qint64>& penStarts);

// The picture of `rows` as `layout` places them.
std::variant<QImage, QString> sampleText(const DisplayFont& font, const GlyphRows& rows, const SampleLayout& layout,
                                         int zoom);

}  // namespace harfcode
