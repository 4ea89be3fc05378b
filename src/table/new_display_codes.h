#pragma once

#include "table/code_strings.h"

namespace harfcode {

// A code for every glyph, for a display that has none of its own yet: the blank, the digits,
// the capitals and ". ! ?" their ASCII codes, so that Latin text reads as itself; the 63
// Persian glyphs and "؟" the codes from 0x80 on, in slot order.
CodeStrings newDisplayCodes();

}  // namespace harfcode
