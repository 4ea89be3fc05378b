#pragma once

#include "font/display_font.h"
#include "font/font_export_source.h"

#include <QByteArray>

namespace harfcode {

// The display's font as a BDF 2.1 font: each glyph at its code (ENCODING), named after the
// character it shows; the font's registry "FontSpecific", as the codes are the display's own.
QByteArray bdfFont(const DisplayFont& font, const FontExportSource& source);

}  // namespace harfcode
