#include "table/code_strings.h"
#include "table/table_file.h"
#include "table/table_reading.h"

#include "pattern_device.h"
#include "table_test_support.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QStringList>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::kUtf16LeBom;
using testing::kUtf8Bom;
using testing::PatternDevice;
using testing::tableText;
using testing::utf16le;
using testing::writeBytes;
using TableReadingRule = testing::TableFolder;

// `count` lines "NN=x" whose codes NN count 01, 02, ... (mod 100), each ended by `lineEnd`.
QString numberedLines(int count, QStringView lineEnd = u"\r\n")
{
    QString text;
    for (int line = 1; line <= count; ++line)
        text.append(QStringLiteral("%1=x").arg(line % 100, 2, 10, QChar(u'0'))).append(lineEnd);
    return text;
}

QStringList numberedCodes(int count)
{
    QStringList codes;
    for (int line = 1; line <= count; ++line)
        codes.append(QStringLiteral("%1").arg(line % 100, 2, 10, QChar(u'0')));
    return codes;
}

QByteArray utf16File(QStringView text) { return kUtf16LeBom + utf16le(text); }

struct ReadCase {
    const char* name;
    QByteArray bytes;
    QStringList codes;
    bool surplus;
};

std::vector<ReadCase> readCases()
{
    const QString persian = QString::fromUtf8("سل");
    const QStringList twoCodes{QStringLiteral("a1"), QStringLiteral("b2")};
    return {
        {"default table", utf16File(tableText(QStringLiteral("00"))),
         QStringList(kSlotCount, QStringLiteral("00")), false},
        {"short and long lines", utf16File(u"7\r\n\r\nABC=x\r\n"),
         {QStringLiteral("7"), QString(), QStringLiteral("AB")}, false},
        {"only line ends", utf16File(u"\r\n\r\n"), {QString(), QString()}, false},
        {"fifty lines", utf16File(numberedLines(50)), numberedCodes(50), false},
        {"exactly 103 lines", utf16File(numberedLines(103)), numberedCodes(103), false},
        {"103 lines, the last without line end", utf16File(numberedLines(103).chopped(2)),
         numberedCodes(103), false},
        {"empty 104th line", utf16File(numberedLines(103) + QStringLiteral("\r\n")), numberedCodes(103), true},
        {"104th line with text", utf16File(numberedLines(104)), numberedCodes(103), true},
        {"104 lines ended by LF", utf16File(numberedLines(104, u"\n")), numberedCodes(103), true},
        {"lone LF", utf16File(u"a1\nb2\n"), twoCodes, false},
        {"lone CR", utf16File(u"a1\rb2\r"), twoCodes, false},
        {"mixed line ends, last line open", utf16File(u"a1\r\nb2\nc3\rd4"),
         {QStringLiteral("a1"), QStringLiteral("b2"), QStringLiteral("c3"), QStringLiteral("d4")}, false},
        {"LF then CR ends two lines", utf16File(u"a1\n\rb2"), {QStringLiteral("a1"), QString(), QStringLiteral("b2")},
         false},
        {"CR CR LF ends two lines", utf16File(u"a1\r\r\nb2"), {QStringLiteral("a1"), QString(), QStringLiteral("b2")},
         false},
        {"surrogate pair code", utf16File(QString::fromUtf8("😀=x\r\n")), {QString::fromUtf8("😀")}, false},
        {"a second byte-order mark is text", utf16File(u"\uFEFFA=\r\n"), {QStringLiteral("\uFEFFA")}, false},
        {"UTF-8 without byte-order mark", (persian + QStringLiteral("=x\nAB=y\n")).toUtf8(), {persian, QStringLiteral("AB")},
         false},
        {"UTF-8 with byte-order mark", kUtf8Bom + (persian + QStringLiteral("=x\r\nAB")).toUtf8(), {persian, QStringLiteral("AB")},
         false},
        {"UTF-8 surplus", numberedLines(200).toUtf8(), numberedCodes(103), true},
        {"empty file", QByteArray(), {}, false},
        {"byte-order mark only", kUtf16LeBom, {}, false},
    };
}

void expectReading(const TableReading& reading, const ReadCase& c)
{
    ASSERT_TRUE(reading.ok()) << reading.error->message().toStdString();
    EXPECT_EQ(reading.codes, c.codes);
    EXPECT_EQ(reading.hasSurplusLines, c.surplus);
}

TEST_F(TableReadingRule, FileFollowsTheReadingRule)
{
    const QString path = tablePath();
    for (const ReadCase& c : readCases()) {
        SCOPED_TRACE(c.name);
        writeBytes(path, c.bytes);
        expectReading(readTableFile(path), c);
    }
}

TEST_F(TableReadingRule, BufferFollowsTheReadingRule)
{
    for (ReadCase c : readCases()) {
        SCOPED_TRACE(c.name);
        QBuffer buffer(&c.bytes);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        expectReading(readTable(buffer, QStringLiteral("buffer")), c);
    }
}

// A pipe may deliver a byte at a time: neither the byte-order mark, nor a character, nor
// a CR LF may depend on arriving in one piece.
TEST_F(TableReadingRule, ShortReadsFollowTheReadingRule)
{
    for (const qint64 maxPerRead : {1, 3, 5}) {
        for (const ReadCase& c : readCases()) {
            SCOPED_TRACE(std::string(c.name) + ", reads of " + std::to_string(maxPerRead));
            PatternDevice device(c.bytes, maxPerRead);
            expectReading(readTable(device, QStringLiteral("pipe")), c);
        }
    }
}

// The reader decodes 16 KiB at a time; a CR at the end of one piece and its LF at the
// start of the next still make one line end. First lines of lengths around the boundary
// put the CR on either side of it.
TEST_F(TableReadingRule, LineEndSplitAcrossReadPiecesIsOneLineEnd)
{
    constexpr qsizetype kPieceBytes = 16 * 1024;
    const QString path = tablePath();
    const QStringList expected{QStringLiteral("xx"), QStringLiteral("B2")};
    for (qsizetype offset = -3; offset <= 3; ++offset) {
        // UTF-16: the byte-order mark takes one unit of the first piece.
        const QString utf16Text = QString(kPieceBytes / 2 - 2 + offset, u'x') + QStringLiteral("\r\nB2\r\n");
        // UTF-8: one byte per unit.
        const QString utf8Text = QString(kPieceBytes - 1 + offset, u'x') + QStringLiteral("\r\nB2\r\n");
        for (const QByteArray& bytes : {utf16File(utf16Text), utf8Text.toUtf8()}) {
            SCOPED_TRACE(offset);
            writeBytes(path, bytes);
            const TableReading reading = readTableFile(path);
            ASSERT_TRUE(reading.ok());
            EXPECT_EQ(reading.codes, expected);
            EXPECT_FALSE(reading.hasSurplusLines);
        }
    }
}

// A file of any size costs a bounded read: the reader stops at the 104th line.
TEST_F(TableReadingRule, EndlessSourceIsReadOnlyUpToTheSurplusLine)
{
    constexpr qint64 kSourceSize = qint64(1) << 40;
    PatternDevice device(kUtf16LeBom, utf16le(u"AB=x\r\n"), kSourceSize, kSourceSize);

    const TableReading reading = readTable(device, QStringLiteral("endless"));

    ASSERT_TRUE(reading.ok());
    EXPECT_EQ(reading.codes, QStringList(kSlotCount, QStringLiteral("AB")));
    EXPECT_TRUE(reading.hasSurplusLines);
    EXPECT_LT(device.handedOut(), 64 * 1024);
}

TEST_F(TableReadingRule, HugeFilesAreReadQuicklyWithBoundedResult)
{
    const QString manyLines = filePath(QStringLiteral("many-lines.txt"));
    const QString oneLine = filePath(QStringLiteral("one-line.txt"));
    writeBytes(manyLines, utf16File(numberedLines(200'000)));
    writeBytes(oneLine, QByteArray(50 * 1024 * 1024, 'x'));

    QElapsedTimer timer;
    timer.start();
    const TableReading many = readTableFile(manyLines);
    EXPECT_LT(timer.elapsed(), 1000);
    ASSERT_TRUE(many.ok());
    EXPECT_EQ(many.codes, numberedCodes(kSlotCount));
    EXPECT_TRUE(many.hasSurplusLines);

    // One 50 MB line has to be read to its end, but only its first two units are kept.
    const TableReading one = readTableFile(oneLine);
    ASSERT_TRUE(one.ok());
    EXPECT_EQ(one.codes, QStringList{QStringLiteral("xx")});
    EXPECT_FALSE(one.hasSurplusLines);
}

// A short file fills only the slots it has lines for; the caller's other slots stay.
TEST_F(TableReadingRule, ShortReadOverlaysOnlyTheSlotsItCovers)
{
    CodeStrings table;
    table.fill(QStringLiteral("old"));
    QByteArray bytes = utf16File(numberedLines(50));
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));

    overlayCodes(table, readTable(buffer, QStringLiteral("buffer")).codes);

    const QStringList numbered = numberedCodes(50);
    for (int slot = 1; slot <= kSlotCount; ++slot)
        EXPECT_EQ(table[slot - 1], slot <= 50 ? numbered[slot - 1] : QStringLiteral("old")) << "slot " << slot;
}

TEST_F(TableReadingRule, OverlayIgnoresCodesBeyondTheLastSlot)
{
    CodeStrings table;
    overlayCodes(table, numberedCodes(kSlotCount + 10));
    EXPECT_EQ(QStringList(table.begin(), table.end()), numberedCodes(kSlotCount));
}

}  // namespace
}  // namespace harfcode
