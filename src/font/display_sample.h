#pragma once

#include "font/display_font.h"
#include "font/font_pictures.h"
#include "layout/display_order.h"
#include "layout/row_width.h"
#include "table/code_strings.h"

#include <QStringView>

#include <vector>

namespace harfcode {

// A text as the display shows it in rows of glyphs, each glyph with its slot, what is wrong
// with it, and where it stands in the sample picture: what a preview draws and points at.
struct DisplaySample {
    CodeStrings codes;  // the table it was made with
    std::vector<std::vector<Slot>> slots;  // of entrySlots(), padding included, or of breakIntoPixelRows()
    std::vector<std::vector<SlotGlyph>> glyphs;  // of every slot
    GlyphRows drawn;  // the glyphs sampleText() draws
    SampleLayout layout;
};

// `text` in `order`, in rows of `width`, with the codes of `codes`, in the glyphs of `font`
// (which may lack some). Rows in pixels are `width` pixels wide, each right-aligned; a glyph
// wider than a row stands alone on its row from its left edge, marked SlotGlyph::Mark::TooWide.
DisplaySample displaySample(const DisplayFont& font, const CodeStrings& codes, QStringView text, DisplayOrder order,
                            RowWidth width);

}  // namespace harfcode
