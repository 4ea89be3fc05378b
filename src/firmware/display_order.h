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

// A place where a text can be cut into pieces that are put in visual order each on its own:
// between two adjacent strong letters, where no embedding, override, isolate or pair of
// brackets is open. The levels of every piece are then those of the whole, and the visual
// order of the whole is that of the pieces, the last piece first, except where the cut falls
// inside a left-to-right run: that run, which closes the one piece and opens the next, stays
// one run, left to right.
struct VisualCut {
    qsizetype at = 0;              // the last such place in the text; 0 when there is none
    bool withinLeftToRightRun = false;  // that place lies between two left-to-right letters
    bool embeddingMet = false;     // an embedding, override, isolate or paragraph separator (or
                                   // brackets nested too deep) is in the text: no place after it
                                   // is looked at
};
VisualCut lastVisualCut(QStringView text);

// A piece of a text in visual order, as slotsInOrder() gives it, and the left-to-right runs
// that open and close it in typing order, which a cut may have taken apart.
struct VisualPiece {
    std::vector<Slot> slots;
    qsizetype openingRun = 0;  // its glyphs, the last of `slots`
    qsizetype closingRun = 0;  // its glyphs, the first of `slots`
    bool oneRun = false;       // the whole piece is one left-to-right run
};
VisualPiece visualPiece(const std::vector<Slot>& typingSlots, QStringView text);

}  // namespace harfcode
