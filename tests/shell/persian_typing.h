#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace harfcode::testing {

// Types text key by key. QTest::keyClicks cannot send Persian letters, so every character
// goes as a key event that carries it as its text; '\n' is the Enter key.
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar character : text) {
        if (character == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

}  // namespace harfcode::testing
