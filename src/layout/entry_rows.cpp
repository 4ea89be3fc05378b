#include "layout/entry_rows.h"

#include "layout/display_rows.h"

namespace harfcode {

std::vector<EntryRow> entrySlots(QStringView text, DisplayOrder order, int width)
{
    const std::vector<QStringView> textRows = width == 0 ? std::vector<QStringView>{text} : breakIntoRows(text, width);
    std::vector<EntryRow> rows;
    rows.reserve(textRows.size());
    for (const QStringView textRow : textRows) {
        EntryRow& row = rows.emplace_back();
        row.slots = slotsInOrder(textRow, order);
        std::erase(row.slots, kNoSlot);
        row.padding = row.slots.size() < std::size_t(width) ? std::size_t(width) - row.slots.size() : 0;
        row.slots.insert(order == DisplayOrder::Typing ? row.slots.end() : row.slots.begin(), row.padding, kBlankSlot);
    }
    return rows;
}

EntryCodes entryCodes(QStringView text, const CodeStrings& codes, DisplayOrder order, int width)
{
    EntryCodes result;
    for (const EntryRow& row : entrySlots(text, order, width)) {
        CodeBytes bytes = codeBytesOf(row.slots, codes);
        if (bytes.invalid) {
            // The text's own codes are told before the blank's that pads it.
            if (order == DisplayOrder::Typing || row.padding == 0)
                return {{}, bytes.invalid, {}, {}};
            const CodeBytes own = codeBytesOf({row.slots.begin() + qsizetype(row.padding), row.slots.end()}, codes);
            return {{}, own.invalid ? own.invalid : bytes.invalid, {}, {}};
        }
        result.rows.push_back(std::move(bytes.bytes));
    }
    return result;
}

EntryCodes pixelEntryCodes(QStringView text, const CodeStrings& codes, DisplayOrder order, int width,
                           const GlyphMeasure& measure)
{
    EntryCodes result;
    for (PixelRow& row : breakIntoPixelRows(text, order, width, measure)) {
        CodeBytes bytes = codeBytesOf(row.slots, codes);
        if (bytes.invalid)
            return {{}, bytes.invalid, {}, {}};
        if (row.overflows && !result.tooWide)
            result.tooWide = row.slots.front();
        result.rows.push_back(std::move(bytes.bytes));
        result.penStarts.push_back(row.penStart);
    }
    return result;
}

}  // namespace harfcode
