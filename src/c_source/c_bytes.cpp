#include "c_source/c_bytes.h"

#include <algorithm>

namespace harfcode {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// Appends `byte` as two upper-case hexadecimal digits after `prefix`.
void appendHex(QByteArray& out, const char* prefix, std::uint8_t byte)
{
    out += prefix;
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

}  // namespace

QByteArray hexCode(std::uint8_t code)
{
    QByteArray out;
    appendHex(out, "", code);
    return out;
}

QByteArray cArrayElements(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 6);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        appendHex(out, i == 0 ? "0x" : ", 0x", static_cast<std::uint8_t>(bytes[i]));
    return out;
}

QByteArray cArrayLines(QByteArrayView bytes, const QByteArray& indent)
{
    QByteArray out;
    for (qsizetype start = 0; start < bytes.size(); start += kCArrayElementsPerLine) {
        const QByteArrayView line = bytes.sliced(start, std::min(kCArrayElementsPerLine, bytes.size() - start));
        out += indent + cArrayElements(line) + (start + kCArrayElementsPerLine < bytes.size() ? ",\n" : "\n");
    }
    return out;
}

QByteArray cStringLiteral(QByteArrayView bytes)
{
    return '"' + cStringEscapes(bytes) + '"';
}

QByteArray cStringEscapes(QByteArrayView bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 4);
    for (const char byte : bytes)
        appendHex(out, "\\x", static_cast<std::uint8_t>(byte));
    return out;
}

}  // namespace harfcode
