#include "table/table_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

namespace harfcode {
namespace {

TableFileError writeError(const QString& path, const QString& reason)
{
    return {TableFileError::Operation::Write, path, reason};
}

TableReading readFailure(const QString& path, const QString& reason)
{
    TableReading reading;
    reading.error = TableFileError{TableFileError::Operation::Read, path, reason};
    return reading;
}

}  // namespace

QByteArray encodeTable(const CodeStrings& codes)
{
    QString text;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        text += codes[slot - 1];
        text += u'=';
        if (const char16_t glyph = glyphOfSlot(slot))
            text += QChar(glyph);
        text += u"\r\n";
    }
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

bool tableExists(const QString& path)
{
    return QFileInfo::exists(path);
}

std::optional<TableFileError> writeTableFile(const QString& path, const CodeStrings& codes)
{
    // QSaveFile writes a temporary file beside the table and renames it over the old one
    // only when every byte is on disk, so a failure never leaves a truncated table.
    // Unbuffered, because a buffered QSaveFile commits even when flushing its buffer failed;
    // and written until every byte is taken, because a short write (disk full) sets no
    // error: only the next write is refused, with the system's reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return writeError(path, file.errorString());
    const QByteArray bytes = encodeTable(codes);
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return writeError(path, reason);
        }
        written += count;
    }
    if (!file.commit())
        return writeError(path, file.errorString());
    return std::nullopt;
}

std::optional<TableFileError> writeDefaultTableFile(const QString& path)
{
    return writeTableFile(path, defaultCodeStrings());
}

TableReading readTableFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return readFailure(path, QStringLiteral("it is a folder, not a file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return readFailure(path, file.errorString());
    return readTable(file, path);
}

}  // namespace harfcode
