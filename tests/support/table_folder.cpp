#include "support/table_folder.h"

#include "table/table_file.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

namespace harfcode::testing {

namespace {

const QFile::Permissions kOwnerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

}  // namespace

TableFolder::~TableFolder()
{
    QFile::setPermissions(path(), kOwnerAll);
}

QByteArray TableFolder::tableBytes() const
{
    QFile file(tablePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TableFolder::writeTable(const CodeStrings& codes) const
{
    writeTableBytes(encodeTable(codes));
}

void TableFolder::writeTableBytes(const QByteArray& bytes) const
{
    QFile file(tablePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void TableFolder::writeTableLines(const QStringList& lines) const
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    writeTableBytes(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
}

void TableFolder::replaceTableByFolder() const
{
    removeTable();
    ASSERT_TRUE(QDir(path()).mkdir(QStringLiteral("HexTable.txt")));
}

void TableFolder::removeTable() const
{
    QFile::remove(tablePath());
}

bool TableFolder::makeReadOnly() const
{
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(QDir(path()).filePath(QStringLiteral("probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.remove();
    QFile::setPermissions(path(), kOwnerAll);
    return false;
}

CodeStrings codesWith(std::initializer_list<std::pair<int, QString>> changes)
{
    CodeStrings codes = defaultCodeStrings();
    for (const auto& [slot, code] : changes)
        codes[slot - 1] = code;
    return codes;
}

}  // namespace harfcode::testing
