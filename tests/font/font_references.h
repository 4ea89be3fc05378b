#pragma once

// What the font tests hold the display's font against: references nobody here drew (GNU
// Unifont's designed bitmaps, FreeType's reading of a BDF font), and the C and GFX headers read
// back from their bytes by draw_codes.c.

#include "font/display_font.h"
#include "font/font_face.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace harfcode {

// Debian's packages unifont, fonts-unifont and fonts-wine.
inline constexpr char kUnifontHex[] = "/usr/share/unifont/unifont.hex";
inline constexpr char kUnifontFont[] = "/usr/share/fonts/opentype/unifont/unifont.otf";
inline constexpr char kTahoma[] = "/usr/share/wine/fonts/tahoma.ttf";

// The designed glyphs of the slots that have ink (all but the blank) in unifont.hex, as FreeType
// would give them: 8 or 16 columns of the 16-pixel grid from the pen, the baseline under row 14.
std::map<char32_t, RenderedGlyph> designedUnifont();

// What FontFace::open() or fromBytes() opened; null, and a failure of the test, where it failed.
std::unique_ptr<FontFace> openedFont(std::variant<std::unique_ptr<FontFace>, QString> opened);

// The display's font; none, and a failure of the test, where there is none.
std::optional<DisplayFont> renderedFont(const FontFace* face, const CodeStrings& codes, Hinting hinting);
std::optional<DisplayFont> renderedFont(const QString& file, int size, const CodeStrings& codes, Hinting hinting);

// The output of `program` run with `arguments`, standard error included; none, and a failure of
// the test, where it does not exit with 0.
std::optional<QByteArray> ran(const QString& program, const QStringList& arguments);

// The output of draw_codes.c built with `header` included first, its implementation
// defined and `defines`, under -std=c99 -pedantic and every warning an error, and run with
// `arguments`. None, and a failure of the test, where it does not build or run.
std::optional<QByteArray> runWithFontHeader(const QByteArray& header, const QStringList& defines,
                                            const QStringList& arguments);

// A font read back from its bytes: every code's glyph, in FreeType's terms (the ink from the
// bitmap's top left, `left` and `top` from the pen on the baseline).
struct ReadBackFont {
    std::map<std::uint8_t, RenderedGlyph> glyphs;  // the codes that have a glyph
    int height = 0;  // the C header's HARFCODE_FONT_HEIGHT, the GFX font's yAdvance
    int left = 0;    // the headers' HARFCODE_FONT_LEFT
};

// A header read by draw_codes.c built with `defines` (DRAW_COLUMNS, DRAW_GFX); none, and a
// failure of the test, where it does not build or a bitmap reaches past its array.
std::optional<ReadBackFont> readBackHeader(const QByteArray& header, const QStringList& defines);
// A BDF font as FreeType's own BDF driver reads it; the codes are the display's, which the
// font's one character map maps as they stand. None, and a failure, where FreeType refuses it.
std::optional<ReadBackFont> readBackBdfFont(const QByteArray& bdf);

// `picture` as a plain PBM, a row a line: '1' where it is dark, '0' where it is light.
std::string plainPbm(const QImage& picture);

// How a display draws `glyph`, from the pen on the baseline: its advance and its inked pixels
// (x rightwards, y upwards), in order.
std::string drawing(const RenderedGlyph& glyph);

}  // namespace harfcode
