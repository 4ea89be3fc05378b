#include "firmware/code_formats.h"

#include "conversion/character_names.h"

#include <algorithm>

namespace harfcode {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(QChar digit)
{
    const char16_t c = digit.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
}

// Appends `byte` as two upper-case hexadecimal digits after `prefix`.
void appendHex(QByteArray& out, const char* prefix, std::uint8_t byte)
{
    out += prefix;
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

}  // namespace

std::optional<std::uint8_t> codeByte(QStringView code)
{
    if (code.size() != 2)
        return std::nullopt;
    const int high = hexValue(code[0]);
    const int low = hexValue(code[1]);
    if (high < 0 || low < 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(high << 4 | low);
}

QString InvalidCode::description() const
{
    const char16_t glyph = glyphOfSlot(slot);
    const QString shown = glyph == 0 ? QStringLiteral("the blank")
                                     : QStringLiteral("%1 \"%2\"").arg(codePointName(glyph), QChar(glyph));
    return QStringLiteral("slot %1 (%2) has the code \"%3\", which is not two hexadecimal digits")
        .arg(slot)
        .arg(shown, code);
}

CodeBytes codeBytesOf(const std::vector<Slot>& slots, const CodeStrings& codes)
{
    CodeBytes result;
    result.bytes.reserve(static_cast<qsizetype>(slots.size()));
    for (const Slot slot : slots) {
        if (slot == kNoSlot)
            continue;
        const QString& code = codes[slot - 1];
        const std::optional<std::uint8_t> byte = codeByte(code);
        if (!byte) {
            result.bytes.clear();
            result.invalid = InvalidCode{slot, code};
            return result;
        }
        result.bytes += static_cast<char>(*byte);
    }
    return result;
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

QString glyphsOf(const std::vector<Slot>& slots)
{
    QString glyphs;
    glyphs.reserve(static_cast<qsizetype>(slots.size()));
    for (const Slot slot : slots) {
        if (slot != kNoSlot) {
            const char16_t glyph = glyphOfSlot(slot);
            glyphs += QChar(glyph == 0 ? u' ' : glyph);
        }
    }
    return glyphs;
}

}  // namespace harfcode
