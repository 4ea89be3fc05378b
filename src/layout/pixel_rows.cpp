#include "layout/pixel_rows.h"

#include "conversion/code_output.h"
#include "conversion/slot_selection.h"

#include <algorithm>
#include <optional>

namespace harfcode {
namespace {

bool isBlank(QChar unit)
{
    return unit == u' ';
}

qint64 advanceOf(const std::vector<Slot>& slots, const GlyphMeasure& measure)
{
    qint64 advance = 0;
    for (const Slot slot : slots)
        if (slot != kNoSlot)
            advance += measure.advance(slot);
    return advance;
}

// A row's text growing from its start, shaped alone at every length as the row will be, at a
// cost linear in its length: the forms before its last glyph no longer change as it grows, so
// they are chosen once. A word is not shaped on its own: a joining flag carries across the
// characters that neither join nor break, such as digits and brackets, so the forms of a word
// that starts with one may depend on what stands before it on the row.
class GrowingRow {
public:
    GrowingRow(QStringView text, qsizetype start, const GlyphMeasure& measure)
        : m_text(text)
        , m_settled(start)
        , m_measure(measure)
    {
    }

    // The advance of the row from its start to `end`, where the units before `tail`, a unit
    // with a slot, keep their forms as the row grows (those from the row's last glyph on may
    // not); neither goes back from one call to the next.
    qint64 advanceTo(qsizetype tail, qsizetype end)
    {
        if (tail > m_settled) {
            m_slots.resize(std::size_t(tail - m_settled));
            selectSlots(m_text.sliced(m_settled, tail - m_settled), m_text[tail], m_state, m_slots.data());
            m_settledAdvance += advanceOf(m_slots, m_measure);
            m_settled = tail;
        }
        SelectionState tailState = m_state;
        m_slots.resize(std::size_t(end - tail));
        selectSlots(m_text.sliced(tail, end - tail), std::nullopt, tailState, m_slots.data());
        return m_settledAdvance + advanceOf(m_slots, m_measure);
    }

private:
    QStringView m_text;
    qsizetype m_settled;  // the row's units before it have their forms
    const GlyphMeasure& m_measure;
    SelectionState m_state;
    qint64 m_settledAdvance = 0;
    std::vector<Slot> m_slots;
};

// A run of the text that rows keep whole where they can, in typing order.
struct Word {
    qsizetype start;
    qsizetype end;
};

class PixelRowBreaker {
public:
    PixelRowBreaker(QStringView text, DisplayOrder order, int width, const GlyphMeasure& measure)
        : m_text(text)
        , m_order(order)
        , m_width(width)
        , m_measure(measure)
        , m_hasSlot(text.size())
    {
        const std::vector<Slot> slots = selectSlots(text);
        std::transform(slots.begin(), slots.end(), m_hasSlot.begin(), [](Slot slot) { return slot != kNoSlot; });
        findWords();
    }

    std::vector<PixelRow> rows()
    {
        if (std::find(m_hasSlot.begin(), m_hasSlot.end(), true) == m_hasSlot.end()) {
            m_rows.push_back(measured(0, m_text.size()));
            return std::move(m_rows);
        }
        std::size_t word = 0;
        qsizetype rowStart = m_words.front().start;
        while (word < m_words.size()) {
            const qint64 advance = advanceOf(rowStart, m_words[word].end);
            if (advance > m_width) {
                rowStart = cut(rowStart, m_words[word].end);
            } else if (const std::optional<std::size_t> last = fillRow(rowStart, word, advance)) {
                word = *last + 1;
                rowStart = word < m_words.size() ? m_words[word].start : m_text.size();
                continue;
            } else {
                // The row's first word fits on its advances but not by its ink.
                rowStart = cut(rowStart, m_words[word].end);
            }
            if (rowStart == m_words[word].end && ++word < m_words.size())
                rowStart = m_words[word].start;
        }
        return std::move(m_rows);
    }

private:
    // The first word runs from the text's start, its opening blanks with it, to the first
    // blank after a glyph that is not one; every other from such a glyph to the next blank.
    // Between words lie blanks and characters without a slot.
    void findWords()
    {
        const qsizetype length = m_text.size();
        qsizetype at = 0;
        bool opening = true;
        bool glyphs = false;
        for (; at < length; ++at) {
            if (isBlank(m_text[at])) {
                if (!opening && glyphs)
                    break;
                opening = true;
                glyphs = true;
            } else {
                opening = false;
                glyphs = glyphs || m_hasSlot[std::size_t(at)];
            }
        }
        m_words.push_back({0, at});
        while (at < length) {
            while (at < length && (isBlank(m_text[at]) || !m_hasSlot[std::size_t(at)]))
                ++at;
            if (at == length)
                break;
            const qsizetype start = at;
            while (at < length && !isBlank(m_text[at]))
                ++at;
            m_words.push_back({start, at});
        }
    }

    qint64 advanceOf(qsizetype start, qsizetype end) const
    {
        return harfcode::advanceOf(selectSlots(m_text.sliced(start, end - start)), m_measure);
    }

    qsizetype blanksIn(qsizetype start, qsizetype end) const
    {
        return std::count_if(m_text.begin() + start, m_text.begin() + end, isBlank);
    }

    PixelRow measured(qsizetype start, qsizetype end) const
    {
        PixelRow row{m_text.sliced(start, end - start), slotsInOrder(m_text.sliced(start, end - start), m_order), 0, false};
        std::erase(row.slots, kNoSlot);
        const RowReach reach = m_measure.reach(row.slots);
        row.overflows = reach.width() > m_width;
        row.penStart = row.overflows ? -reach.left : m_width - reach.right;
        return row;
    }

    // Lays the row from `rowStart`, the rest of the word `first` (of `advance`), and the words
    // after it while they fit; returns its last word, or none where the first alone overflows
    // by its ink.
    std::optional<std::size_t> fillRow(qsizetype rowStart, std::size_t first, qint64 advance)
    {
        GrowingRow shaped(m_text, rowStart, m_measure);
        std::size_t last = first;
        for (; last + 1 < m_words.size(); ++last) {
            // The gap and the next word, shaped after the row so far.
            const qint64 longer = shaped.advanceTo(m_words[last + 1].start, m_words[last + 1].end);
            if (longer > m_width)
                break;
            advance = longer;
        }
        // The blanks that close the text stay on its last row where they fit.
        const bool closing = last + 1 == m_words.size()
                             && advance + m_measure.advance(kBlankSlot) * blanksIn(m_words[last].end, m_text.size())
                                    <= m_width;
        qsizetype end = closing ? m_text.size() : m_words[last].end;
        for (;;) {
            PixelRow row = measured(rowStart, end);
            if (!row.overflows) {
                m_rows.push_back(std::move(row));
                return last;
            }
            if (end != m_words[last].end)
                end = m_words[last].end;
            else if (last > first)
                end = m_words[--last].end;
            else
                return std::nullopt;
        }
    }

    // Puts on a row of its own the longest piece of the word from `start` to `end` that fits,
    // shaped alone and grown glyph by glyph, at least its first glyph; returns where the rest
    // starts. A character without a slot stays with the glyph before it.
    qsizetype cut(qsizetype start, qsizetype end)
    {
        std::vector<qsizetype> glyphs;  // every unit with a slot, then `end`
        for (qsizetype at = start; at < end; ++at)
            if (m_hasSlot[std::size_t(at)])
                glyphs.push_back(at);
        glyphs.push_back(end);
        GrowingRow piece(m_text, start, m_measure);
        std::size_t count = 1;  // glyphs in the piece
        while (count + 1 < glyphs.size() && piece.advanceTo(glyphs[count], glyphs[count + 1]) <= m_width)
            ++count;
        for (;;) {
            PixelRow row = measured(start, glyphs[count]);
            if (!row.overflows || count == 1) {
                m_rows.push_back(std::move(row));
                return glyphs[count];
            }
            --count;
        }
    }

    QStringView m_text;
    DisplayOrder m_order;
    int m_width;
    const GlyphMeasure& m_measure;
    std::vector<bool> m_hasSlot;
    std::vector<Word> m_words;
    std::vector<PixelRow> m_rows;
};

}  // namespace

QString tooWideDescription(Slot slot, int width)
{
    return QStringLiteral("the glyph of %1 is wider than a row of %2 pixels, even alone").arg(slotName(slot)).arg(width);
}

std::vector<PixelRow> breakIntoPixelRows(QStringView text, DisplayOrder order, int width, const GlyphMeasure& measure)
{
    return PixelRowBreaker(text, order, width, measure).rows();
}

}  // namespace harfcode
