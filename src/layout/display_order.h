#pragma once

#include "layout/bracket_pairing.h"
#include "layout/text_place.h"
#include "table/slot_catalogue.h"

#include <QStringView>

#include <cstdint>
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
// of the windows' output); visual order leaves such positions out. Visual order is ICU's
// bidirectional algorithm over the whole text as one right-to-left paragraph, at a cost linear
// in its length.
std::vector<Slot> slotsInOrder(QStringView text, DisplayOrder order);
// The same for slots already selected: `typingSlots` are those of `text` in typing order.
std::vector<Slot> slotsInOrder(std::vector<Slot> typingSlots, QStringView text, DisplayOrder order);

// A place where a text can be cut into pieces that are put in visual order each on its own:
// between two adjacent strong letters, outside any embedding, override and isolate, where no
// bracket opened before pairs with one after. The levels of every piece are then those of the
// whole, and the visual order of the whole is that of the pieces, the last piece first, except
// where the cut falls inside a left-to-right run: that run, which closes the one piece and
// opens the next, stays one run, left to right.
struct VisualCut {
    TextPlace at;
    bool withinLeftToRightRun = false;  // the place lies between two left-to-right letters
    // The brackets that ICU still holds there, none of which pairs: visualPiece() of the text
    // after the place takes them.
    std::uint16_t heldOpenings = 0;
};

// Finds such places in a text given piece by piece, the last of each piece where it has one.
// Whether brackets open at a place pair up is known only from what follows: such a place is
// dropped when one of them pairs. After a paragraph separator no place is looked for; where
// the bracket pairing no longer follows ICU's (BracketPairing), the places end before it at
// one where ICU holds no bracket.
class VisualCutFinder {
public:
    void add(QStringView piece);
    // The places, in the text's order.
    std::vector<VisualCut> finish();

private:
    struct Candidate {
        VisualCut cut;
        std::size_t openBrackets;  // that may still pair there
    };

    TextPlace m_place;  // of the unit being looked at
    BracketPairing m_pairing;
    bool m_stopped = false;
    bool m_beforeIsStrong = false;
    bool m_beforeIsLeftToRight = false;
    std::vector<Candidate> m_candidates;
};

// A piece of a text in visual order, as slotsInOrder() gives it, and the left-to-right runs
// that open and close it in typing order, which a cut may have taken apart.
struct VisualPiece {
    std::vector<Slot> slots;
    qsizetype openingRun = 0;  // its glyphs, the last of `slots`
    qsizetype closingRun = 0;  // its glyphs, the first of `slots`
    bool oneRun = false;       // the whole piece is one left-to-right run
};
// `heldOpenings`: those of the cut that the piece starts at.
VisualPiece visualPiece(const std::vector<Slot>& typingSlots, QStringView text, std::uint16_t heldOpenings = 0);

// Glyphs [from, to) of piece `piece` in visual order (of its VisualPiece::slots).
struct PiecePart {
    qsizetype piece;
    qsizetype from;
    qsizetype to;

    bool operator==(const PiecePart&) const = default;
};

// Joins the pieces of a text cut at VisualCuts into the visual order of the whole, the pieces
// taken from the last to the first: each piece's own visual order, except where a cut took a
// left-to-right run apart. There the run's part from the piece before comes first, so the
// part after the cut waits for it, held; a piece that the run goes through is held whole, and
// a line that is one long run is held to its first piece. `runGoesOnBefore` and
// `runGoesOnAfter` are VisualCut::withinLeftToRightRun of the cuts that start and end piece
// `index`. `held` comes with the parts that the pieces after it left waiting, and goes with
// those that wait for the pieces before it; `parts` gets those to write now, in the display's
// order, after those of the pieces after it. Nothing else is kept from call to call, and the
// two vectors keep their memory for the next.
void joinVisualPiece(qsizetype index, const VisualPiece& piece, bool runGoesOnBefore, bool runGoesOnAfter,
                     std::vector<PiecePart>& held, std::vector<PiecePart>& parts);

}  // namespace harfcode
