#include "font/display_sample.h"

#include "layout/entry_rows.h"

namespace harfcode {

DisplaySample displaySample(const DisplayFont& font, const CodeStrings& codes, QStringView text, DisplayOrder order,
                            int width)
{
    DisplaySample sample;
    sample.codes = codes;
    std::vector<EntryRow> rows = entrySlots(text, order, width);
    sample.slots.reserve(rows.size());
    sample.glyphs.reserve(rows.size());
    sample.drawn.reserve(rows.size());
    for (EntryRow& row : rows) {
        const std::vector<Slot>& slots = sample.slots.emplace_back(std::move(row.slots));
        std::vector<SlotGlyph>& glyphs = sample.glyphs.emplace_back();
        std::vector<const DisplayGlyph*>& drawn = sample.drawn.emplace_back();
        glyphs.reserve(slots.size());
        drawn.reserve(slots.size());
        for (const Slot slot : slots) {
            glyphs.push_back(slotGlyph(font, codes, slot));
            drawn.push_back(glyphs.back().glyph);
        }
    }
    sample.layout = sampleLayout(sample.drawn);
    return sample;
}

}  // namespace harfcode
