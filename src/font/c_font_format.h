#pragma once

#include "font/display_font.h"
#include "font/field_overflow.h"
#include "font/font_export_source.h"
#include "font/font_header.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>

namespace harfcode {

// How the C header lays out the bits of a bitmap (--bits).
enum class BitmapBits {
    Rows,     // row by row from the top, each row in whole bytes, the leftmost pixel in the top bit
    Columns,  // column by column from the left, each column in whole bytes of eight rows from the
              // top, the topmost pixel in the lowest bit: an SSD1306's pages, a MAX7219's digits
};

struct CFontSettings {
    BitmapBits bits = BitmapBits::Rows;
    bool progmem = false;
};

// The names the C header defines for `prefix` besides its frame's.
QStringList cFontNames(const QString& prefix);

// The display's font as one C header, its names starting with `prefix`, for any display that
// draws bitmaps: PREFIX_HEIGHT (the rows
// of every bitmap) and PREFIX_BASELINE (those above the baseline); PREFIX_index, an entry for
// each of the 256 codes: the offset of its bitmap in PREFIX_bits, its columns, its advance (0: no
// glyph) and the column of the pen's origin; PREFIX_bits, the bitmaps. A bitmap spans the glyph's
// ink and its origin, so that ink left of the pen is kept. Or the first value, in code order, that
// does not fit its field. The header's comment says the same to its reader, with a drawing loop.
std::variant<QByteArray, FieldOverflow> cFont(const DisplayFont& font, const FontExportSource& source,
                                              const QString& prefix, const CFontSettings& settings);

}  // namespace harfcode
