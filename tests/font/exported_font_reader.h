#pragma once

#include "font/c_font_format.h"
#include "font/font_face.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace harfcode {

// A font of --font-format bdf, c or gfx read back from its bytes. A header is: built with a program that prints
// its arrays (dump_c_font.c, dump_gfx_font.c), every code's glyph decoded as the format lays it
// out, in FreeType's terms: the ink from the bitmap's top left, `left` and `top` from the pen on
// the baseline. The headers' default names.
struct ReadBackFont {
    std::map<std::uint8_t, RenderedGlyph> glyphs;  // the codes that have a glyph
    int height = 0;    // the C header's HARFCODE_FONT_HEIGHT
    int yAdvance = 0;  // the GFX font's
};

// None, and a failure of the test, where the header does not build or does not hold together.
std::optional<ReadBackFont> readBackCFont(const QByteArray& header, BitmapBits bits);
std::optional<ReadBackFont> readBackGfxFont(const QByteArray& header);
// A BDF font as FreeType's own BDF driver reads it; the codes are the display's, which the
// font's one character map maps as they stand. None, and a failure, where FreeType refuses it.
std::optional<ReadBackFont> readBackBdfFont(const QByteArray& bdf);

// The standard output of the C program `source` (in tests/font) built with `header` included
// first, its implementation defined and `defines`, under -std=c99 -pedantic and every warning an
// error, and run with `arguments`. None, and a failure of the test, where it does not build or run.
std::optional<QByteArray> runWithFontHeader(const QByteArray& header, const QString& source, const QStringList& defines,
                                            const QStringList& arguments);

// Where `drawn` differs from `expected` as a display draws them from the pen on the baseline: a
// pixel inked in one only, or the advance. None where they draw the same.
std::optional<std::string> drawingDifference(const RenderedGlyph& drawn, const RenderedGlyph& expected);

}  // namespace harfcode
