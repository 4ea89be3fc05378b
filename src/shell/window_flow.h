#pragma once

#include "shell/form1.h"

#include <QObject>
#include <QString>

#include <memory>

namespace harfcode {

class DisplayWindow;
class Form2;

// Which window shows when: the start-up, "Hex Table", the editor's hand-back, the closing
// rule, and the messages the windows ask to be shown.
class WindowFlow : public QObject {
    Q_OBJECT
public:
    explicit WindowFlow(QString tablePath, QObject* parent = nullptr);
    ~WindowFlow() override;

    // Shows the main window, or on a first start writes the default table and shows the
    // editor instead.
    void start();

    Form1& mainWindow() { return m_mainWindow; }
    // Null until the editor is first shown.
    Form2* editor() { return m_editor.get(); }
    // Null until "Show on Display…" is first chosen; closing it hides it.
    DisplayWindow* display() { return m_display.get(); }

private Q_SLOTS:
    void openEditor();
    void openDisplay();
    void handBack();
    void showProblem(const QString& message);
    void endProgram();

private:
    void showEditor(void (Form2::*loadStep)());
    void createEditor();

    QString m_tablePath;
    Form1 m_mainWindow;
    std::unique_ptr<Form2> m_editor;
    // Kept while the program runs, so that its settings do.
    std::unique_ptr<DisplayWindow> m_display;
    bool m_ending = false;
};

}  // namespace harfcode
