#include "table/table_file.h"

#include "table/atomic_file.h"

#include <QFile>
#include <QFileInfo>
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
    if (const std::optional<QString> reason = replaceFileAtomically(path, encodeTable(codes)))
        return writeError(path, *reason);
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
