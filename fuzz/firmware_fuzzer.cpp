// Reads a row width from the first byte and UTF-16LE text from the rest; breaks the text into
// display rows and puts it in visual order, also in pieces joined as the converter joins them,
// and selects it in two pieces; aborts on anything these may not produce, or on a visual order
// other than ICU's on the whole, unchanged text.
#include "conversion/slot_selection.h"
#include "layout/display_order.h"
#include "layout/display_rows.h"

#include "invariant.h"
#include "support/icu_visual_order.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;
using namespace harfcode::testing;

qsizetype glyphCount(QStringView text)
{
    const std::vector<Slot> slots = selectSlots(text);
    return std::count_if(slots.begin(), slots.end(), [](Slot slot) { return slot != kNoSlot; });
}

bool hasGlyph(QChar character)
{
    return glyphCount(QStringView(&character, 1)) > 0;
}

void checkRows(QStringView text, int width)
{
    const std::vector<QStringView> rows = breakIntoRows(text, width);
    require(!rows.empty(), "no row");
    require(rows.front().data() == text.data(), "the first row does not start the text");
    const QChar* const end = text.data() + text.size();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QStringView row = rows[i];
        require(glyphCount(row) <= width, "a row wider than the width");
        require(rows.size() == 1 || glyphCount(row) > 0, "an empty row beside others");
        // What lies between two rows, or after the last, is a whole run of blanks, dropped at a break.
        const QChar* gapEnd = i + 1 < rows.size() ? rows[i + 1].data() : end;
        require(gapEnd >= row.data() + row.size() && gapEnd <= end, "rows out of order");
        const QStringView gap(row.data() + row.size(), gapEnd);
        require(std::all_of(gap.begin(), gap.end(), [](QChar c) { return c == u' ' || !hasGlyph(c); }),
                "a dropped glyph that is not a blank");
        require(i + 1 == rows.size() || !gap.isEmpty() || glyphCount(row) == width, "a row cut before it was full");
        if (!gap.isEmpty())
            require(gap.front() == u' ' && !row.isEmpty() && row.back() != u' ' &&
                        (gapEnd == end || (*gapEnd != u' ' && hasGlyph(*gapEnd))),
                    "part of a run of blanks dropped");
    }
}

void checkVisualOrder(QStringView text, const std::vector<int32_t>& icuMap)
{
    require(slotsInOrder(marks(0, text.size()), text, DisplayOrder::Visual) == marksInOrder(icuMap, 0, text.size()),
            "visual order differs from ICU's on the whole text");
}

// `text` cut at `cuts`, each piece put in visual order on its own, and the pieces joined as
// the converter joins them.
std::vector<Slot> joinedVisualOrder(QStringView text, const std::vector<VisualCut>& cuts)
{
    std::vector<VisualPiece> pieces;
    for (std::size_t index = 0; index <= cuts.size(); ++index) {
        const qsizetype from = index > 0 ? cuts[index - 1].at.units : 0;
        const qsizetype to = index < cuts.size() ? cuts[index].at.units : text.size();
        require(from < to || cuts.empty(), "cuts out of order");  // an empty text is one empty piece
        pieces.push_back(visualPiece(marks(from, to), text.sliced(from, to - from), index > 0 ? cuts[index - 1].heldOpenings : 0));
    }
    std::vector<Slot> joined;
    std::vector<PiecePart> held;
    std::vector<PiecePart> parts;
    for (auto index = static_cast<qsizetype>(cuts.size()); index >= 0; --index) {
        const auto at = static_cast<std::size_t>(index);
        joinVisualPiece(index, pieces[at], at > 0 && cuts[at - 1].withinLeftToRightRun,
                        at < cuts.size() && cuts[at].withinLeftToRightRun, held, parts);
        for (const PiecePart& part : parts) {
            const std::vector<Slot>& slots = pieces[static_cast<std::size_t>(part.piece)].slots;
            require(part.piece >= index && part.from <= part.to && part.to <= static_cast<qsizetype>(slots.size()),
                    "a part outside its piece");
            joined.insert(joined.end(), slots.begin() + part.from, slots.begin() + part.to);
        }
    }
    require(held.empty(), "a part held past the first piece");
    return joined;
}

// Where the visual order may be cut, found from the text given in pieces, the pieces' visual
// orders joined are ICU's of the whole: cut at each place alone, where the text was given in
// two pieces, and at all the places found in pieces of `partLength` units.
void checkVisualCuts(QStringView text, qsizetype split, qsizetype partLength, const std::vector<int32_t>& icuMap)
{
    const std::vector<Slot> whole = marksInOrder(icuMap, 0, text.size());
    VisualCutFinder finder;
    finder.add(text.first(split));
    finder.add(text.sliced(split));
    for (const VisualCut& cut : finder.finish()) {
        require(cut.at.units > 0 && cut.at.units < text.size(), "a cut at an end of the text");
        require(joinedVisualOrder(text, {cut}) == whole, "a visual cut changes the order");
    }
    VisualCutFinder partsFinder;
    for (qsizetype from = 0; from < text.size();) {
        qsizetype to = std::min(text.size(), from + partLength);
        // The converter gives whole characters.
        if (to < text.size() && text[to - 1].isHighSurrogate() && text[to].isLowSurrogate())
            ++to;
        partsFinder.add(text.sliced(from, to - from));
        from = to;
    }
    require(joinedVisualOrder(text, partsFinder.finish()) == whole, "visual cuts change the order");
}

// Rows found from two pieces of the text are the rows of the whole.
void checkRowsInPieces(QStringView text, int width, qsizetype split)
{
    RowBreaker breaker(width);
    std::vector<RowBreaker::Row> rows;
    breaker.add(text.first(split), rows);
    breaker.add(text.sliced(split), rows);
    breaker.finish(rows);
    const std::vector<QStringView> whole = breakIntoRows(text, width);
    require(rows.size() == whole.size(), "rows from pieces differ from the whole's");
    for (std::size_t i = 0; i < rows.size() && i < whole.size(); ++i)
        require(rows[i].start.units == whole[i].data() - text.data() && rows[i].end.units == whole[i].data() + whole[i].size() - text.data()
                    && (!whole[i].isValidUtf16() || rows[i].end.bytes - rows[i].start.bytes == whole[i].toUtf8().size()),
                "rows from pieces differ from the whole's");
}

// Selection in two pieces, the second going on from the first, gives the slots of the whole.
void checkSelectionInPieces(QStringView text, qsizetype split)
{
    // Pieces end at whole characters, never inside a surrogate pair.
    if (split > 0 && split < text.size() && text[split - 1].isHighSurrogate() && text[split].isLowSurrogate())
        ++split;
    std::vector<Slot> slots(static_cast<std::size_t>(text.size()));
    SelectionState state;
    selectSlots(text.first(split), firstJoiningUnit(text.sliced(split)), state, slots.data());
    selectSlots(text.sliced(split), std::nullopt, state, slots.data() + split);
    require(slots == selectSlots(text), "selection in pieces differs from the whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int width = 1 + data[0] % 16;
    QString text(static_cast<qsizetype>((size - 1) / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(data[1 + 2 * i] | (data[2 + 2 * i] << 8)));

    checkRows(text, width);
    const std::vector<int32_t> icuMap = icuVisualMap(text);
    checkVisualOrder(text, icuMap);
    const qsizetype split = text.isEmpty() ? 0 : data[0] % (text.size() + 1);
    checkVisualCuts(text, split, 1 + data[0] % 8, icuMap);
    checkSelectionInPieces(text, split);
    checkRowsInPieces(text, width, split);
    return 0;
}
