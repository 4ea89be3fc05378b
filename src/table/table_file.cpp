#include "table/table_file.h"

#include "files/file_access.h"

#include <QDir>
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

QString tableLine(Slot slot, const QString& code)
{
    QString line = code + u'=';
    if (const char16_t glyph = glyphOfSlot(slot))
        line += QChar(glyph);
    return line;
}

QByteArray encodeTable(const CodeStrings& codes)
{
    QString text;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        text += tableLine(static_cast<Slot>(slot), codes[slot - 1]) + QStringLiteral("\r\n");
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    return encoder.encode(text);
}

bool tableExists(const QString& path)
{
    return QFileInfo::exists(path);
}

TableWrite writeTableFile(const QString& path, const CodeStrings& codes)
{
    const FileReplacement replaced = replaceFileAtomically(path, encodeTable(codes));
    if (replaced.failure)
        return {writeError(path, *replaced.failure), {}};
    if (replaced.notKept)
        return {std::nullopt, QStringLiteral("The glyph code table \"%1\" is saved, but could not keep %2.")
                                  .arg(QDir::toNativeSeparators(path), *replaced.notKept)};
    return {};
}

TableWrite writeDefaultTableFile(const QString& path)
{
    return writeTableFile(path, defaultCodeStrings());
}

TableReading readTableFile(const QString& path, Pipes pipes)
{
    auto opened = openForReading(path, pipes);
    if (const QString* reason = std::get_if<QString>(&opened))
        return readFailure(path, *reason);
    return readTable(*std::get<std::unique_ptr<QFile>>(opened), path);
}

std::variant<QStringList, TableFileError> readTableFileLines(const QString& path)
{
    auto opened = openForReading(path, Pipes::Refused);
    if (const QString* reason = std::get_if<QString>(&opened))
        return TableFileError{TableFileError::Operation::Read, path, *reason};
    return readTableLines(*std::get<std::unique_ptr<QFile>>(opened), path);
}

}  // namespace harfcode
