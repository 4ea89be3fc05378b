#include "conversion/code_output.h"

#include "conversion/slot_selection.h"

#include <algorithm>
#include <array>
#include <vector>

namespace harfcode {
namespace {

constexpr qsizetype kSeparatorLength = 2;  // two blanks between codes
constexpr char16_t kBlank = u' ';

// Only U+0020 counts: a code string may hold other white space and keeps it.
void removeOuterBlanks(QString& joined)
{
    const auto first = std::find_if(joined.cbegin(), joined.cend(), [](QChar c) { return c != kBlank; });
    joined.remove(0, first - joined.cbegin());
    const auto last = std::find_if(joined.crbegin(), joined.crend(), [](QChar c) { return c != kBlank; });
    joined.truncate(joined.size() - (last - joined.crbegin()));
}

qsizetype joinedLength(const std::vector<Slot>& slots, const SlotCodes& codeOfSlot)
{
    qsizetype length = 0;
    for (Slot slot : slots)
        length += codeOfSlot[slot].size() + kSeparatorLength;
    return length;
}

void copyCode(QStringView code, QChar* to)
{
    // Codes are mostly two units: a plain loop beats a call to memcpy here.
    for (qsizetype i = 0; i < code.size(); ++i)
        to[i] = code[i];
}

// Writes the separator and `code` at `to`; returns where the next one goes.
QChar* appendSeparatorAndCode(QStringView code, QChar* to)
{
    *to++ = kBlank;
    *to++ = kBlank;
    copyCode(code, to);
    return to + code.size();
}

}  // namespace

SlotCodes::SlotCodes(const CodeStrings& codes)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        m_codes[slot] = codes[slot - 1];
}

QString lengthCaption(qsizetype length)
{
    return QStringLiteral("Length : ") + QString::number(length);
}

void convertText(QStringView text, const CodeStrings& codes, ConversionOutput& output)
{
    const std::vector<Slot> slots = selectSlots(text);
    const SlotCodes codeOfSlot(codes);
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
        *--backward = kBlank;
        *--backward = kBlank;
        backward -= code.size();
        copyCode(code, backward);
        forward = appendSeparatorAndCode(code, forward);
    }
    removeOuterBlanks(typingOrder);
    removeOuterBlanks(reverseOrder);
    output.lengthCaption = lengthCaption(text.size());
}

void joinCodes(const std::vector<Slot>& slots, const SlotCodes& codes, QString& joined)
{
    joined.resize(joinedLength(slots, codes));
    QChar* forward = joined.data();
    for (Slot slot : slots)
        forward = appendSeparatorAndCode(codes[slot], forward);
    removeOuterBlanks(joined);
}

ConversionOutput convertText(QStringView text, const CodeStrings& codes)
{
    ConversionOutput output;
    convertText(text, codes, output);
    return output;
}

}  // namespace harfcode
