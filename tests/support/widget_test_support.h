#pragma once

// Shared by the widget tests: a table folder of their own, and driving the windows as a user does.

#include "shell/window_flow.h"
#include "table/table_file.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// Failure messages show a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace harfcode::testing {

// A temporary folder that holds (or lacks) the table file of one test.
class TableFolder {
public:
    // Gives write permission back, so that the folder can be removed.
    ~TableFolder() { QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }

    QString tablePath() const { return m_dir.filePath(QStringLiteral("HexTable.txt")); }
    QByteArray bytes() const
    {
        QFile file(tablePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void write(const QByteArray& bytes) const
    {
        QFile file(tablePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    }
    // A folder in the table's place can be neither read nor replaced, also by root.
    void replaceByFolder() const { ASSERT_TRUE(QFile::remove(tablePath()) && QDir(m_dir.path()).mkdir("HexTable.txt")); }
    // False where folder permissions are not enforced (root).
    bool makeReadOnly() const
    {
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        return !QFile(m_dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
    }

private:
    QTemporaryDir m_dir;
};

// A table file of these lines: UTF-16LE with byte-order mark, every line ended by CR LF.
inline QByteArray tableLines(const QStringList& lines)
{
    return QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(lines.join("\r\n") + "\r\n");
}

inline const QString kBeh = QStringLiteral("\u0628");
inline const QString kAlef = QStringLiteral("\u0627");

// "00" but for slots 1 (the blank), 4 (alef), 5 and 6 (beh initial and isolated).
inline CodeStrings sampleCodes()
{
    CodeStrings codes = defaultCodeStrings();
    codes[0] = "20", codes[3] = "0B", codes[4] = "A1", codes[5] = "A2";
    return codes;
}

// What the field, label or box named `name` shows.
inline QString textOf(const QWidget& window, const QString& name)
{
    const auto* control = window.findChild<QWidget*>(name);
    const QVariant text = control ? control->property("text") : QVariant("(no control " + name + ")");
    return text.isValid() ? text.toString() : control->property("plainText").toString();
}

// The text a label shows, as a screen reader reads it: markup it renders is gone.
inline QString shownText(QWidget& label)
{
    return QAccessible::queryAccessibleInterface(&label)->text(QAccessible::Name);
}

// The main window's "Length :" caption and its two code lines.
inline QStringList outputsOf(const QWidget& main) { return {textOf(main, "Label4"), textOf(main, "Text1"), textOf(main, "Text2")}; }

inline QLineEdit* codeField(const QWidget& editor, int slot) { return editor.findChild<QLineEdit*>(QStringLiteral("InkEdit1_%1").arg(slot)); }

inline void click(const QWidget& window, const char* button) { window.findChild<QAbstractButton*>(button)->click(); }

// Types into the main window's input. QTest::keyClicks cannot send Persian letters, so every
// character goes as a key event carrying it; '\n' is the Enter key.
inline void type(const QWidget& mainWindow, const QString& text)
{
    auto* input = mainWindow.findChild<QWidget*>("InkEdit1");
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, input, character == u'\n' ? Qt::Key_Return : Qt::Key_unknown, QString(character), Qt::NoModifier);
}

// The program started on a table of these codes, its main window showing.
struct Program {
    explicit Program(const CodeStrings& codes = sampleCodes())
    {
        folder.write(encodeTable(codes));
        flow.start();
    }
    Form1& main() { return flow.mainWindow(); }
    Form2& editor() { return *flow.editor(); }
    QWidget& input() { return *main().findChild<QWidget*>("InkEdit1"); }
    QPlainTextEdit& box(const char* name) { return *main().findChild<QPlainTextEdit*>(name); }

    TableFolder folder;
    WindowFlow flow{folder.tablePath()};
};

// Opens the box's context menu as a right click does.
inline QMenu* openContextMenu(QPlainTextEdit& box)
{
    const QPoint position = box.viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, position, box.viewport()->mapToGlobal(position));
    QApplication::sendEvent(box.viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// What the user sees: the windows showing, and each message up to the system's reason (its first colon).
inline QStringList shownWindows()
{
    QStringList shown;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        const auto* box = qobject_cast<const QMessageBox*>(window);
        if (window->isVisible())
            shown.append(box ? box->text().section(u':', 0, 0) : window->objectName());
    }
    shown.sort();
    return shown;
}

// The text each message showing shows.
inline QStringList shownMessageTexts()
{
    QStringList messages;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
            messages.append(shownText(*box->findChild<QWidget*>("qt_msgbox_label")));
    return messages;
}

}  // namespace harfcode::testing
