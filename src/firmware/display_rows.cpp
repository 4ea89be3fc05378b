#include "firmware/display_rows.h"

#include "conversion/slot_selection.h"

namespace harfcode {

std::vector<QStringView> breakIntoRows(QStringView text, int width)
{
    // Whether a character has a glyph does not depend on its neighbours, only its form does.
    const std::vector<Slot> slots = selectSlots(text);
    const qsizetype length = text.size();
    const auto isBlank = [&](qsizetype i) { return text[i] == u' '; };
    const auto hasSlot = [&](qsizetype i) { return slots[static_cast<std::size_t>(i)] != kNoSlot; };
    const auto glyphsIn = [&](qsizetype from, qsizetype to) {
        qsizetype count = 0;
        for (qsizetype i = from; i < to; ++i)
            count += hasSlot(i);
        return count;
    };

    std::vector<QStringView> rows;
    qsizetype rowStart = 0;
    qsizetype glyphsInRow = 0;
    qsizetype i = 0;
    // At the top of the loop `i` is where the row starts or on a blank after it.
    while (i < length) {
        if (glyphsInRow > 0) {
            // The blanks up to the next word, with the characters without a slot among them, and
            // that word: both go on this row, or the row breaks here and the blanks are dropped.
            qsizetype wordStart = i;
            qsizetype blanks = 0;
            while (wordStart < length && (isBlank(wordStart) || !hasSlot(wordStart)))
                blanks += isBlank(wordStart++);
            qsizetype wordEnd = wordStart;
            while (wordEnd < length && !isBlank(wordEnd))
                ++wordEnd;
            const qsizetype needed = blanks + glyphsIn(wordStart, wordEnd);
            if (glyphsInRow + needed <= width) {
                glyphsInRow += needed;
                i = wordEnd;
                continue;
            }
            rows.push_back(text.sliced(rowStart, i - rowStart));
            if (wordStart == length)
                return rows;  // no glyph after the break: no row after it
            rowStart = i = wordStart;
            glyphsInRow = 0;
            continue;
        }
        // A row's first word, with the blanks that open the text: cut every `width` glyphs, a
        // character without a slot staying with the glyph before it.
        qsizetype unitEnd = i;
        while (unitEnd < length && isBlank(unitEnd))
            ++unitEnd;
        while (unitEnd < length && !isBlank(unitEnd))
            ++unitEnd;
        for (; i < unitEnd; ++i) {
            if (!hasSlot(i))
                continue;
            if (glyphsInRow == width) {
                rows.push_back(text.sliced(rowStart, i - rowStart));
                rowStart = i;
                glyphsInRow = 0;
            }
            ++glyphsInRow;
        }
    }
    rows.push_back(text.sliced(rowStart, length - rowStart));
    return rows;
}

}  // namespace harfcode
