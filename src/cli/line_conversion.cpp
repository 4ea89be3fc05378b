#include "cli/line_conversion.h"

#include "cli/row_writer.h"
#include "firmware/display_rows.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace harfcode {
namespace {

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Where a piece of `line` that starts at `from` ends: `size` bytes on, or the few more that
// finish the character there.
qsizetype pieceEnd(QByteArrayView line, qsizetype from, qsizetype size)
{
    qsizetype end = std::min(line.size(), from + size);
    while (end < line.size() && end < from + size + 3 && isContinuationByte(line[end]))
        ++end;
    return end;
}

// The first unit of the first character from `place` on in the (valid) text that is not
// transparent; none where the text ends before one. A run of marks is passed over once
// however many pieces of one text end inside it.
class JoiningLookahead {
public:
    std::optional<QChar> at(QByteArrayView text, qsizetype place)
    {
        if (place >= m_from && place <= m_to)
            return m_unit;
        m_from = place;
        auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
        const auto size = static_cast<std::int32_t>(std::min<qsizetype>(text.size() - place, INT32_MAX));
        std::int32_t offset = 0;
        m_unit.reset();
        while (offset < size) {
            const std::int32_t start = offset;
            UChar32 character;
            U8_NEXT(bytes + place, offset, size, character);
            if (!isTransparentToJoining(static_cast<char32_t>(character))) {
                m_unit = QChar::requiresSurrogates(character) ? QChar(QChar::highSurrogate(character))
                                                              : QChar(static_cast<char16_t>(character));
                offset = start;
                break;
            }
        }
        m_to = place + offset;
        return m_unit;
    }

private:
    qsizetype m_from = -1;  // the last search started here
    qsizetype m_to = -1;    // and found only marks before here
    std::optional<QChar> m_unit;
};

qsizetype characterCount(QStringView text)
{
    return text.size() - std::count_if(text.begin(), text.end(), [](QChar unit) { return unit.isLowSurrogate(); });
}

bool writesBytes(const LineOptions& options)
{
    return !options.slotNumbers && (options.format == CodeFormat::CArray || options.format == CodeFormat::CString
                                    || options.format == CodeFormat::Bytes);
}

}  // namespace

LineConverter::LineConverter(const LineOptions& options, const CodeStrings& codes, ConversionWarnings& warnings,
                             qsizetype pieceBytes)
    : m_options(options)
    , m_codes(codes)
    , m_slotCodes(codes)
    , m_warnings(warnings)
    , m_pieceBytes(pieceBytes)
{
}

std::optional<SkippedLine> LineConverter::convert(QByteArrayView line, long number, OutputBuffer& output)
{
    if (std::optional<SkippedLine> skipped = survey(line, number))
        return skipped;
    if (m_options.width == 0 || m_options.slotNumbers) {
        writePieces(line, output);
        return std::nullopt;
    }
    // Each row is a text of its own: a word cut across rows takes the forms of its pieces.
    forEachRow(line, [&](QByteArrayView row) {
        planPieces(row, [](const Piece&) {});
        writePieces(row, output);
        return true;
    });
    return std::nullopt;
}

std::optional<SkippedLine> LineConverter::survey(QByteArrayView line, long number)
{
    // The whole line is known to be UTF-8 before the first warning about it.
    for (qsizetype from = 0; line.size() > m_pieceBytes && from < line.size();) {
        const std::optional<PieceEnd> end = decodePiece(line, from);
        if (!end)
            return SkippedLine{};
        from = end->to;
    }
    qsizetype characters = 0;
    const auto noteWarnings = [&](qsizetype pieceEnd) {
        if (m_options.slotNumbers)
            return;
        m_warnings.noteCharactersWithoutSlot(m_text, m_slots, number, characters);
        if (pieceEnd < line.size())
            characters += characterCount(m_text);
    };
    std::optional<InvalidCode> invalid;
    const auto checkCodes = [&](const Piece&) {
        if (writesBytes(m_options) && !invalid)
            invalid = codeBytesOf(m_slots, m_codes).invalid;
    };
    // A line of one row is checked, and written later, in the pieces planned here.
    const bool oneRow = m_options.width == 0 || m_options.slotNumbers;
    const bool utf8 = planPieces(line, [&](const Piece& piece) {
        noteWarnings(piece.end.to);
        if (oneRow)
            checkCodes(piece);
    });
    if (!utf8)
        return SkippedLine{};
    // Every row is checked before any is written: a line with an invalid code leaves no trace.
    if (!oneRow && writesBytes(m_options))
        forEachRow(line, [&](QByteArrayView row) {
            planPieces(row, checkCodes);
            return !invalid;
        });
    if (invalid)
        return SkippedLine{std::move(invalid)};
    return std::nullopt;
}

template <typename PieceDone>
bool LineConverter::planPieces(QByteArrayView text, PieceDone pieceDone)
{
    m_pieces.clear();
    m_selectedPiece = -1;
    // In visual order a piece ends where the order may be cut, about one in each plain piece;
    // a text of one plain piece is one piece.
    const bool visual = m_options.order == DisplayOrder::Visual && !m_options.slotNumbers;
    std::vector<VisualCut> visualCuts;
    if (visual && text.size() > m_pieceBytes) {
        VisualCutFinder finder;
        for (qsizetype from = 0; from < text.size();) {
            const std::optional<PieceEnd> end = decodePiece(text, from);
            if (!end)
                return false;
            finder.add(m_text);
            from = end->to;
        }
        visualCuts = finder.finish();
    }
    SelectionState state;
    JoiningLookahead lookahead;
    qsizetype from = 0;
    do {
        const std::size_t index = m_pieces.size();
        std::optional<PieceEnd> end;
        if (!visual) {
            end = decodePiece(text, from);
        } else {
            end = index < visualCuts.size() ? PieceEnd{visualCuts[index].at.bytes, visualCuts[index].withinLeftToRightRun,
                                                       visualCuts[index].heldOpenings}
                                            : PieceEnd{text.size()};
            if (!decode(text.sliced(from, end->to - from)))
                end.reset();
        }
        if (!end)
            return false;
        const Piece piece{from, *end, state, lookahead.at(text, end->to)};
        m_slots.resize(static_cast<std::size_t>(m_text.size()));
        selectSlots(m_text, piece.following, state, m_slots.data());
        m_pieces.push_back(piece);
        m_selectedPiece = static_cast<qsizetype>(m_pieces.size()) - 1;
        pieceDone(piece);
        from = piece.end.to;
    } while (from < text.size());
    return true;
}

template <typename RowDone>
bool LineConverter::forEachRow(QByteArrayView line, RowDone rowDone)
{
    RowBreaker breaker(m_options.width);
    std::vector<RowBreaker::Row> rows;
    const auto rowsDone = [&] {
        // The rows' own pieces take the place of the line's piece in m_text.
        for (const RowBreaker::Row& row : rows) {
            if (!rowDone(line.sliced(row.start.bytes, row.end.bytes - row.start.bytes)))
                return false;
        }
        rows.clear();
        return true;
    };
    for (qsizetype from = 0; from < line.size();) {
        const qsizetype to = pieceEnd(line, from, m_pieceBytes);
        decode(line.sliced(from, to - from));  // the line is known to be UTF-8
        breaker.add(m_text, rows);
        if (!rowsDone())
            return false;
        from = to;
    }
    breaker.finish(rows);
    return rowsDone();
}

void LineConverter::writePieces(QByteArrayView line, OutputBuffer& output)
{
    if (m_options.order == DisplayOrder::Visual && !m_options.slotNumbers) {
        writeVisualPieces(line, output);
        return;
    }
    RowWriter writer(m_options, m_codes, m_slotCodes, m_warnings);
    writer.begin(output.pending());
    const auto count = static_cast<qsizetype>(m_pieces.size());
    const bool reverse = m_options.order == DisplayOrder::Reverse && !m_options.slotNumbers;
    // The display takes the last piece first in reverse order.
    for (qsizetype step = 0; step < count; ++step) {
        selectPiece(line, reverse ? count - 1 - step : step);
        if (reverse) {
            std::reverse(m_slots.begin(), m_slots.end());
            m_selectedPiece = -1;
        }
        writer.append(m_slots, output.pending());
        output.written();
    }
    writer.end(output.pending());
    output.written();
}

// The pieces from the last to the first, each in visual order, but where a cut took a
// left-to-right run apart: there the run's part from the piece before comes first. A part
// that waits for it is held, the whole piece when the run goes through it, and written from
// its piece again when its turn comes: a line that is one long run is held whole.
void LineConverter::writeVisualPieces(QByteArrayView line, OutputBuffer& output)
{
    RowWriter writer(m_options, m_codes, m_slotCodes, m_warnings);
    writer.begin(output.pending());
    const auto write = [&](auto first, auto last) {
        writer.append(std::vector<Slot>(first, last), output.pending());
        output.written();
    };
    const auto visualPieceAt = [&](qsizetype index) {
        selectPiece(line, index);
        return visualPiece(m_slots, m_text, index > 0 ? m_pieces[static_cast<std::size_t>(index) - 1].end.heldOpenings : 0);
    };
    struct HeldPart {
        qsizetype piece;
        qsizetype from;  // glyphs of the piece in visual order
        qsizetype to;
    };
    std::vector<HeldPart> heldReversed;  // left to right, the last part first
    const auto writeHeld = [&] {
        for (auto part = heldReversed.crbegin(); part != heldReversed.crend(); ++part) {
            const VisualPiece piece = visualPieceAt(part->piece);
            write(piece.slots.cbegin() + part->from, piece.slots.cbegin() + part->to);
        }
        heldReversed.clear();
    };

    for (auto index = static_cast<qsizetype>(m_pieces.size()) - 1; index >= 0; --index) {
        const VisualPiece piece = visualPieceAt(index);
        const auto size = static_cast<qsizetype>(piece.slots.size());
        const bool runGoesOnAfter = m_pieces[static_cast<std::size_t>(index)].end.withinLeftToRightRun;
        const bool runGoesOnBefore = index > 0 && m_pieces[static_cast<std::size_t>(index) - 1].end.withinLeftToRightRun;
        qsizetype rest = 0;
        if (runGoesOnAfter) {
            if (runGoesOnBefore && piece.oneRun) {
                heldReversed.push_back({index, 0, size});
                continue;
            }
            rest = piece.closingRun;
            write(piece.slots.cbegin(), piece.slots.cbegin() + rest);
            writeHeld();
        }
        const qsizetype restEnd = runGoesOnBefore ? std::max(rest, size - piece.openingRun) : size;
        write(piece.slots.cbegin() + rest, piece.slots.cbegin() + restEnd);
        if (runGoesOnBefore)
            heldReversed.push_back({index, restEnd, size});
    }
    writer.end(output.pending());
    output.written();
}

void LineConverter::selectPiece(QByteArrayView line, qsizetype index)
{
    if (index == m_selectedPiece)
        return;
    const Piece& piece = m_pieces[static_cast<std::size_t>(index)];
    decode(line.sliced(piece.from, piece.end.to - piece.from));  // the line is known to be UTF-8
    SelectionState state = piece.state;
    m_slots.resize(static_cast<std::size_t>(m_text.size()));
    selectSlots(m_text, piece.following, state, m_slots.data());
    m_selectedPiece = index;
}

std::optional<LineConverter::PieceEnd> LineConverter::decodePiece(QByteArrayView line, qsizetype from)
{
    const qsizetype to = pieceEnd(line, from, m_pieceBytes);
    if (!decode(line.sliced(from, to - from)))
        return std::nullopt;
    return PieceEnd{to};
}

bool LineConverter::decode(QByteArrayView bytes)
{
    const std::optional<QStringView> text = m_decoder.decode(bytes);
    m_text = text.value_or(QStringView());
    return text.has_value();
}

}  // namespace harfcode
