#pragma once

#include "font/display_font.h"
#include "font/font_face.h"

#include <QByteArray>
#include <QString>

namespace harfcode {

// Where a font file came from, for the notes every export carries.
struct FontExportSource {
    QString program;      // name and version
    QString commandLine;  // as typed
    QString fontFile;
    QString family;
    QString copyright;
    int pixelSize = 0;
};

// The display's font as a BDF 2.1 font: each glyph at its code (ENCODING), named after the
// character it shows; the font's registry "FontSpecific", as the codes are the display's own.
QByteArray bdfFont(const DisplayFont& font, const FontExportSource& source);

}  // namespace harfcode
