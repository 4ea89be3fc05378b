#pragma once

#include "shell/form1.h"

#include <QObject>
#include <QString>

#include <memory>

namespace harfcode {

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

private Q_SLOTS:
    void openEditor();
    void handBack();
    void showProblem(const QString& message);
    void endProgram();

private:
    void showEditor(void (Form2::*loadStep)());
    void createEditor();

    QString m_tablePath;
    Form1 m_mainWindow;
    std::unique_ptr<Form2> m_editor;
    bool m_ending = false;
};

}  // namespace harfcode
