#pragma once

#include "conversion/code_output.h"
#include "layout/display_order.h"
#include "layout/pixel_rows.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QStringView>

#include <optional>
#include <vector>

namespace harfcode {

// The codes of one entry's text: one row, or with a width the rows of breakIntoRows(), each
// put in `order` on its own and padded to the width with the blank's code (slot 1), after
// the codes in typing order and before them otherwise, so that the text stands right-aligned.
struct EntryCodes {
    std::vector<QByteArray> rows;        // empty when `invalid` is set
    std::optional<InvalidCode> invalid;  // the first code the entry needs that is not a byte
    std::vector<qint64> penStarts;       // rows in pixels: where each row's pen starts
    std::optional<Slot> tooWide;         // rows in pixels: the first glyph wider than a row even alone
};
EntryCodes entryCodes(QStringView text, const CodeStrings& codes, DisplayOrder order, int width);

// The codes of one entry's text in the rows of breakIntoPixelRows(), unpadded.
EntryCodes pixelEntryCodes(QStringView text, const CodeStrings& codes, DisplayOrder order, int width,
                           const GlyphMeasure& measure);

// The slots whose codes entryCodes() gives, row by row: the characters without a slot left out,
// the padding the blank's slot.
struct EntryRow {
    std::vector<Slot> slots;
    std::size_t padding = 0;  // the blanks that pad the row: its last slots in typing order, its first otherwise
};
std::vector<EntryRow> entrySlots(QStringView text, DisplayOrder order, int width);

}  // namespace harfcode
