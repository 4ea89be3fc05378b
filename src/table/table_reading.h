#pragma once

#include "table/table_file_error.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

class QIODevice;

namespace harfcode {

// What one read of a table yields: the code strings of slots 1..codes.size() (at most
// kSlotCount), whether the source goes on past its last slot, or why it could not be read.
struct TableReading {
    QList<QString> codes;
    bool hasSurplusLines = false;
    std::optional<TableFileError> error;  // when set, codes is empty

    bool ok() const { return !error.has_value(); }
};

// Applies the reading rule to `device` (open for reading): line n gives slot n its first
// two UTF-16 units, or the whole line when it is shorter. Lines end at CR LF, lone LF or
// lone CR; a line end at the very end opens no further line. Content that starts with the
// UTF-16LE byte-order mark is UTF-16LE, anything else must be UTF-8. Reading stops as soon
// as a line beyond the last slot is seen, and only two units of each line are kept, so
// memory stays bounded whatever the size of the source. `path` names the source in errors.
TableReading readTable(QIODevice& device, const QString& path);

// Every line of `device`, whole, decoded and split as readTable() does, within the same bound
// on the source's size; or why it cannot be read.
std::variant<QStringList, TableFileError> readTableLines(QIODevice& device, const QString& path);

// The sentence telling that the table at `path` has lines beyond the last slot; callers add
// what they do about it.
QString surplusLinesSentence(const QString& path);

}  // namespace harfcode
