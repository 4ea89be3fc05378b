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

}  // namespace

QString lengthCaption(qsizetype length)
{
    return QStringLiteral("Length : ") + QString::number(length);
}

void convertText(QStringView text, const CodeStrings& codes, ConversionOutput& output)
{
    const std::vector<Slot> slots = selectSlots(text);

    // Index kNoSlot is the empty code of a character without a slot.
    std::array<QStringView, kSlotCount + 1> codeOfSlot;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codeOfSlot[slot] = codes[slot - 1];

    qsizetype joinedLength = 0;
    for (Slot slot : slots)
        joinedLength += codeOfSlot[slot].size() + kSeparatorLength;

    // Both strings hold the same codes and separators, one mirrored: typing order is
    // separator, code 1, separator, code 2, ...; reverse order is ..., code 2, separator,
    // code 1, separator. One pass fills both, the reverse one from its end.
    QString& typingOrder = output.typingOrder;
    QString& reverseOrder = output.reverseOrder;
    typingOrder.resize(joinedLength);
    reverseOrder.resize(joinedLength);
    QChar* forward = typingOrder.data();
    QChar* backward = reverseOrder.data() + joinedLength;
    for (Slot slot : slots) {
        const QStringView code = codeOfSlot[slot];
        *forward++ = kBlank;
        *forward++ = kBlank;
        *--backward = kBlank;
        *--backward = kBlank;
        backward -= code.size();
        // Codes are mostly two units: a plain loop beats a call to memcpy here.
        for (qsizetype i = 0; i < code.size(); ++i) {
            forward[i] = code[i];
            backward[i] = code[i];
        }
        forward += code.size();
    }
    removeOuterBlanks(typingOrder);
    removeOuterBlanks(reverseOrder);
    output.lengthCaption = lengthCaption(text.size());
}

ConversionOutput convertText(QStringView text, const CodeStrings& codes)
{
    ConversionOutput output;
    convertText(text, codes, output);
    return output;
}

}  // namespace harfcode
