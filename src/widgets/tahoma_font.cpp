#include "widgets/tahoma_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace harfcode {
namespace {

const QString kTahoma = QStringLiteral("Tahoma");
#ifndef Q_OS_WIN
// Regular and bold: with both registered, bold text gets the bold face, not a smeared regular.
// Not on Windows, where Tahoma is a system font: there Wine's files, under Wine, would only
// hide a Tahoma that is missing.
const char* const kWineTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"};
#endif

void prepareTahoma()
{
    static const bool prepared = [] {
#ifndef Q_OS_WIN
        if (!QFontDatabase::families().contains(kTahoma))
            for (const char* file : kWineTahomaFiles)
                QFontDatabase::addApplicationFont(QString::fromLatin1(file));
#endif
        // Also where no Tahoma at all is installed: then DejaVu Sans takes its place.
        QFont::insertSubstitution(kTahoma, QStringLiteral("DejaVu Sans"));
        return true;
    }();
    Q_UNUSED(prepared);
}

}  // namespace

QFont tahomaFont(qreal pointSize, bool bold)
{
    prepareTahoma();
    QFont font(kTahoma);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace harfcode
