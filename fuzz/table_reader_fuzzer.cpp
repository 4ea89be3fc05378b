// Feeds arbitrary bytes to the table reader, from memory and from a pipe-like source that
// hands over one byte per read, and aborts on anything no reading may produce.
#include "table/code_strings.h"
#include "table/table_file.h"
#include "table/table_reading.h"

#include "invariant.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>

#include <cstddef>
#include <algorithm>
#include <cstdint>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;

// A sequential source that hands over one byte per read, like a slow pipe.
class OneByteAtATime : public QIODevice {
public:
    explicit OneByteAtATime(QByteArrayView bytes) : m_bytes(bytes) { open(ReadOnly | Unbuffered); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (maxSize == 0 || m_next == m_bytes.size())
            return 0;
        *data = m_bytes[m_next++];
        return 1;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArrayView m_bytes;
    qsizetype m_next = 0;
};

void checkShape(const TableReading& reading, const QString& path)
{
    require(reading.codes.size() <= kSlotCount, "more codes than slots");
    for (const QString& code : reading.codes) {
        require(code.size() <= 2, "a code longer than two units");
        require(!code.contains(u'\r') && !code.contains(u'\n'), "a line end inside a code");
    }
    if (!reading.ok()) {
        require(reading.codes.isEmpty(), "codes beside an error");
        require(!reading.hasSurplusLines, "surplus beside an error");
        require(reading.error->message().contains(path), "an error that does not name the file");
    }
    require(!reading.hasSurplusLines || reading.codes.size() == kSlotCount, "surplus before the last slot");
}

// What the reader must find on line `slot` of a written table: the first two units of
// the code, "=", the glyph.
QString lineStart(const QString& code, int slot)
{
    QString line = code + u'=';
    if (const char16_t glyph = glyphOfSlot(slot))
        line += QChar(glyph);
    return line.first(std::min<qsizetype>(2, line.size()));
}

// Whatever was read can be saved and reads back the same.
void checkRoundTrip(const TableReading& reading)
{
    CodeStrings table = defaultCodeStrings();
    overlayCodes(table, reading.codes);
    QByteArray bytes = encodeTable(table);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const TableReading again = readTable(buffer, QStringLiteral("written"));
    require(again.ok() && !again.hasSurplusLines && again.codes.size() == kSlotCount,
            "a written table does not read back whole");
    for (int slot = 1; slot <= kSlotCount; ++slot)
        require(again.codes[slot - 1] == lineStart(table[slot - 1], slot), "a written code reads back changed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = QStringLiteral("fuzz/HexTable.txt");

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const TableReading whole = readTable(buffer, path);
    checkShape(whole, path);

    OneByteAtATime pipe(bytes);
    const TableReading trickled = readTable(pipe, path);
    checkShape(trickled, path);
    // The only difference allowed: a source of known size is refused for an odd byte count
    // at once, where a pipe stops at the surplus line before it could see the count.
    if (whole.ok()) {
        require(trickled.ok(), "a pipe refuses what memory accepts");
        require(trickled.codes == whole.codes && trickled.hasSurplusLines == whole.hasSurplusLines,
                "a pipe reads other codes than memory");
    } else {
        require(!trickled.ok() || trickled.hasSurplusLines, "a pipe accepts what memory refuses");
    }

    if (whole.ok())
        checkRoundTrip(whole);
    return 0;
}
