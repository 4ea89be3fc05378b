#pragma once

#include "font/display_font.h"
#include "font/field_overflow.h"
#include "font/font_export_source.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <variant>

namespace harfcode {

// The codes that Adafruit_GFX::write() never draws: 0A ends the line, 0D is skipped.
inline constexpr std::uint8_t kGfxLineEndCodes[] = {0x0A, 0x0D};

// The names the GFX header defines for `prefix` besides its frame's: the font and its arrays.
QStringList gfxFontNames(const QString& prefix);

// The display's font as an Adafruit GFX font in a C header: the GFXfont `prefix`, its glyphs from
// the first code in use to the last (codes between without a glyph are empty), each bitmap row
// by row without padding between rows, the leftmost pixel in the top bit, starting on a byte;
// xOffset is FreeType's bitmap_left, yOffset 1 - bitmap_top, as the library's own converter
// sets them. The arrays are in flash on AVR. The library's structures are declared where its
// gfxfont.h is not included, so that it also builds without the library. Or the first value, in
// code order, that does not fit its field. `font` has a glyph, as displayFont() makes it.
std::variant<QByteArray, FieldOverflow> gfxFont(const DisplayFont& font, const FontExportSource& source,
                                                const QString& prefix);

}  // namespace harfcode
