#include "widgets/tahoma_font.h"

namespace harfcode {

void substituteMissingTahoma()
{
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
}

QFont tahomaFont(qreal pointSize, bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace harfcode
