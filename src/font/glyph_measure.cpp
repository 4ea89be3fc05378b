#include "font/glyph_measure.h"

#include "font/glyph_ink.h"

#include <array>
#include <memory>
#include <optional>

namespace harfcode {

GlyphMeasure glyphMeasure(const DisplayFont& font, const CodeStrings& codes)
{
    // Each slot's glyph and its ink, found once: rows measure the same few glyphs many times.
    auto glyphs = std::make_shared<std::array<std::optional<RunGlyph>, kSlotCount + 1>>();
    for (int slot = 1; slot <= kSlotCount; ++slot)
        if (const DisplayGlyph* glyph = slotGlyph(font, codes, Slot(slot)).glyph)
            (*glyphs)[std::size_t(slot)] = runGlyph(glyph->bitmap);
    return {
        [glyphs](Slot slot) {
            const std::optional<RunGlyph>& glyph = (*glyphs)[slot];
            return glyph ? glyph->bitmap->advance : 0;
        },
        [glyphs](const std::vector<Slot>& slots) {
            Run run;
            run.reserve(slots.size());
            for (const Slot slot : slots)
                if (const std::optional<RunGlyph>& glyph = (*glyphs)[slot])
                    run.push_back(*glyph);
            return reachOf(run);
        },
    };
}

}  // namespace harfcode
