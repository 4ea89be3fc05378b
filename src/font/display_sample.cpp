#include "font/display_sample.h"

#include "font/glyph_measure.h"
#include "layout/entry_rows.h"

namespace harfcode {

DisplaySample displaySample(const DisplayFont& font, const CodeStrings& codes, QStringView text, DisplayOrder order,
                            RowWidth width)
{
    DisplaySample sample;
    sample.codes = codes;
    std::vector<qint64> penStarts;
    std::vector<bool> overflows;
    if (width.pixels) {
        for (PixelRow& row : breakIntoPixelRows(text, order, width.count, glyphMeasure(font, codes))) {
            sample.slots.push_back(std::move(row.slots));
            penStarts.push_back(row.penStart);
            overflows.push_back(row.overflows);
        }
    } else {
        for (EntryRow& row : entrySlots(text, order, width.count))
            sample.slots.push_back(std::move(row.slots));
    }
    sample.glyphs.reserve(sample.slots.size());
    sample.drawn.reserve(sample.slots.size());
    for (std::size_t row = 0; row < sample.slots.size(); ++row) {
        const std::vector<Slot>& slots = sample.slots[row];
        std::vector<SlotGlyph>& glyphs = sample.glyphs.emplace_back();
        std::vector<const DisplayGlyph*>& drawn = sample.drawn.emplace_back();
        glyphs.reserve(slots.size());
        drawn.reserve(slots.size());
        for (const Slot slot : slots) {
            glyphs.push_back(slotGlyph(font, codes, slot));
            if (width.pixels && overflows[row] && glyphs.back().mark == SlotGlyph::Mark::None)
                glyphs.back().mark = SlotGlyph::Mark::TooWide;
            drawn.push_back(glyphs.back().glyph);
        }
    }
    sample.layout = width.pixels ? placedLayout(sample.drawn, width.count, penStarts) : sampleLayout(sample.drawn);
    return sample;
}

}  // namespace harfcode
