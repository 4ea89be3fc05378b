#pragma once

#include "font/display_font.h"

#include <QString>

#include <optional>

namespace harfcode {

// The values a field of a font format holds, by its C type.
struct FieldRange {
    const char* type;
    long minimum;
    long maximum;
};
inline constexpr FieldRange kUint8Field{"uint8_t", 0, 255};
inline constexpr FieldRange kInt8Field{"int8_t", -128, 127};
inline constexpr FieldRange kUint16Field{"uint16_t", 0, 65535};

// A value that a field of the format cannot hold: a glyph too large for it, at a size no
// display of that format has.
struct FieldOverflow {
    std::optional<DisplayGlyph> glyph;  // none for a field of the whole font
    QString field;                      // as the header names it
    long value = 0;
    FieldRange range{};

    // e.g. code 21, slot 101 (U+0021 "!"): yOffset -144 does not fit its int8_t (-128 to 127)
    QString description() const;
};

// The first value, of the glyphs in order, that does not fit its field.
class FieldCheck {
public:
    // Notes `value` when it is the first that does not fit `range`; `glyph` is none for a field
    // of the whole font.
    void check(const DisplayGlyph* glyph, const char* field, long value, FieldRange range);
    const std::optional<FieldOverflow>& overflow() const { return m_overflow; }

private:
    std::optional<FieldOverflow> m_overflow;
};

}  // namespace harfcode
