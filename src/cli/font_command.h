#pragma once

#include "cli/command_line.h"
#include "table/code_strings.h"

#include <QString>

#include <functional>

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

// Renders the display's font and writes it (atomically, to a file). Reports errors and
// warnings through `printError`; returns the exit status.
int writeDisplayFont(const FontCommand& command, const std::function<void(const QString&)>& printError);

// Writes a table with a code for every glyph to `path`, unless a table with codes filled in is
// there. Returns the exit status.
int writeNewTable(const QString& path, const std::function<void(const QString&)>& printError);

}  // namespace harfcode
