#pragma once

#include "lines/line_options.h"
#include "font/font_export.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace harfcode {

// What `--font` asks for: the display's font, rendered from a font file.
struct FontRequest {
    QString font;                   // a font file or a family name
    std::optional<int> pixelSize;   // --size
    FontExportSettings settings;
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
    std::optional<FontRequest> font;  // --font: the display's font, or with --header the font rows are measured in
    int pixelWidth = 0;               // --width Npx: rows of at most N pixels (then line.width is 0)
    // --shaper: a C header that converts text on the firmware, its names with this prefix
    std::optional<QString> shaperPrefix;
    // --new-table [FILE]: a table with a code for every glyph, written to this file
    std::optional<QString> newTablePath;
};

struct UsageError {
    QString message;
};

// What --help and --version answer, for the program to print on standard output.
struct PrintedAnswer {
    QString text;
};

// Parses the converter's arguments (the first is the program). --help names
// `defaultTablePath`, the table used without --table.
// A picture is not written to a terminal: `outputIsTerminal` says whether standard output is one.
std::variant<CliRequest, UsageError, PrintedAnswer> parseCommandLine(const QStringList& arguments,
                                                                     const QString& defaultTablePath,
                                                                     bool outputIsTerminal);

}  // namespace harfcode
