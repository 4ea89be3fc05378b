#include "table/table_file.h"

#include "table_test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace harfcode {
namespace {

using testing::fileBytes;
using testing::writeBytes;

// Each test in a fresh folder, most of them over a default table already written.
class TableWriting : public testing::TableFolder {
protected:
    QByteArray writeDefaultTable()
    {
        EXPECT_EQ(writeDefaultTableFile(tablePath()), std::nullopt);
        return fileBytes(tablePath());
    }
};

const QString kTableName = QStringLiteral("HexTable.txt");

// Codes of every shape a user can type into the editor, spread over all slots.
CodeStrings unusualCodes()
{
    const QString shapes[] = {
        QStringLiteral("ab"), QStringLiteral("zz"), QString::fromUtf8("سل"), QString::fromUtf8("پ"),
        QStringLiteral("7"),  QStringLiteral("ABC"), QString(), QStringLiteral(" "),
        QStringLiteral("=="), QString::fromUtf8("😀"), QStringLiteral("\t,"), QStringLiteral("\"q"),
    };
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = shapes[slot % std::size(shapes)];
    return codes;
}

// What a reader finds on line `slot`: the first two units of code, "=", glyph.
QString lineStart(const QString& code, int slot)
{
    QString line = code + u'=';
    if (const char16_t glyph = glyphOfSlot(slot))
        line += QChar(glyph);
    return line.first(std::min<qsizetype>(2, line.size()));
}

void expectWriteFailure(const std::optional<TableFileError>& error, const QString& path)
{
    ASSERT_TRUE(error.has_value()) << "the write was reported as a success";
    EXPECT_EQ(error->operation, TableFileError::Operation::Write);
    EXPECT_FALSE(error->reason.isEmpty());
    const QString message = error->message();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_TRUE(message.contains(error->reason)) << message.toStdString();
}

TEST_F(TableWriting, UnusualCodesRoundTrip)
{
    const QString path = tablePath();
    const CodeStrings codes = unusualCodes();

    ASSERT_EQ(writeTableFile(path, codes), std::nullopt);
    EXPECT_EQ(fileBytes(path), encodeTable(codes));

    const TableReading reading = readTableFile(path);
    ASSERT_TRUE(reading.ok());
    EXPECT_FALSE(reading.hasSurplusLines);
    ASSERT_EQ(reading.codes.size(), kSlotCount);
    for (int slot = 1; slot <= kSlotCount; ++slot)
        EXPECT_EQ(reading.codes[slot - 1], lineStart(codes[slot - 1], slot)) << "slot " << slot;
}

TEST_F(TableWriting, WritingOverATableReplacesItWhole)
{
    const QString path = tablePath();
    writeBytes(path, QByteArray(100'000, 'x'));

    const CodeStrings codes = unusualCodes();
    ASSERT_EQ(writeTableFile(path, codes), std::nullopt);
    EXPECT_EQ(fileBytes(path), encodeTable(codes));

    ASSERT_EQ(writeDefaultTableFile(path), std::nullopt);
    EXPECT_EQ(fileBytes(path), encodeTable(defaultCodeStrings()));
    EXPECT_EQ(QDir(folderPath()).entryList(QDir::Files | QDir::Hidden), QStringList{kTableName});
}

// Caps the size of any file this process writes (even as root), the way a full disk
// would stop a write halfway.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        const rlimit limit{bytes, m_previous.rlim_max};
        m_applied = setrlimit(RLIMIT_FSIZE, &limit) == 0;
        // Without this the kernel ends the process instead of failing the write.
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool applied() const { return m_applied; }

private:
    rlimit m_previous{};
    bool m_applied = false;
    void (*m_previousHandler)(int) = nullptr;
};

TEST_F(TableWriting, WriteCutShortLeavesThePreviousTableWhole)
{
    const QString path = tablePath();
    const QByteArray before = writeDefaultTable();

    std::optional<TableFileError> error;
    {
        FileSizeLimit limit(512);
        ASSERT_TRUE(limit.applied());
        error = writeTableFile(path, unusualCodes());
    }

    expectWriteFailure(error, path);
    EXPECT_EQ(error->reason, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(fileBytes(path), before);
    // No half-written temporary file is left beside the table.
    EXPECT_EQ(QDir(folderPath()).entryList(QDir::Files | QDir::Hidden), QStringList{kTableName});
}

TEST_F(TableWriting, PathThatCannotHoldAFileIsAnError)
{
    const QString folder = filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString notAFolder = filePath(QStringLiteral("plain-file"));
    writeBytes(notAFolder, QByteArray("keep"));
    const QString underAFile = notAFolder + u'/' + kTableName;

    for (const QString& path : {folder, underAFile}) {
        SCOPED_TRACE(path.toStdString());
        expectWriteFailure(writeDefaultTableFile(path), path);
    }
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(QDir(folder).isEmpty());
    EXPECT_EQ(fileBytes(notAFolder), QByteArray("keep"));
}

TEST_F(TableWriting, ReadOnlyFolderLeavesThePreviousTableWhole)
{
    const QString path = tablePath();
    const QByteArray before = writeDefaultTable();
    ASSERT_TRUE(QFile::setPermissions(folderPath(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool enforced = !QFileInfo(folderPath()).isWritable();

    const auto error = writeTableFile(path, unusualCodes());
    QFile::setPermissions(folderPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced)
        GTEST_SKIP() << "permissions are not enforced for this user (root), so no folder is read-only";

    expectWriteFailure(error, path);
    EXPECT_EQ(fileBytes(path), before);
}

}  // namespace
}  // namespace harfcode
