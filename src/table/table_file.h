#pragma once

#include "table/code_strings.h"
#include "files/file_access.h"
#include "table/table_file_error.h"
#include "table/table_reading.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace harfcode {

// Line `slot` of the table file: `code`, "=", the slot's glyph (none for slot 1).
QString tableLine(Slot slot, const QString& code);

// The file's bytes for `codes`: UTF-16LE with byte-order mark, line k = code of slot k,
// "=", the glyph of slot k (none for slot 1), CR LF.
QByteArray encodeTable(const CodeStrings& codes);

// Whether anything named `path` exists; the first start writes the default table if not.
bool tableExists(const QString& path);

// What one write of the table did.
struct TableWrite {
    std::optional<TableFileError> error;  // why nothing was written
    QString note;  // after a write that could not keep the old file's owner or group, which
};

// Replaces the file at `path` atomically: on any failure the previous file stays whole and
// the error says why. Only a regular file is replaced (a link, by its target); the new file
// keeps the old one's mode, owner and group as far as the user may set them.
TableWrite writeTableFile(const QString& path, const CodeStrings& codes);
TableWrite writeDefaultTableFile(const QString& path);

// Reads the file at `path` with readTable(); never changes the file. Only a regular file is
// read, unless `pipes` allows a pipe too; nothing else is waited for.
TableReading readTableFile(const QString& path, Pipes pipes = Pipes::Refused);
// Every line of the regular file at `path`, whole (readTableLines()).
std::variant<QStringList, TableFileError> readTableFileLines(const QString& path);

}  // namespace harfcode
