#include "table/table_reading.h"

#include "files/file_access.h"

#include "table/slot_catalogue.h"

#include <QByteArray>
#include <QDir>
#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>

namespace harfcode {
namespace {

constexpr qint64 kChunkSize = 16 * 1024;
// No glyph code table comes near this; a source that goes on past it (a device, a link to
// /dev/zero, a huge file) is refused after reading one byte more, whatever size it claims.
constexpr qint64 kMaxTableBytes = 1024 * 1024;
constexpr qsizetype kCodeLength = 2;
const QByteArray kUtf16LeBom("\xFF\xFE", 2);

// Splits decoded text, handed over in pieces of any size, into lines and keeps the code
// string of each: never more than two units of a line are held.
class LineCollector {
public:
    void feed(QStringView text)
    {
        for (const QChar unit : text) {
            if (m_afterCarriageReturn && unit == u'\n') {
                m_afterCarriageReturn = false;
                continue;
            }
            m_afterCarriageReturn = false;
            if (m_codes.size() == kSlotCount) {
                m_surplus = true;
                return;
            }
            if (unit == u'\r' || unit == u'\n') {
                endLine();
                m_afterCarriageReturn = unit == u'\r';
                continue;
            }
            m_lineOpen = true;
            if (m_code.size() < kCodeLength)
                m_code += unit;
        }
    }

    // A last line without a line end still counts; a line end at the very end opens none.
    void finish()
    {
        if (m_lineOpen)
            endLine();
    }

    bool sawSurplus() const { return m_surplus; }
    QList<QString> takeCodes() { return std::move(m_codes); }

private:
    void endLine()
    {
        m_codes.append(std::exchange(m_code, QString()));
        m_lineOpen = false;
    }

    QList<QString> m_codes;
    QString m_code;
    bool m_lineOpen = false;
    bool m_afterCarriageReturn = false;
    bool m_surplus = false;
};

// Fills `piece` with up to kChunkSize bytes, or fewer only at the end of the source or of
// what may be read (`room`): a pipe may hand over a byte at a time, and the byte-order mark
// must be seen whole. Returns the count, or -1 when the device fails.
qint64 readPiece(QIODevice& device, QByteArray& piece, qint64 room)
{
    const qint64 size = std::min(kChunkSize, room);
    piece.resize(size);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 count = device.read(piece.data() + filled, size - filled);
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        filled += count;
    }
    piece.truncate(filled);
    return filled;
}

}  // namespace

TableReading readTable(QIODevice& device, const QString& path)
{
    TableReading reading;
    auto fail = [&](const QString& reason) {
        reading.codes.clear();
        reading.hasSurplusLines = false;
        reading.error = TableFileError{TableFileError::Operation::Read, path, reason};
        return reading;
    };
    const QString oddLength = QStringLiteral("it ends in the middle of a UTF-16 character (odd number of bytes)");

    const QString tooLarge = QStringLiteral("it is larger than 1 MiB, far more than any glyph code table");
    // One byte beyond the bound tells that the source goes on past it.
    qint64 room = kMaxTableBytes + 1;
    QByteArray chunk;
    qint64 count = readPiece(device, chunk, room);
    if (count < 0)
        return fail(device.errorString());
    room -= count;

    // The byte-order mark is not part of line 1; any later U+FEFF is an ordinary character.
    const bool isUtf16 = chunk.startsWith(kUtf16LeBom);
    if (isUtf16)
        chunk.remove(0, kUtf16LeBom.size());
    else if (chunk.startsWith(kUtf8ByteOrderMark))
        chunk.remove(0, kUtf8ByteOrderMark.size());
    if (isUtf16 && !device.isSequential() && device.size() % 2 != 0)
        return fail(oddLength);
    QStringDecoder decoder(isUtf16 ? QStringDecoder::Utf16LE : QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom);
    const QString undecodable = QStringLiteral("it is neither UTF-16LE with a byte-order mark nor UTF-8");

    LineCollector lines;
    qint64 totalBytes = count;
    while (true) {
        const QString text = decoder(chunk);
        if (decoder.hasError())
            return fail(undecodable);
        lines.feed(text);
        if (lines.sawSurplus() || count == 0 || room == 0)
            break;
        count = readPiece(device, chunk, room);
        if (count < 0)
            return fail(device.errorString());
        totalBytes += count;
        room -= count;
    }
    // Past the last slot the lines are not decoded, only counted against the bound.
    while (lines.sawSurplus() && count > 0 && room > 0) {
        count = readPiece(device, chunk, room);
        if (count < 0)
            return fail(device.errorString());
        room -= count;
    }
    if (room == 0)
        return fail(tooLarge);

    if (!lines.sawSurplus()) {
        if (isUtf16 && totalBytes % 2 != 0)
            return fail(oddLength);
        // The decoder keeps an incomplete UTF-8 sequence to itself; one more byte makes it
        // report the sequence as broken. What that call decodes is not part of the text, but
        // it must be taken: the decoder only runs when its result is converted.
        if (!isUtf16) {
            const QString afterEnd = decoder(QByteArrayView("\n", 1));
            if (decoder.hasError())
                return fail(undecodable);
        }
        lines.finish();
    }
    reading.hasSurplusLines = lines.sawSurplus();
    reading.codes = lines.takeCodes();
    return reading;
}

QString surplusLinesSentence(const QString& path)
{
    return QStringLiteral("The glyph code table \"%1\" has more than %2 lines.")
        .arg(QDir::toNativeSeparators(path))
        .arg(kSlotCount);
}

}  // namespace harfcode
