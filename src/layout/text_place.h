#pragma once

#include <QChar>

namespace harfcode {

// How many bytes a UTF-16 unit takes in UTF-8: where a place in a decoded text lies in the
// bytes it came from. Each half of a surrogate pair counts two of the pair's four bytes.
constexpr qsizetype utf8Length(char16_t unit)
{
    return unit < 0x80 ? 1 : unit < 0x800 || QChar::isSurrogate(unit) ? 2 : 3;
}

// A place in a text, counted from its start in UTF-16 units and in bytes of UTF-8.
struct TextPlace {
    qsizetype units = 0;
    qsizetype bytes = 0;

    void passUnit(char16_t unit)
    {
        units += 1;
        bytes += utf8Length(unit);
    }
};

}  // namespace harfcode
