#include "editor/code_field_validator.h"

namespace harfcode {
namespace {

bool isLineBreak(QChar unit)
{
    switch (unit.unicode()) {
    case u'\n':
    case u'\r':
    case u'\v':
    case u'\f':
    case 0x0085:
    case 0x2028:
    case 0x2029:
        return true;
    default:
        return false;
    }
}

// Half of a surrogate pair: the field's length limit cuts a pasted "A" and emoji between them.
bool isLoneSurrogate(const QString& text, qsizetype index)
{
    const QChar unit = text[index];
    if (unit.isHighSurrogate())
        return index + 1 == text.size() || !text[index + 1].isLowSurrogate();
    if (unit.isLowSurrogate())
        return index == 0 || !text[index - 1].isHighSurrogate();
    return false;
}

}  // namespace

QValidator::State CodeFieldValidator::validate(QString& input, int& position) const
{
    // Removing instead of rejecting lets a pasted "A1\n" still arrive as "A1".
    for (qsizetype index = input.size() - 1; index >= 0; --index) {
        if (!isLineBreak(input[index]) && !isLoneSurrogate(input, index))
            continue;
        input.remove(index, 1);
        if (index < position)
            --position;
    }
    return Acceptable;
}

}  // namespace harfcode
