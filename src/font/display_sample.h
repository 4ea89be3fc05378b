#pragma once

#include "font/display_font.h"
#include "font/font_pictures.h"
#include "layout/display_order.h"
#include "table/code_strings.h"

#include <QStringView>

#include <vector>

namespace harfcode {

// A text as the display shows it in rows of glyphs, each glyph with its slot, what is wrong
// with it, and where it stands in the sample picture: what a preview draws and points at.
struct DisplaySample {
    CodeStrings codes;  // the table it was made with
    std::vector<std::vector<Slot>> slots;  // of entrySlots(), padding included
    std::vector<std::vector<SlotGlyph>> glyphs;  // of every slot
    GlyphRows drawn;  // the glyphs sampleText() draws
    SampleLayout layout;
};

// `text` in `order`, in rows of `width` glyphs (0: one row), with the codes of `codes`, in the
// glyphs of `font` (which may lack some).
DisplaySample displaySample(const DisplayFont& font, const CodeStrings& codes, QStringView text, DisplayOrder order,
                            int width);

}  // namespace harfcode
