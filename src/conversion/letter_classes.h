#pragma once

#include "table/slot_catalogue.h"

#include <cstdint>

namespace harfcode {

// What a neighbour does to a joining flag: set it, clear it, or leave it as it was at the
// previous position (a character in neither set carries the flag across).
enum class JoinEffect : std::uint8_t { Keeps, Joins, Breaks };

// Effect of the character before a position on the previous-joins flag: letters that join
// forward set it, blanks, the four punctuation marks and the right-joining letters clear it.
JoinEffect effectAsPrevious(int windows1256Value);

// Effect of the character after a position on the next-joins flag: every joining letter,
// the right-joining ones included, sets it; blanks, punctuation and ALEF WITH MADDA clear it.
JoinEffect effectAsNext(int windows1256Value);

// The slot of the glyph that a character takes with the given flags, or kNoSlot.
Slot slotOfForm(int windows1256Value, bool previousJoins, bool nextJoins);

}  // namespace harfcode
