#pragma once

#include "table/slot_catalogue.h"

#include <QStringView>

#include <utility>
#include <vector>

namespace harfcode {

// The order in which a line's glyphs are handed to a display.
enum class DisplayOrder {
    Typing,   // as typed: "English Hex"
    Reverse,  // from the last character to the first: "Persian Hex"
    Visual,   // as a display that draws left to right shows the line: Persian runs reversed,
              // runs of digits and Latin capitals kept left to right
};

// The orders by the names that the converter's options and its headers give them.
inline constexpr std::pair<DisplayOrder, const char*> kDisplayOrderNames[] = {
    {DisplayOrder::Typing, "typing"},
    {DisplayOrder::Reverse, "reverse"},
    {DisplayOrder::Visual, "visual"},
};

// The slots of `text`, their contextual forms chosen in typing order, then put in `order`.
// Typing and reverse order keep kNoSlot where a character has no glyph (the empty elements
// of the windows' output); visual order leaves such positions out. Visual order runs the
// Unicode bidirectional algorithm over the whole text as one right-to-left paragraph.
std::vector<Slot> slotsInOrder(QStringView text, DisplayOrder order);
// The same for slots already selected: `typingSlots` are those of `text` in typing order.
std::vector<Slot> slotsInOrder(std::vector<Slot> typingSlots, QStringView text, DisplayOrder order);

}  // namespace harfcode
