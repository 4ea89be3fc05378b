#include "table/table_file.h"

#include "table_test_support.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::fileBytes;
using TableEncoding = testing::TableFolder;
using testing::kUtf16LeBom;
using testing::tableText;
using testing::utf16le;

constexpr qsizetype kDefaultTableSize = 1236;

// Line 1 ("00=") and line 2 ("00=" U+FE81), then line 103 ("00=" U+061F), as the file
// format fixes them.
const QByteArray kDefaultHead("\xFF\xFE\x30\x00\x30\x00\x3D\x00\x0D\x00\x0A\x00"
                              "\x30\x00\x30\x00\x3D\x00\x81\xFE\x0D\x00\x0A\x00",
                              24);
const QByteArray kDefaultTail("\x30\x00\x30\x00\x3D\x00\x1F\x06\x0D\x00\x0A\x00", 12);

void expectDefaultTableBytes(const QByteArray& bytes)
{
    ASSERT_EQ(bytes.size(), kDefaultTableSize);
    EXPECT_EQ(bytes.first(24), kDefaultHead);
    EXPECT_EQ(bytes.last(12), kDefaultTail);
    EXPECT_EQ(bytes, kUtf16LeBom + utf16le(tableText(QStringLiteral("00"))));
}

TEST_F(TableEncoding, DefaultTableIsTheExactBytes)
{
    expectDefaultTableBytes(encodeTable(defaultCodeStrings()));
}

TEST_F(TableEncoding, DefaultTableFileOnDiskIsTheExactBytes)
{
    const QString path = tablePath();
    ASSERT_FALSE(tableExists(path));

    ASSERT_EQ(writeDefaultTableFile(path), std::nullopt);

    EXPECT_TRUE(tableExists(path));
    expectDefaultTableBytes(fileBytes(path));
}

TEST_F(TableEncoding, AnyTwoUnitCodesGiveTheDefaultSize)
{
    const QString codeChoices[] = {
        QStringLiteral("FF"),
        QStringLiteral("zz"),
        QStringLiteral("  "),
        QString::fromUtf8("سل"),
        QString::fromUtf8("😀"),  // one character, two UTF-16 units
    };
    for (const QString& code : codeChoices) {
        CodeStrings codes;
        codes.fill(code);
        const QByteArray bytes = encodeTable(codes);
        EXPECT_EQ(bytes.size(), kDefaultTableSize) << code.toStdString();
        EXPECT_EQ(bytes, kUtf16LeBom + utf16le(tableText(code))) << code.toStdString();
    }
}

TEST_F(TableEncoding, CodesOfOtherLengthsAreWrittenWholeAndReadBackAsTheirLineStart)
{
    struct Case {
        int slot;
        QString code;
        QByteArray line;  // the slot's line on disk, line end included
        QString readBack;
    };
    const Case cases[] = {
        {5, QStringLiteral("7"), QByteArray("7\0=\0\x91\xFE\r\0\n\0", 10), QStringLiteral("7=")},
        {64, QStringLiteral("ABC"), QByteArray("A\0B\0C\0=\0" "0\0\r\0\n\0", 14), QStringLiteral("AB")},
        {1, QString(), QByteArray("=\0\r\0\n\0", 6), QStringLiteral("=")},
        {2, QString(), QByteArray("=\0\x81\xFE\r\0\n\0", 8), QStringLiteral("=\uFE81")},
    };
    const QString path = tablePath();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slot);
        CodeStrings codes = defaultCodeStrings();
        codes[c.slot - 1] = c.code;
        ASSERT_EQ(writeTableFile(path, codes), std::nullopt);

        // Every other line keeps the default length: 10 bytes for line 1, 12 for the rest.
        const QByteArray bytes = fileBytes(path);
        const qsizetype defaultLineSize = c.slot == 1 ? 10 : 12;
        const qsizetype lineOffset = c.slot == 1 ? 2 : 2 + 10 + 12 * (c.slot - 2);
        EXPECT_EQ(bytes.size(), kDefaultTableSize - defaultLineSize + c.line.size());
        EXPECT_EQ(bytes.sliced(lineOffset, c.line.size()), c.line);

        const TableReading reading = readTableFile(path);
        ASSERT_TRUE(reading.ok());
        ASSERT_EQ(reading.codes.size(), kSlotCount);
        EXPECT_EQ(reading.codes[c.slot - 1], c.readBack);
        EXPECT_EQ(reading.codes[c.slot == 1 ? 1 : 0], QStringLiteral("00"));
    }
}

}  // namespace
}  // namespace harfcode
