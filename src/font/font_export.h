#pragma once

#include "font/c_font_format.h"
#include "font/display_font.h"
#include "font/font_export_source.h"
#include "font/font_face.h"
#include "layout/display_order.h"
#include "layout/row_width.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace harfcode {

// The formats the display's font is written in.
enum class FontFormat {
    Bdf,
    C,    // a C header of bitmaps, for any display
    Gfx,  // an Adafruit GFX font in a C header
    Png,  // a picture of the glyph sheet or of a text
};

inline constexpr std::pair<FontFormat, const char*> kFontFormatNames[] = {
    {FontFormat::Bdf, "bdf"}, {FontFormat::C, "c"}, {FontFormat::Gfx, "gfx"}, {FontFormat::Png, "png"},
};

// A picture of a text as the display shows it, instead of the glyph sheet.
struct SampleRequest {
    QString text;
    DisplayOrder order = DisplayOrder::Visual;
    RowWidth width;  // rows in pixels: a picture of that width, each row right-aligned
};

// How the display's font is written out.
struct FontExportSettings {
    FontFormat format = FontFormat::Bdf;
    Hinting hinting = Hinting::Auto;
    std::optional<QString> name;  // c and gfx: the prefix of the header's names, by default the format's own
    CFontSettings header;         // c
    int zoom = 4;          // png: every pixel of the display a square of zoom × zoom
    std::optional<SampleRequest> sample;  // png
};

// Why a font cannot be written out.
struct FontExportFailure {
    enum class Kind {
        FieldOverflow,  // a header's field is too small for a glyph: a smaller size fits
        Picture,        // the picture is too large, or the PNG writer failed
        TooWide,        // a glyph of the sample is wider than its rows of pixels
    };
    Kind kind;
    QString reason;
};

struct ExportedFont {
    std::variant<QByteArray, FontExportFailure> bytes;
    // The hex digits that the font lacks, so that the glyph sheet labels its codes with small
    // digits of its own; empty where it has them all or draws no sheet.
    QString missingLabelDigits;
};

// `font`, rendered from `face`, in the format of `settings`; a sample picture takes its text's
// codes from `codes`, the table the font was made with.
ExportedFont exportedFont(const FontExportSettings& settings, const FontFace& face, const DisplayFont& font,
                          const FontExportSource& source, const CodeStrings& codes);

}  // namespace harfcode
