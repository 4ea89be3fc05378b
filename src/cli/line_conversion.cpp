#include "cli/line_conversion.h"

#include "conversion/code_output.h"
#include "conversion/slot_selection.h"
#include "firmware/display_rows.h"

#include <QStringEncoder>

namespace harfcode {
namespace {

QByteArray slotNumbers(QStringView text)
{
    QByteArray numbers;
    for (Slot slot : selectSlots(text)) {
        if (!numbers.isEmpty())
            numbers += ' ';
        numbers += slot == kNoSlot ? QByteArray("-") : QByteArray::number(slot);
    }
    return numbers;
}

// Encodes straight into `out`, without a string of its own for every line.
void appendUtf8(QByteArray& out, QStringView text)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    const qsizetype start = out.size();
    out.resize(start + encoder.requiredSpace(text.size()));
    const char* end = encoder.appendToBuffer(out.data() + start, text);
    out.truncate(end - out.constData());
}

}  // namespace

LineConverter::LineConverter(const LineOptions& options, const CodeStrings& codes, ConversionWarnings& warnings)
    : m_options(options)
    , m_codes(codes)
    , m_slotCodes(codes)
    , m_warnings(warnings)
{
}

std::optional<InvalidCode> LineConverter::convert(QStringView text, long line, QByteArray& out)
{
    if (m_options.slotNumbers) {
        out += slotNumbers(text);
        out += '\n';
        return std::nullopt;
    }
    std::vector<Slot> typingSlots = selectSlots(text);
    m_warnings.noteCharactersWithoutSlot(text, typingSlots, line);
    if (m_options.width == 0)
        return appendRow(slotsInOrder(std::move(typingSlots), text, m_options.order), out);
    // Every row is checked before any is written: a line with an invalid code leaves no trace.
    const qsizetype start = out.size();
    for (const QStringView row : breakIntoRows(text, m_options.width)) {
        // Each row is a text of its own: a word cut across rows takes the forms of its pieces.
        if (std::optional<InvalidCode> invalid = appendRow(slotsInOrder(row, m_options.order), out)) {
            out.truncate(start);
            return invalid;
        }
    }
    return std::nullopt;
}

std::optional<InvalidCode> LineConverter::appendRow(const std::vector<Slot>& slots, QByteArray& out)
{
    if (m_options.format == CodeFormat::Spaced) {
        appendJoinedCodes(slots, m_slotCodes, out);
    } else if (m_options.format == CodeFormat::Glyphs) {
        appendUtf8(out, glyphPreview(slots, m_options.order));
    } else {
        const CodeBytes bytes = codeBytesOf(slots, m_codes);
        if (bytes.invalid)
            return bytes.invalid;
        if (m_options.format == CodeFormat::CString && bytes.bytes.contains('\0'))
            m_warnings.noteZeroInCString();
        out += m_options.format == CodeFormat::CArray   ? cArrayElements(bytes.bytes)
               : m_options.format == CodeFormat::CString ? cStringLiteral(bytes.bytes)
                                                         : bytes.bytes;
    }
    if (m_options.format != CodeFormat::Bytes)
        out += '\n';
    return std::nullopt;
}

}  // namespace harfcode
