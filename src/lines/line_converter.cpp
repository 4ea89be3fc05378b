#include "lines/line_converter.h"

#include "layout/display_order.h"
#include "layout/display_rows.h"
#include "lines/row_writer.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace harfcode {
namespace {

bool isContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
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

std::optional<SkippedLine> LineConverter::convert(QByteArrayView line, long number, LineOutput& output)
{
    if (std::optional<SkippedLine> skipped = survey(line, number))
        return skipped;
    if (m_options.width == 0) {
        writePieces(line, output);
        return std::nullopt;
    }
    // Each row is a text of its own: a word cut across rows takes the forms of its pieces.
    forEachRow(line, [&](QByteArrayView row) {
        planPieces(row, [](const Piece&, const SelectedPiece&) {});
        writePieces(row, output);
        return true;
    });
    return std::nullopt;
}

std::optional<SkippedLine> LineConverter::survey(QByteArrayView line, long number)
{
    // The whole line is known to be UTF-8 before the first warning about it.
    for (qsizetype from = 0; line.size() > m_pieceBytes && from < line.size();) {
        const qsizetype to = plainPieceEnd(line, from);
        if (!m_decoder.decode(line.sliced(from, to - from)))
            return SkippedLine{};
        from = to;
    }
    std::optional<InvalidCode> invalid;
    const auto checkCodes = [&](const Piece&, const SelectedPiece& selected) {
        if (writesBytes(m_options.format) && !invalid)
            invalid = codeBytesOf(selected.slots, m_codes).invalid;
    };
    // A line of one row is checked, and written later, in the pieces planned here.
    const bool oneRow = m_options.width == 0;
    qsizetype characters = 0;
    const bool utf8 = planPieces(line, [&](const Piece& piece, const SelectedPiece& selected) {
        // Slot numbers show a character without a slot as such.
        if (m_options.format != CodeFormat::SlotNumbers) {
            m_warnings.noteCharactersWithoutSlot(selected.text, selected.slots, number, characters);
            if (piece.to < line.size())
                characters += characterCount(selected.text);
        }
        if (oneRow)
            checkCodes(piece, selected);
    });
    if (!utf8)
        return SkippedLine{};
    // Every row is checked before any is written: a line with an invalid code leaves no trace.
    if (!oneRow && writesBytes(m_options.format))
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
    m_selected.index = -1;
    // In visual order a piece ends where the order may be cut, about one in each plain piece;
    // a text of one plain piece is one piece.
    const bool visual = m_options.order == DisplayOrder::Visual;
    std::vector<VisualCut> visualCuts;
    if (visual && text.size() > m_pieceBytes) {
        VisualCutFinder finder;
        for (qsizetype from = 0; from < text.size();) {
            const qsizetype to = plainPieceEnd(text, from);
            const std::optional<QStringView> decoded = m_decoder.decode(text.sliced(from, to - from));
            if (!decoded)
                return false;
            finder.add(*decoded);
            from = to;
        }
        visualCuts = finder.finish();
    }
    SelectionState state;
    JoiningLookahead lookahead;
    qsizetype from = 0;
    do {
        const auto index = static_cast<qsizetype>(m_pieces.size());
        Piece piece{from, text.size(), state, std::nullopt};
        if (!visual) {
            piece.to = plainPieceEnd(text, from);
        } else if (index < static_cast<qsizetype>(visualCuts.size())) {
            const VisualCut& cut = visualCuts[static_cast<std::size_t>(index)];
            piece.to = cut.at.bytes;
            piece.runGoesOnAfter = cut.withinLeftToRightRun;
            piece.heldOpenings = cut.heldOpenings;
        }
        piece.following = lookahead.at(text, piece.to);
        m_pieces.push_back(piece);
        const SelectedPiece* selected = select(text, index);
        if (!selected)
            return false;
        state = selected->after;
        pieceDone(piece, *selected);
        from = piece.to;
    } while (from < text.size());
    return true;
}

template <typename RowDone>
bool LineConverter::forEachRow(QByteArrayView line, RowDone rowDone)
{
    RowBreaker breaker(m_options.width);
    std::vector<RowBreaker::Row> rows;
    const auto rowsDone = [&] {
        for (const RowBreaker::Row& row : rows) {
            if (!rowDone(line.sliced(row.start.bytes, row.end.bytes - row.start.bytes)))
                return false;
        }
        rows.clear();
        return true;
    };
    for (qsizetype from = 0; from < line.size();) {
        const qsizetype to = plainPieceEnd(line, from);
        // The line is known to be UTF-8.
        breaker.add(m_decoder.decode(line.sliced(from, to - from)).value_or(QStringView()), rows);
        if (!rowsDone())
            return false;
        from = to;
    }
    breaker.finish(rows);
    return rowsDone();
}

void LineConverter::writePieces(QByteArrayView text, LineOutput& output)
{
    if (m_options.order == DisplayOrder::Visual) {
        writeVisualPieces(text, output);
        return;
    }
    RowWriter writer(m_options, m_codes, m_slotCodes, m_warnings);
    writer.begin(output.pending());
    const auto count = static_cast<qsizetype>(m_pieces.size());
    const bool reverse = m_options.order == DisplayOrder::Reverse;
    // The display takes the last piece first in reverse order.
    for (qsizetype step = 0; step < count; ++step) {
        const SelectedPiece& piece = *select(text, reverse ? count - 1 - step : step);
        if (reverse) {
            m_reversed.assign(piece.slots.crbegin(), piece.slots.crend());
            writer.append(m_reversed, output.pending());
        } else {
            writer.append(piece.slots, output.pending());
        }
        output.written();
    }
    writer.end(output.pending());
    output.written();
}

// The pieces as joinVisualPiece() joins them; a held part is written from its piece, put in
// visual order again, when its turn comes.
void LineConverter::writeVisualPieces(QByteArrayView text, LineOutput& output)
{
    RowWriter writer(m_options, m_codes, m_slotCodes, m_warnings);
    writer.begin(output.pending());
    const auto visualPieceAt = [&](qsizetype index) {
        const SelectedPiece& selected = *select(text, index);
        return visualPiece(selected.slots, selected.text,
                           index > 0 ? m_pieces[static_cast<std::size_t>(index) - 1].heldOpenings : 0);
    };
    m_heldParts.clear();
    for (auto index = static_cast<qsizetype>(m_pieces.size()) - 1; index >= 0; --index) {
        const VisualPiece piece = visualPieceAt(index);
        const bool runGoesOnBefore = index > 0 && m_pieces[static_cast<std::size_t>(index) - 1].runGoesOnAfter;
        joinVisualPiece(index, piece, runGoesOnBefore, m_pieces[static_cast<std::size_t>(index)].runGoesOnAfter,
                        m_heldParts, m_partsToWrite);
        for (const PiecePart& part : m_partsToWrite) {
            std::optional<VisualPiece> other;
            if (part.piece != index)
                other = visualPieceAt(part.piece);
            const std::vector<Slot>& slots = (other ? *other : piece).slots;
            writer.append(std::vector<Slot>(slots.cbegin() + part.from, slots.cbegin() + part.to), output.pending());
            output.written();
        }
    }
    writer.end(output.pending());
    output.written();
}

const LineConverter::SelectedPiece* LineConverter::select(QByteArrayView text, qsizetype index)
{
    if (index == m_selected.index)
        return &m_selected;
    m_selected.index = -1;
    const Piece& piece = m_pieces[static_cast<std::size_t>(index)];
    const std::optional<QStringView> decoded = m_pieceDecoder.decode(text.sliced(piece.from, piece.to - piece.from));
    if (!decoded)
        return nullptr;
    m_selected.text = *decoded;
    m_selected.after = piece.state;
    m_selected.slots.resize(static_cast<std::size_t>(decoded->size()));
    selectSlots(*decoded, piece.following, m_selected.after, m_selected.slots.data());
    m_selected.index = index;
    return &m_selected;
}

qsizetype LineConverter::plainPieceEnd(QByteArrayView text, qsizetype from) const
{
    qsizetype end = std::min(text.size(), from + m_pieceBytes);
    while (end < text.size() && end < from + m_pieceBytes + 3 && isContinuationByte(text[end]))
        ++end;
    return end;
}

}  // namespace harfcode
