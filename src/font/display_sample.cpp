#include "font/display_sample.h"

#include "firmware/strings_header.h"

namespace harfcode {

DisplaySample displaySample(const DisplayFont& font, const CodeStrings& codes, QStringView text, DisplayOrder order,
                            int width)
{
    DisplaySample sample;
    sample.codes = codes;
    sample.slots = entrySlots(text, order, width);
    sample.glyphs.reserve(sample.slots.size());
    sample.drawn.reserve(sample.slots.size());
    for (const std::vector<Slot>& slots : sample.slots) {
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
