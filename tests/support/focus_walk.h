#pragma once

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace harfcode::testing {

// Shows `window` and makes it the active one, so that it takes keyboard focus.
inline bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window) && QApplication::focusWidget() != nullptr;
}

inline QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
}

// The names of the controls that Tab reaches, one press after the other.
inline QStringList namesReachedByTab(qsizetype presses)
{
    QStringList names;
    for (qsizetype press = 0; press < presses; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names.append(focusName());
    }
    return names;
}

}  // namespace harfcode::testing
