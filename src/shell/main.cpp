#include "shell/window_flow.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    harfcode::WindowFlow flow(QCoreApplication::applicationDirPath() + QStringLiteral("/HexTable.txt"));
    flow.start();
    return QApplication::exec();
}
