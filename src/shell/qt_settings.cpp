#include "shell/qt_settings.h"

#include <QSettings>

namespace harfcode {

void keepQtSettingsIn(const QString& folder)
{
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, folder);
}

}  // namespace harfcode
