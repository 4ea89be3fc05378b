#pragma once

#include "editor/form2.h"
#include "support/table_folder.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSignalSpy>

#include <memory>

namespace harfcode::testing {

// A loaded editor on its own, with what it reports recorded.
struct LoadedEditor {
    explicit LoadedEditor(const QString& tablePath)
        : window(tablePath)
    {
        window.load();
        window.show();
    }

    QLineEdit* codeField(int slot) const { return child<QLineEdit>(window, QStringLiteral("InkEdit1_%1").arg(slot)); }
    QString code(int slot) const { return codeField(slot)->text(); }
    void click(const char* buttonName) { child<QAbstractButton>(window, buttonName)->click(); }

    Form2 window;
    QSignalSpy handedBack{&window, &Form2::handedBack};
    QSignalSpy problems{&window, &Form2::problem};
};

inline QString lastProblem(const QSignalSpy& problems)
{
    return problems.isEmpty() ? QString() : problems.last().first().toString();
}

}  // namespace harfcode::testing
