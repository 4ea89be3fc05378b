#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace harfcode {

// Bytes as C writes them, for the headers and the code boxes' copies.

QByteArray hexCode(std::uint8_t code);             // 0A: a code as comments show it
QByteArray cArrayElements(QByteArrayView bytes);  // 0xE1, 0x6B, 0x61 (nothing for no bytes)
// The elements of a C array, kCArrayElementsPerLine to a line, each line after `indent` and
// every line but the last ending in a comma.
inline constexpr qsizetype kCArrayElementsPerLine = 12;
QByteArray cArrayLines(QByteArrayView bytes, const QByteArray& indent);
QByteArray cStringLiteral(QByteArrayView bytes);  // "\xE1\x6B\x61" ("" for no bytes)
QByteArray cStringEscapes(QByteArrayView bytes);  // \xE1\x6B\x61: the literal without its quotes

}  // namespace harfcode
