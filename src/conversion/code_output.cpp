#include "conversion/code_output.h"

#include "conversion/character_names.h"
#include "conversion/slot_selection.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <vector>

namespace harfcode {
namespace {

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

constexpr qsizetype kSeparatorLength = 2;  // two blanks between codes

// The code string of every slot as views, kNoSlot's empty, looked up as often as a text has
// characters.
using SlotCodes = std::array<QStringView, kSlotCount + 1>;

SlotCodes slotCodes(const CodeStrings& codes)
{
    SlotCodes codeOfSlot;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codeOfSlot[slot] = codes[slot - 1];
    return codeOfSlot;
}

// Only U+0020 counts: a code string may hold other white space and keeps it.
void removeOuterBlanks(QString& joined)
{
    const auto notBlank = [](QChar unit) { return unit != u' '; };
    joined.remove(0, std::find_if(joined.cbegin(), joined.cend(), notBlank) - joined.cbegin());
    joined.truncate(joined.size() - (std::find_if(joined.crbegin(), joined.crend(), notBlank) - joined.crbegin()));
}

template <typename Codes>
qsizetype joinedLength(const std::vector<Slot>& slots, const Codes& codeOfSlot)
{
    qsizetype length = 0;
    for (Slot slot : slots)
        length += codeOfSlot[slot].size() + kSeparatorLength;
    return length;
}

template <typename Code, typename Unit>
void copyCode(Code code, Unit* to)
{
    // Codes are mostly two units: a plain loop beats a call to memcpy here.
    for (qsizetype i = 0; i < code.size(); ++i)
        to[i] = code[i];
}

// Writes the separator and `code` at `to`; returns where the next one goes.
template <typename Code, typename Unit>
Unit* appendSeparatorAndCode(Code code, Unit* to)
{
    *to++ = u' ';
    *to++ = u' ';
    copyCode(code, to);
    return to + code.size();
}

}  // namespace

Utf8SlotCodes::Utf8SlotCodes(const CodeStrings& codes)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        m_codes[slot] = codes[slot - 1].toUtf8();
}

QString lengthCaption(qsizetype length)
{
    return QStringLiteral("Length : ") + QString::number(length);
}

void convertText(QStringView text, const CodeStrings& codes, ConversionOutput& output)
{
    const std::vector<Slot> slots = selectSlots(text);
    const SlotCodes codeOfSlot = slotCodes(codes);
    const qsizetype length = joinedLength(slots, codeOfSlot);

    // Both strings hold the same codes and separators, one mirrored: typing order is
    // separator, code 1, separator, code 2, ...; reverse order is ..., code 2, separator,
    // code 1, separator. One pass fills both, the reverse one from its end.
    QString& typingOrder = output.typingOrder;
    QString& reverseOrder = output.reverseOrder;
    typingOrder.resize(length);
    reverseOrder.resize(length);
    QChar* forward = typingOrder.data();
    QChar* backward = reverseOrder.data() + length;
    for (Slot slot : slots) {
        const QStringView code = codeOfSlot[slot];
        *--backward = u' ';
        *--backward = u' ';
        backward -= code.size();
        copyCode(code, backward);
        forward = appendSeparatorAndCode(code, forward);
    }
    removeOuterBlanks(typingOrder);
    removeOuterBlanks(reverseOrder);
    output.lengthCaption = lengthCaption(text.size());
}

void appendSeparatedCodes(const std::vector<Slot>& slots, const Utf8SlotCodes& codes, QByteArray& out)
{
    const qsizetype start = out.size();
    out.resize(start + joinedLength(slots, codes));
    char* forward = out.data() + start;
    for (Slot slot : slots)
        forward = appendSeparatorAndCode(codes[slot], forward);
}

ConversionOutput convertText(QStringView text, const CodeStrings& codes)
{
    ConversionOutput output;
    convertText(text, codes, output);
    return output;
}

QString slotName(Slot slot)
{
    const char32_t character = characterOfSlot(slot);
    return slot == kBlankSlot ? QStringLiteral("slot 1 (the blank)")
                              : QStringLiteral("slot %1 (%2 \"%3\")").arg(slot).arg(codePointName(character), QString::fromUcs4(&character, 1));
}

QString slotNumbers(const std::vector<Slot>& slots)
{
    QStringList numbers;
    for (const Slot slot : slots)
        numbers.append(QString::number(slot));
    const QString last = numbers.takeLast();
    return QStringLiteral("%1 and %2").arg(numbers.join(QStringLiteral(", ")), last);
}

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
    return QStringLiteral("%1 has the code \"%2\", which is not two hexadecimal digits").arg(slotName(slot), code);
}

CodeUsage codeUsage(const CodeStrings& codes)
{
    CodeUsage usage;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const QString& code = codes[static_cast<std::size_t>(slot - 1)];
        const std::optional<std::uint8_t> byte = codeByte(code);
        if (!byte)
            usage.invalidCodes.push_back({static_cast<Slot>(slot), code});
        else if (code == u"00")
            ++usage.unfilledSlots;
        else
            usage.slotsOfCode[*byte].push_back(static_cast<Slot>(slot));
    }
    return usage;
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
