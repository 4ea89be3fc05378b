#pragma once

#include "font/display_font.h"
#include "font/font_export.h"
#include "font/font_face.h"
#include "table/code_strings.h"

#include <QString>

namespace harfcode {

// The formats "Export Font…" offers, by the file dialog's filters.
struct ExportFormat {
    FontFormat format;
    const char* filter;
};
inline constexpr ExportFormat kExportFormats[] = {
    {FontFormat::Bdf, "BDF font (*.bdf)"},
    {FontFormat::C, "C header (*.h)"},
    {FontFormat::Gfx, "Adafruit GFX header (*.h)"},
    {FontFormat::Png, "PNG glyph sheet (*.png)"},
};

// What the display's font is made of.
struct FontToExport {
    const FontFace& face;
    QString fontFile;
    const PartialDisplayFont& font;
    const CodeStrings& codes;
    QString tablePath;
};

struct FontFileExport {
    bool written = false;
    QString message;  // what happened, for the status line
};

// Writes the display's font to `path` in `format` (a glyph sheet of pixels zoom × zoom for
// PNG), replacing the file whole or not at all. Refused while the font lacks glyphs or the
// table is not whole, as the converter refuses it.
FontFileExport exportFontFile(const QString& path, FontFormat format, int zoom, const FontToExport& source);

}  // namespace harfcode
