#pragma once

#include "table/code_strings.h"

#include <QString>

#include <functional>

namespace harfcode {

// What `harfcode-cli --shaper` was asked to do; the table is already read.
struct ShaperCommand {
    QString prefix;
    bool progmem = false;
    QString outputPath;   // empty: standard output
    QString tablePath;
    CodeStrings codes;
    QString commandLine;  // as typed, for the header's comment
    bool standardOutputClosed = false;
};

// Writes the firmware's shaper with the table's codes (atomically, to a file), unless a code is
// not two hexadecimal digits; warns of unfilled and shared codes through `printError`. Returns
// the exit status.
int writeShaper(const ShaperCommand& command, const std::function<void(const QString&)>& printError);

}  // namespace harfcode
