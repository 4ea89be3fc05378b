#pragma once

#include "table/code_strings.h"
#include "table/table_file_error.h"
#include "table/table_reading.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harfcode {

// The file's bytes for `codes`: UTF-16LE with byte-order mark, line k = code of slot k,
// "=", the glyph of slot k (none for slot 1), CR LF.
QByteArray encodeTable(const CodeStrings& codes);

// Whether anything named `path` exists; the first start writes the default table if not.
bool tableExists(const QString& path);

// Replaces the file at `path` atomically: on any failure the previous file stays whole and
// the error says why.
std::optional<TableFileError> writeTableFile(const QString& path, const CodeStrings& codes);
std::optional<TableFileError> writeDefaultTableFile(const QString& path);

// Reads the file at `path` with readTable(); never changes the file.
TableReading readTableFile(const QString& path);

}  // namespace harfcode
