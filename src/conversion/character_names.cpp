#include "conversion/character_names.h"

#include <QChar>
#include <QList>

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

QString withControlsSpelledOut(QStringView text)
{
    QString shown;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80 && isUnseenControl(c))
            shown += QStringLiteral("\\x") + QString::number(uint(c), 16).toUpper().rightJustified(2, u'0');
        else if (isUnseenControl(c))
            shown += codePointName(c);
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return shown;
}

}  // namespace harfcode
