#include "conversion/code_output.h"

#include "conversion/slot_selection.h"

#include <algorithm>
#include <array>
#include <vector>

namespace harfcode {
namespace {

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

}  // namespace harfcode
