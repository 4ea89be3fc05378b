#pragma once

#include "cli/command_line.h"
#include "font/display_font.h"
#include "font/font_lookup.h"
#include "table/code_strings.h"

#include <QString>

#include <functional>
#include <memory>

namespace harfcode {

// What `harfcode-cli --font` was asked to do; the table is already read.
struct FontCommand {
    FontRequest request;
    QString outputPath;   // empty: standard output
    QString tablePath;
    CodeStrings codes;
    QString commandLine;  // as typed, for the notes in the output
    QString fontFolder;   // searched for a family that fontconfig lacks
    bool standardOutputClosed = false;
};

// The display's font as --font renders it, with the file and the face it comes from.
struct RenderedFont {
    ReadFont file;
    OpenedFont opened;
    DisplayFont font;

    // "/usr/share/fonts/tahoma.ttf, 12 px, hinting auto", for a header's comment
    QString description(Hinting hinting) const;
};

// Finds, reads and opens the font of `request` (a family also in `fontFolder`) and renders it
// with `codes`; tells which file it took, or why there is none and that nothing is written,
// through `printError`.
std::unique_ptr<RenderedFont> renderFont(const FontRequest& request, const CodeStrings& codes, const QString& fontFolder,
                                         const std::function<void(const QString&)>& printError);

// Renders the display's font and writes it (atomically, to a file). Reports errors and
// warnings through `printError`; returns the exit status.
int writeDisplayFont(const FontCommand& command, const std::function<void(const QString&)>& printError);

// Writes a table with a code for every glyph to `path`, unless a table with codes filled in is
// there. Returns the exit status.
int writeNewTable(const QString& path, const std::function<void(const QString&)>& printError);

}  // namespace harfcode
