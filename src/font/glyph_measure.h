#pragma once

#include "font/display_font.h"
#include "layout/pixel_rows.h"
#include "table/code_strings.h"

namespace harfcode {

// How `font` measures the glyph of each slot at the code `codes` gives it: a slot without a
// glyph there (slotGlyph()) draws nothing and moves nothing. `font` must outlive the measure.
GlyphMeasure glyphMeasure(const DisplayFont& font, const CodeStrings& codes);

}  // namespace harfcode
