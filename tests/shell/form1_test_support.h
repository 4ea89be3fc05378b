#pragma once

#include "persian_typing.h"
#include "shell/form1.h"
#include "support/table_folder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextEdit>

namespace harfcode::testing {

inline const QString kBeh = QStringLiteral("\u0628");
inline const QString kAlef = QStringLiteral("\u0627");

// Slot 1 the blank, 4 alef, 5 and 6 beh initial and isolated, 74 and 75 "A" and "B".
inline CodeStrings sampleCodes()
{
    return codesWith({{1, "20"}, {4, "0B"}, {5, "A1"}, {6, "A2"}, {74, "41"}, {75, "42"}});
}

// What the main window shows in its three outputs.
struct Outputs {
    QString length;
    QString reverseOrder;
    QString typingOrder;

    friend bool operator==(const Outputs&, const Outputs&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Outputs& outputs)
    {
        return out << '"' << outputs.length.toStdString() << "\" \"" << outputs.reverseOrder.toStdString()
                   << "\" \"" << outputs.typingOrder.toStdString() << '"';
    }
};

inline QTextEdit* inputOf(const QWidget& window) { return child<QTextEdit>(window, "InkEdit1"); }

inline Outputs outputsOf(const QWidget& window)
{
    return {child<QLabel>(window, "Label4")->text(), child<QPlainTextEdit>(window, "Text1")->toPlainText(),
            child<QPlainTextEdit>(window, "Text2")->toPlainText()};
}

}  // namespace harfcode::testing
