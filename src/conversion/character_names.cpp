#include "conversion/character_names.h"

#include <QChar>

namespace harfcode {

QString codePointDigits(char32_t character)
{
    return QString::number(character, 16).toUpper().rightJustified(4, u'0');
}

QString codePointName(char32_t character)
{
    return QStringLiteral("U+") + codePointDigits(character);
}

bool isUnseenControl(char32_t character)
{
    const QChar::Category category = QChar::category(character);
    const bool directionControl = character == 0x061C || character == 0x200E || character == 0x200F
                                  || (character >= 0x202A && character <= 0x202E)
                                  || (character >= 0x2066 && character <= 0x2069);
    return category == QChar::Other_Control || category == QChar::Separator_Line
           || category == QChar::Separator_Paragraph || directionControl;
}

}  // namespace harfcode
