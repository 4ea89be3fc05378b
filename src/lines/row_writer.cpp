#include "lines/row_writer.h"

#include "c_source/c_bytes.h"
#include "conversion/code_output.h"

#include <QStringEncoder>

#include <algorithm>
#include <utility>

namespace harfcode {
namespace {

// Encodes straight into `out`, without a string of its own for every piece.
void appendUtf8(QByteArray& out, QStringView text)
{
    QStringEncoder encoder(QStringEncoder::Utf8);
    const qsizetype start = out.size();
    out.resize(start + encoder.requiredSpace(text.size()));
    const char* end = encoder.appendToBuffer(out.data() + start, text);
    out.truncate(end - out.constData());
}

bool isNotBlank(char c)
{
    return c != ' ';
}

// The marks that a preview in reverse and visual order stands between, so that a terminal that
// reorders text itself shows the glyphs as they stand.
constexpr char16_t kLeftToRightOverride = 0x202D;
constexpr char16_t kPopDirectionalFormatting = 0x202C;

}  // namespace

RowWriter::RowWriter(const LineOptions& options, const CodeStrings& codes, const Utf8SlotCodes& slotCodes,
                     ConversionWarnings& warnings)
    : m_options(options)
    , m_codes(codes)
    , m_slotCodes(slotCodes)
    , m_warnings(warnings)
{
}

void RowWriter::begin(QByteArray& out)
{
    m_started = false;
    m_heldBlanks = 0;
    if (m_options.format == CodeFormat::CString)
        out += '"';
    else if (m_options.format == CodeFormat::Glyphs && m_options.order != DisplayOrder::Typing)
        appendUtf8(out, QStringView(&kLeftToRightOverride, 1));
}

void RowWriter::append(const std::vector<Slot>& slots, QByteArray& out)
{
    switch (m_options.format) {
    case CodeFormat::SlotNumbers:
        for (const Slot slot : slots) {
            if (std::exchange(m_started, true))
                out += ' ';
            out += slot == kNoSlot ? QByteArray("-") : QByteArray::number(slot);
        }
        return;
    case CodeFormat::Spaced:
        appendSpaced(slots, out);
        return;
    case CodeFormat::Glyphs:
        appendUtf8(out, glyphsOf(slots));
        return;
    case CodeFormat::CArray:
    case CodeFormat::CString:
    case CodeFormat::Bytes:
        break;
    }
    const QByteArray bytes = codeBytesOf(slots, m_codes).bytes;
    if (m_options.format == CodeFormat::Bytes) {
        out += bytes;
    } else if (m_options.format == CodeFormat::CString) {
        if (bytes.contains('\0'))
            m_warnings.noteZeroInCString();
        out += cStringEscapes(bytes);
    } else if (!bytes.isEmpty()) {
        if (std::exchange(m_started, true))
            out += ", ";
        out += cArrayElements(bytes);
    }
}

void RowWriter::end(QByteArray& out)
{
    if (m_options.format == CodeFormat::CString)
        out += '"';
    else if (m_options.format == CodeFormat::Glyphs && m_options.order != DisplayOrder::Typing)
        appendUtf8(out, QStringView(&kPopDirectionalFormatting, 1));
    if (m_options.format != CodeFormat::Bytes)
        out += '\n';
}

// The codes joined by two blanks without outer blanks, as for the whole row: blanks that open
// the row are dropped, and those at a piece's end are counted, and written only once a code
// follows: a row that ends in a long run of characters without a glyph holds none of it.
void RowWriter::appendSpaced(const std::vector<Slot>& slots, QByteArray& out)
{
    const qsizetype start = out.size();
    appendSeparatedCodes(slots, m_slotCodes, out);
    const auto firstCode = std::find_if(out.cbegin() + start, out.cend(), isNotBlank);
    if (firstCode == out.cend()) {
        if (m_started)
            m_heldBlanks += out.size() - start;
        out.truncate(start);
        return;
    }
    if (m_started)
        out.insert(start, m_heldBlanks, ' ');
    else
        out.remove(start, firstCode - (out.cbegin() + start));
    m_started = true;
    const auto lastCode = std::find_if(out.crbegin(), out.crend(), isNotBlank);
    m_heldBlanks = lastCode - out.crbegin();
    out.truncate(out.size() - m_heldBlanks);
}

}  // namespace harfcode
