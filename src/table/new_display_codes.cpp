#include "table/new_display_codes.h"

#include "table/slot_catalogue.h"

namespace harfcode {

CodeStrings newDisplayCodes()
{
    CodeStrings codes;
    int nextUpperCode = 0x80;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const char32_t character = characterOfSlot(static_cast<Slot>(slot));
        const int code = character < 0x80 ? int(character) : nextUpperCode++;
        codes[static_cast<std::size_t>(slot - 1)] = QString::asprintf("%02X", code);
    }
    return codes;
}

}  // namespace harfcode
