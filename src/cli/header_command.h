#pragma once

#include "cli/command_line.h"
#include "layout/display_order.h"
#include "lines/conversion_warnings.h"
#include "table/code_strings.h"

#include <QString>

namespace harfcode {

// What `harfcode-cli --header STRINGS` was asked to do; the table is already read.
struct HeaderRequest {
    QString stringsPath;
    QString outputPath;  // empty: standard output
    QString tablePath;   // the table the codes came from, named in the header's comment
    CodeStrings codes;
    DisplayOrder order = DisplayOrder::Visual;
    int width = 0;       // 0: one array per entry; N: rows of N codes
    bool progmem = false;
    QString commandLine; // as typed, named in the header's comment
    bool standardOutputClosed = false;
    // Rows of at most `pixelWidth` pixels of this font instead; a family also in `fontFolder`.
    std::optional<FontRequest> font;
    int pixelWidth = 0;
    QString fontFolder;
};

// Reads the strings file, writes the header (atomically, to a file) and reports every error
// and warning through `printError` and `warnings`. Returns the exit status: done; invalid
// input when the strings file cannot be read or holds an error, the font is refused as --font
// refuses it, or the output file cannot be written (which is then left as it was); or that of
// writing standard output.
int writeStringsHeader(const HeaderRequest& request, ConversionWarnings& warnings,
                       const std::function<void(const QString&)>& printError);

}  // namespace harfcode
