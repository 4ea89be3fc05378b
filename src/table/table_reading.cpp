#include "table/table_reading.h"

#include "files/file_access.h"
#include "table/code_strings.h"

#include "table/slot_catalogue.h"

#include <QByteArray>
#include <QDir>
#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace harfcode {
namespace {

constexpr qint64 kChunkSize = 16 * 1024;
// No glyph code table comes near this; a source that goes on past it (a device, a link to
// /dev/zero, a huge file) is refused after reading one byte more, whatever size it claims.
constexpr qint64 kMaxTableBytes = 1024 * 1024;
const QByteArray kUtf16LeBom("\xFF\xFE", 2);

// Splits decoded text, handed over in pieces of any size, into lines, keeping of each line its
// first `keptUnits` units and of the source its first `keptLines` lines: for the codes, never
// more than two units of a line are held.
class LineCollector {
public:
    LineCollector(qsizetype keptUnits, qsizetype keptLines)
        : m_keptUnits(keptUnits)
        , m_keptLines(keptLines)
    {
    }

    void feed(QStringView text)
    {
        for (const QChar unit : text) {
            if (m_afterCarriageReturn && unit == u'\n') {
                m_afterCarriageReturn = false;
                continue;
            }
            m_afterCarriageReturn = false;
            if (m_lines.size() == m_keptLines) {
                m_surplus = true;
                return;
            }
            if (unit == u'\r' || unit == u'\n') {
                endLine();
                m_afterCarriageReturn = unit == u'\r';
                continue;
            }
            m_lineOpen = true;
            if (m_line.size() < m_keptUnits)
                m_line += unit;
        }
    }

    // A last line without a line end still counts; a line end at the very end opens none.
    void finish()
    {
        if (m_lineOpen)
            endLine();
    }

    bool sawSurplus() const { return m_surplus; }
    QList<QString> takeLines() { return std::move(m_lines); }

private:
    void endLine()
    {
        m_lines.append(std::exchange(m_line, QString()));
        m_lineOpen = false;
    }

    qsizetype m_keptUnits;
    qsizetype m_keptLines;
    QList<QString> m_lines;
    QString m_line;
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

// Decodes the source into `lines` by the reading rule; what comes after the lines it keeps is
// only counted against the bound. Or why it cannot be read.
std::optional<QString> collectLines(QIODevice& device, LineCollector& lines)
{
    const QString oddLength = QStringLiteral("it ends in the middle of a UTF-16 character (odd number of bytes)");
    const QString tooLarge = QStringLiteral("it is larger than 1 MiB, far more than any glyph code table");
    // One byte beyond the bound tells that the source goes on past it.
    qint64 room = kMaxTableBytes + 1;
    QByteArray chunk;
    qint64 count = readPiece(device, chunk, room);
    if (count < 0)
        return device.errorString();
    room -= count;

    // The byte-order mark is not part of line 1; any later U+FEFF is an ordinary character.
    const bool isUtf16 = chunk.startsWith(kUtf16LeBom);
    if (isUtf16)
        chunk.remove(0, kUtf16LeBom.size());
    else if (chunk.startsWith(kUtf8ByteOrderMark))
        chunk.remove(0, kUtf8ByteOrderMark.size());
    if (isUtf16 && !device.isSequential() && device.size() % 2 != 0)
        return oddLength;
    QStringDecoder decoder(isUtf16 ? QStringDecoder::Utf16LE : QStringDecoder::Utf8,
                           QStringDecoder::Flag::ConvertInitialBom);
    const QString undecodable = QStringLiteral("it is neither UTF-16LE with a byte-order mark nor UTF-8");

    qint64 totalBytes = count;
    while (true) {
        const QString text = decoder(chunk);
        if (decoder.hasError())
            return undecodable;
        lines.feed(text);
        if (lines.sawSurplus() || count == 0 || room == 0)
            break;
        count = readPiece(device, chunk, room);
        if (count < 0)
            return device.errorString();
        totalBytes += count;
        room -= count;
    }
    // Past the last line kept the lines are not decoded, only counted against the bound.
    while (lines.sawSurplus() && count > 0 && room > 0) {
        count = readPiece(device, chunk, room);
        if (count < 0)
            return device.errorString();
        room -= count;
    }
    if (room == 0)
        return tooLarge;

    if (!lines.sawSurplus()) {
        if (isUtf16 && totalBytes % 2 != 0)
            return oddLength;
        // The decoder keeps an incomplete UTF-8 sequence to itself; one more byte makes it
        // report the sequence as broken. What that call decodes is not part of the text, but
        // it must be taken: the decoder only runs when its result is converted.
        if (!isUtf16) {
            const QString afterEnd = decoder(QByteArrayView("\n", 1));
            if (decoder.hasError())
                return undecodable;
        }
        lines.finish();
    }
    return std::nullopt;
}

}  // namespace

TableReading readTable(QIODevice& device, const QString& path)
{
    TableReading reading;
    LineCollector lines(kCodeLength, kSlotCount);
    if (const std::optional<QString> reason = collectLines(device, lines)) {
        reading.error = TableFileError{TableFileError::Operation::Read, path, *reason};
        return reading;
    }
    reading.hasSurplusLines = lines.sawSurplus();
    reading.codes = lines.takeLines();
    return reading;
}

std::variant<QStringList, TableFileError> readTableLines(QIODevice& device, const QString& path)
{
    // The bound on the source bounds the lines too.
    LineCollector lines(std::numeric_limits<qsizetype>::max(), std::numeric_limits<qsizetype>::max());
    if (const std::optional<QString> reason = collectLines(device, lines))
        return TableFileError{TableFileError::Operation::Read, path, *reason};
    return lines.takeLines();
}

QString surplusLinesSentence(const QString& path)
{
    return QStringLiteral("The glyph code table \"%1\" has more than %2 lines.")
        .arg(QDir::toNativeSeparators(path))
        .arg(kSlotCount);
}

}  // namespace harfcode
