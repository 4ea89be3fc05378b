#pragma once

#include "firmware/display_order.h"
#include "table/code_strings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace harfcode {

// The byte a code string stands for when it is exactly two hexadecimal digits (either case).
std::optional<std::uint8_t> codeByte(QStringView code);

// A slot in use whose code string is not a byte.
struct InvalidCode {
    Slot slot;
    QString code;

    // e.g. slot 5 (U+FE91 "ﺑ") has the code "G1", which is not two hexadecimal digits
    QString description() const;
};

struct CodeBytes {
    QByteArray bytes;                     // empty when `invalid` is set
    std::optional<InvalidCode> invalid;   // the first slot whose code is not a byte
};

// The byte of every slot in `slots`, in their order; kNoSlot adds nothing.
CodeBytes codeBytesOf(const std::vector<Slot>& slots, const CodeStrings& codes);

QByteArray cArrayElements(QByteArrayView bytes);  // 0xE1, 0x6B, 0x61 (nothing for no bytes)
// The elements of a C array, kCArrayElementsPerLine to a line, each line after `indent` and
// every line but the last ending in a comma.
inline constexpr qsizetype kCArrayElementsPerLine = 12;
QByteArray cArrayLines(QByteArrayView bytes, const QByteArray& indent);
QByteArray cStringLiteral(QByteArrayView bytes);  // "\xE1\x6B\x61" ("" for no bytes)
QByteArray cStringEscapes(QByteArrayView bytes);  // \xE1\x6B\x61: the literal without its quotes

// The glyph of every slot (a blank for slot 1), with nothing between them; kNoSlot adds nothing:
// a preview of the display.
QString glyphsOf(const std::vector<Slot>& slots);

}  // namespace harfcode
