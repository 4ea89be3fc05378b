#pragma once

#include "cli/line_conversion.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace harfcode {

// No display row is wider than a few hundred glyphs; a row is padded to its width in memory.
inline constexpr int kMaxWidth = 65535;

// What one run of the converter is asked to do.
struct CliRequest {
    LineOptions line;
    std::optional<QString> tablePath;  // --table; otherwise the default table
    std::optional<QString> text;       // TEXT; otherwise every line of standard input
    // --header STRINGS: a C header instead of lines
    std::optional<QString> stringsPath;
    QString outputPath;
    bool progmem = false;
};

struct UsageError {
    QString message;
};

// Parses the converter's arguments (the first is the program). --help and --version print
// and end the program here; --help names `defaultTablePath`, the table used without --table.
std::variant<CliRequest, UsageError> parseCommandLine(const QStringList& arguments, const QString& defaultTablePath);

}  // namespace harfcode
