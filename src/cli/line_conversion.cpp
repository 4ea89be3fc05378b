#include "cli/line_conversion.h"

#include "conversion/code_output.h"
#include "conversion/slot_selection.h"

#include <QStringList>

namespace harfcode {
namespace {

QString slotNumbers(QStringView text)
{
    QStringList numbers;
    for (Slot slot : selectSlots(text))
        numbers.append(slot == kNoSlot ? QStringLiteral("-") : QString::number(slot));
    return numbers.join(u' ');
}

}  // namespace

QString convertLine(QStringView text, CliOutput output, const CodeStrings& codes)
{
    switch (output) {
    case CliOutput::Slots:
        return slotNumbers(text);
    case CliOutput::ReverseOrder:
        return convertText(text, codes).reverseOrder;
    case CliOutput::TypingOrder:
        break;
    }
    return convertText(text, codes).typingOrder;
}

}  // namespace harfcode
