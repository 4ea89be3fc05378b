#pragma once

#include <cstdint>

namespace harfcode {

// A slot names one glyph of the target glyph set, 1 to kSlotCount; kNoSlot marks a
// character that has no glyph there.
using Slot = std::uint8_t;
inline constexpr Slot kNoSlot = 0;
inline constexpr int kSlotCount = 103;
// Slot 1, the blank between words: no glyph of its own, the space on a display.
inline constexpr Slot kBlankSlot = 1;

// The glyph that slot `slot` stands for, or 0 for slot 1 (the blank, which has no glyph).
// `slot` must lie in 1..kSlotCount.
char16_t glyphOfSlot(int slot);

// The character whose glyph stands for `slot` on the display: the presentation form, digit,
// capital or mark the slot names; the space for the blank.
char32_t characterOfSlot(Slot slot);

}  // namespace harfcode
