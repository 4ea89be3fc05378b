#include "shell/qt_settings.h"
#include "shell/window_flow.h"
#include "table/table_location.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The windows' class, which the desktop entry names as StartupWMClass, and the entry.
    QApplication::setApplicationName(QStringLiteral("harfcode"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.harfcode.Harfcode"));
    const QTemporaryDir qtSettings;
    harfcode::keepQtSettingsIn(qtSettings.path());
    const QString tablePath =
        harfcode::tableLocation(QCoreApplication::applicationDirPath(),
                                QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    // Before the first start writes the default table into it.
    harfcode::ensureTableFolder(tablePath);
    harfcode::WindowFlow flow(tablePath);
    flow.start();
    return QApplication::exec();
}
