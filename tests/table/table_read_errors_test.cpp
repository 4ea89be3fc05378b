#include "table/table_file.h"
#include "table/table_reading.h"

#include "pattern_device.h"
#include "table_test_support.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::fileBytes;
using testing::kUtf16LeBom;
using testing::PatternDevice;
using testing::utf16le;
using testing::writeBytes;
using TableReadErrors = testing::TableFolder;

const QString kUndecodable = QStringLiteral("neither UTF-16LE with a byte-order mark nor UTF-8");
const QString kOddLength = QStringLiteral("odd number of bytes");

void expectFailure(const TableReading& reading, const QString& path, const QString& reasonPart)
{
    ASSERT_FALSE(reading.ok());
    EXPECT_TRUE(reading.codes.isEmpty());
    EXPECT_FALSE(reading.hasSurplusLines);
    EXPECT_EQ(reading.error->operation, TableFileError::Operation::Read);
    const QString message = reading.error->message();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_TRUE(message.contains(reasonPart)) << message.toStdString();
}

struct BrokenContent {
    const char* name;
    QByteArray bytes;
    QString reasonPart;
};

std::vector<BrokenContent> brokenContents()
{
    return {
        {"UTF-16 with an odd byte", kUtf16LeBom + utf16le(u"00=\r\n") + 'A', kOddLength},
        {"byte-order mark and one byte", kUtf16LeBom + 'A', kOddLength},
        {"big-endian byte-order mark", QByteArray("\xFE\xFF\x00\x30\x00\x30", 6), kUndecodable},
        {"lone continuation byte", QByteArray("A\x80" "B\n"), kUndecodable},
        {"two-byte sequence cut at the end", QByteArray("AB=x\nC\xD8"), kUndecodable},
        {"three-byte sequence cut at the end", QByteArray("AB=x\nC\xE2\x82"), kUndecodable},
        {"overlong encoding", QByteArray("\xC0\xAF\n"), kUndecodable},
        {"encoded surrogate", QByteArray("\xED\xA0\x80\n"), kUndecodable},
        {"bad byte far into the file", QByteArray(40'000, 'x') + "\n\xFF\n", kUndecodable},
    };
}

TEST_F(TableReadErrors, BrokenContentIsAnErrorAndTheFileStaysAsItWas)
{
    const QString path = tablePath();
    for (const BrokenContent& c : brokenContents()) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        // Put the modification time in the past, so that a rewrite could not hide in the
        // same clock tick.
        const QDateTime past = QDateTime::currentDateTime().addDays(-1);
        {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(past, QFileDevice::FileModificationTime));
        }
        const QDateTime modifiedBefore = QFileInfo(path).lastModified();

        expectFailure(readTableFile(path), path, c.reasonPart);

        EXPECT_EQ(fileBytes(path), c.bytes);
        EXPECT_EQ(QFileInfo(path).lastModified(), modifiedBefore);
    }
}

TEST_F(TableReadErrors, BrokenContentFromAPipeIsAnError)
{
    for (const qint64 maxPerRead : {1, 1 << 20}) {
        for (const BrokenContent& c : brokenContents()) {
            SCOPED_TRACE(std::string(c.name) + ", reads of " + std::to_string(maxPerRead));
            PatternDevice device(c.bytes, maxPerRead);
            expectFailure(readTable(device, QStringLiteral("pipe")), QStringLiteral("pipe"), c.reasonPart);
        }
    }
}

TEST_F(TableReadErrors, PathThatIsNoReadableFileIsAnError)
{
    const QString missing = tablePath();
    expectFailure(readTableFile(missing), missing, QStringLiteral("No such file or directory"));
    EXPECT_FALSE(QFileInfo::exists(missing));

    const QString folder = filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkdir(folder));
    expectFailure(readTableFile(folder), folder, QStringLiteral("folder"));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST_F(TableReadErrors, DeviceNotOpenIsAnError)
{
    QBuffer closed;
    const TableReading reading = readTable(closed, QStringLiteral("closed"));
    expectFailure(reading, QStringLiteral("closed"), QString());
    EXPECT_FALSE(reading.error->reason.isEmpty());
}

TEST_F(TableReadErrors, UnreadableFileIsAnError)
{
    const QString path = tablePath();
    ASSERT_EQ(writeDefaultTableFile(path), std::nullopt);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions are not enforced for this user (root), so no file is unreadable";

    expectFailure(readTableFile(path), path, QStringLiteral("Permission denied"));
}

}  // namespace
}  // namespace harfcode
