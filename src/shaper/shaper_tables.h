#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace harfcode {

// The code of every slot, 1 to 103, as bytes.
using SlotCodes = std::array<std::uint8_t, 103>;

// The C tables of the firmware's shaper, made from the converter's own data so that the two
// choose the same glyphs: every character's class (how it joins and its glyph in each form) by
// runs of characters, the marks beyond the Basic Multilingual Plane, the code and the
// presentation form of every slot. Each table is declared with HARFCODE_FLASH, which puts it in
// flash on AVR where the header wants it there.
QByteArray shaperTables(const SlotCodes& codes);

}  // namespace harfcode
