// Reads a row width from the first byte and UTF-16LE text from the rest; breaks the text into
// display rows and puts it in visual order, and aborts on anything neither may produce.
#include "conversion/slot_selection.h"
#include "firmware/display_order.h"
#include "firmware/display_rows.h"

#include "invariant.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;

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

void checkVisualOrder(QStringView text)
{
    std::vector<Slot> typing = selectSlots(text);
    typing.erase(std::remove(typing.begin(), typing.end(), kNoSlot), typing.end());
    std::vector<Slot> visual = slotsInOrder(text, DisplayOrder::Visual);
    std::sort(typing.begin(), typing.end());
    std::sort(visual.begin(), visual.end());
    require(typing == visual, "visual order loses, adds or changes a glyph");
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
    checkVisualOrder(text);
    return 0;
}
