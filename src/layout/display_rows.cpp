#include "layout/display_rows.h"

#include "conversion/slot_selection.h"

namespace harfcode {

std::vector<QStringView> breakIntoRows(QStringView text, int width)
{
    RowBreaker breaker(width);
    std::vector<RowBreaker::Row> places;
    breaker.add(text, places);
    breaker.finish(places);
    std::vector<QStringView> rows;
    rows.reserve(places.size());
    for (const RowBreaker::Row& row : places)
        rows.push_back(text.sliced(row.start.units, row.end.units - row.start.units));
    return rows;
}

RowBreaker::RowBreaker(int width)
    : m_width(width)
{
}

void RowBreaker::add(QStringView piece, std::vector<Row>& rows)
{
    // Whether a character has a glyph does not depend on its neighbours, only its form does.
    const std::vector<Slot> slots = selectSlots(piece);
    for (qsizetype i = 0; i < piece.size(); ++i) {
        step(piece[i], slots[static_cast<std::size_t>(i)] != kNoSlot, rows);
        m_place.passUnit(piece[i].unicode());
    }
}

void RowBreaker::finish(std::vector<Row>& rows)
{
    // After a break with no glyph to follow, no row; otherwise the row goes to the end, with
    // the blanks that close it when they fitted.
    if (m_phase != Phase::AfterBreak)
        rows.push_back({m_rowStart, m_place});
}

void RowBreaker::step(QChar unit, bool hasSlot, std::vector<Row>& rows)
{
    const bool blank = unit == u' ';
    switch (m_phase) {
    case Phase::RowOpening:
        if (!blank) {
            m_phase = Phase::FirstWord;
            step(unit, hasSlot, rows);
            return;
        }
        if (hasSlot)
            firstWordGlyph(rows);
        return;
    case Phase::FirstWord:
        if (blank) {
            // The word is over: a row without a glyph yet takes the next word as its first.
            if (m_glyphsInRow == 0) {
                m_phase = Phase::RowOpening;
            } else {
                m_phase = Phase::Gap;
                m_gapStart = m_place;
                m_gapBlanks = 0;
            }
            step(unit, hasSlot, rows);
            return;
        }
        if (hasSlot)
            firstWordGlyph(rows);
        return;
    case Phase::Gap:
        if (blank) {
            if (m_glyphsInRow + ++m_gapBlanks > m_width) {
                rows.push_back({m_rowStart, m_gapStart});
                m_phase = Phase::AfterBreak;
            }
            return;
        }
        if (!hasSlot)
            return;
        m_phase = Phase::NextWord;
        m_wordStart = m_place;
        m_wordGlyphs = 0;
        step(unit, hasSlot, rows);
        return;
    case Phase::NextWord:
        if (blank) {
            // The word fits: the gap and the word join the row.
            m_glyphsInRow += m_gapBlanks + m_wordGlyphs;
            m_phase = Phase::Gap;
            m_gapStart = m_place;
            m_gapBlanks = 0;
            step(unit, hasSlot, rows);
            return;
        }
        if (hasSlot && m_glyphsInRow + m_gapBlanks + ++m_wordGlyphs > m_width) {
            // It does not fit: it opens the next row, where its glyphs so far fill no row yet.
            rows.push_back({m_rowStart, m_gapStart});
            m_rowStart = m_wordStart;
            m_glyphsInRow = m_wordGlyphs;
            m_phase = Phase::FirstWord;
        }
        return;
    case Phase::AfterBreak:
        if (blank || !hasSlot)
            return;
        m_rowStart = m_place;
        m_glyphsInRow = 0;
        m_phase = Phase::FirstWord;
        step(unit, hasSlot, rows);
        return;
    }
}

void RowBreaker::firstWordGlyph(std::vector<Row>& rows)
{
    if (m_glyphsInRow == m_width) {
        rows.push_back({m_rowStart, m_place});
        m_rowStart = m_place;
        m_glyphsInRow = 0;
    }
    ++m_glyphsInRow;
}

}  // namespace harfcode
