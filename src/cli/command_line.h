#pragma once

#include "cli/line_conversion.h"
#include "font/c_font_format.h"
#include "font/font_face.h"
#include "font/font_header.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace harfcode {

// No display row is wider than a few hundred glyphs; a row is padded to its width in memory.
inline constexpr int kMaxWidth = 65535;
// A glyph bitmap of more pixels per em is no display's.
inline constexpr int kMaxPixelSize = 1000;

// The formats of the display's font.
enum class FontFormat {
    Bdf,
    C,    // a C header of bitmaps, for any display
    Gfx,  // an Adafruit GFX font in a C header
    Png,  // a picture of the glyph sheet or of a text
};

// What --sample asks for: a picture of a text as the display shows it, instead of the glyph sheet.
struct SampleRequest {
    QString text;
    DisplayOrder order = DisplayOrder::Visual;
    int width = 0;  // 0: one row
};

// What `--font` asks for: the display's font, rendered from a font file.
struct FontRequest {
    QString font;                   // a font file or a family name
    std::optional<int> pixelSize;   // --size
    FontFormat format = FontFormat::Bdf;
    Hinting hinting = Hinting::Auto;
    // The C and GFX headers':
    BitmapBits bits = BitmapBits::Rows;  // C only
    QString name = QLatin1StringView(kDefaultFontName);
    bool progmem = false;
    int zoom = 4;  // png: every pixel of the display a square of zoom × zoom
    std::optional<SampleRequest> sample;  // png
};

// What one run of the converter is asked to do.
struct CliRequest {
    LineOptions line;
    std::optional<QString> tablePath;  // --table; otherwise the default table
    std::optional<QString> text;       // TEXT; otherwise every line of standard input
    // --header STRINGS: a C header instead of lines
    std::optional<QString> stringsPath;
    QString outputPath;  // --output, for --header and --font; empty: standard output
    bool progmem = false;
    std::optional<FontRequest> font;  // --font
    // --new-table [FILE]: a table with a code for every glyph, written to this file
    std::optional<QString> newTablePath;
};

struct UsageError {
    QString message;
};

// Parses the converter's arguments (the first is the program). --help and --version print
// and end the program here; --help names `defaultTablePath`, the table used without --table.
// A picture is not written to a terminal: `outputIsTerminal` says whether standard output is one.
std::variant<CliRequest, UsageError> parseCommandLine(const QStringList& arguments, const QString& defaultTablePath,
                                                      bool outputIsTerminal);

}  // namespace harfcode
