#pragma once

#include "layout/display_order.h"
#include "table/slot_catalogue.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace harfcode {

// How far glyphs drawn one after another reach from the pen's start, in a display's pixels: to
// the left (at most 0) and to the right (at least 0), over their ink, their origins and the
// pen's end.
struct RowReach {
    qint64 left = 0;
    qint64 right = 0;
    qint64 width() const { return right - left; }
};

// How a display's font measures its glyphs.
struct GlyphMeasure {
    // How far the pen moves past the glyph of `slot` (not kNoSlot); 0 where it has none.
    std::function<int(Slot)> advance;
    // The reach of the glyphs of `slots`, drawn from left to right; kNoSlot draws nothing.
    std::function<RowReach(const std::vector<Slot>&)> reach;
};

// One row of a text broken into rows of a width in pixels.
struct PixelRow {
    QStringView text;          // in typing order
    std::vector<Slot> slots;   // in display order, characters without a slot left out
    qint64 penStart = 0;       // the row right-aligned: the width less its reach right of the pen
    bool overflows = false;    // a single glyph that does not fit even alone, standing from x = 0
};

// Breaks `text` into display rows at most `width` pixels wide, as breakIntoRows() breaks rows
// of glyphs, with a row's width its reach in `order` (its glyphs shaped and ordered on their
// own, as the row is converted). Opening blanks belong to the first word; a run of blanks that
// does not fit ends the row and is dropped; a word that does not fit an empty row (a text of
// blanks alone is one) is cut, each piece shaped on its own and grown glyph by glyph while it
// fits. A single glyph wider than `width`, in the form it takes alone, stands alone on a row
// that overflows. A word's fit is decided on advances (a row's reach is never less than the sum
// of its advances), then each row is ordered and measured, and its last word (or glyph, in a
// cut) moved down while its ink overflows. `width` must be at least 1.
std::vector<PixelRow> breakIntoPixelRows(QStringView text, DisplayOrder order, int width, const GlyphMeasure& measure);

// e.g. the glyph of slot 26 (U+FEB3 "ﺳ") is wider than a row of 8 pixels, even alone
QString tooWideDescription(Slot slot, int width);

}  // namespace harfcode
