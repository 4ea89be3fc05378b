#include "conversion/code_output.h"

#include "conversion/slot_selection.h"

#include <vector>

namespace harfcode {
namespace {

const QString kSeparator = QStringLiteral("  ");

// Only U+0020 counts: a code string may hold other white space and keeps it.
QString withoutOuterBlanks(const QString& joined)
{
    qsizetype begin = 0;
    qsizetype end = joined.size();
    while (begin < end && joined[begin] == u' ')
        ++begin;
    while (end > begin && joined[end - 1] == u' ')
        --end;
    return joined.sliced(begin, end - begin);
}

}  // namespace

QString lengthCaption(qsizetype length)
{
    return QStringLiteral("Length : ") + QString::number(length);
}

ConversionOutput convertText(QStringView text, const CodeStrings& codes)
{
    static const QString kNoCode;
    const std::vector<Slot> slots = selectSlots(text);

    std::vector<const QString*> codeAt;
    codeAt.reserve(slots.size());
    qsizetype joinedLength = 0;
    for (Slot slot : slots) {
        const QString* code = slot == kNoSlot ? &kNoCode : &codes[slot - 1];
        codeAt.push_back(code);
        joinedLength += code->size() + kSeparator.size();
    }

    QString typingOrder;
    QString reverseOrder;
    typingOrder.reserve(joinedLength);
    reverseOrder.reserve(joinedLength);
    for (const QString* code : codeAt)
        typingOrder.append(kSeparator).append(*code);
    for (auto it = codeAt.crbegin(); it != codeAt.crend(); ++it)
        reverseOrder.append(**it).append(kSeparator);

    return {lengthCaption(text.size()), withoutOuterBlanks(reverseOrder), withoutOuterBlanks(typingOrder)};
}

}  // namespace harfcode
