#include "table/new_display_codes.h"

#include "table/slot_catalogue.h"

namespace harfcode {

CodeStrings newDisplayCodes()
{
    CodeStrings codes;
    int nextUpperCode = 0x80;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const char16_t glyph = slot == 1 ? u' ' : glyphOfSlot(slot);
        const int code = glyph < 0x80 ? glyph : nextUpperCode++;
        codes[static_cast<std::size_t>(slot - 1)] = QString::asprintf("%02X", code);
    }
    return codes;
}

}  // namespace harfcode
