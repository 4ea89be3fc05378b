#include "shell/qt_settings.h"

#include <QtCore/qtcore-config.h>

#if QT_CONFIG(settings)
#include <QSettings>
#endif

namespace harfcode {

void keepQtSettingsIn(const QString& folder)
{
#if QT_CONFIG(settings)
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
#else
    // A Qt built without settings remembers nothing anywhere.
    Q_UNUSED(folder);
#endif
}

}  // namespace harfcode
