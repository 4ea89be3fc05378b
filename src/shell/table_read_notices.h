#pragma once

#include "table/table_reading.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace harfcode {

// What a table file looks like from outside: a changed file has a new stamp.
struct TableFileStamp {
    qint64 size = -1;
    QDateTime lastModified;

    friend bool operator==(const TableFileStamp&, const TableFileStamp&) = default;
};

TableFileStamp stampOfFile(const QString& path);

// Decides which problems of the conversion's table reads the user hears about. The
// conversion reads the file at every keystroke, so a lasting problem is told once: a read
// failure until a read has succeeded again, surplus lines once per state of the file.
class TableReadNotices {
public:
    explicit TableReadNotices(QString tablePath);

    // The message for the read just made, or nothing when the user already knows.
    std::optional<QString> noticeFor(const TableReading& reading, const TableFileStamp& stamp);

private:
    QString m_tablePath;
    bool m_readFailureTold = false;
    bool m_readOnce = false;  // whether any read has succeeded, so that codes are in use
    std::optional<TableFileStamp> m_surplusToldFor;
};

}  // namespace harfcode
