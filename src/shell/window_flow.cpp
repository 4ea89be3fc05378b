#include "shell/window_flow.h"

#include "display/display_window.h"
#include "editor/form2.h"
#include "shell/app_icon.h"
#include "shell/window_placement.h"
#include "table/table_file.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace harfcode {

WindowFlow::WindowFlow(QString tablePath, QObject* parent)
    : QObject(parent)
    , m_tablePath(std::move(tablePath))
    , m_mainWindow(m_tablePath)
{
    m_mainWindow.setWindowIcon(appIcon());
    centreOnScreen(m_mainWindow);
    connect(&m_mainWindow, &Form1::hexTableRequested, this, &WindowFlow::openEditor);
    connect(&m_mainWindow, &Form1::displayRequested, this, &WindowFlow::openDisplay);
    connect(&m_mainWindow, &Form1::problem, this, &WindowFlow::showProblem);
    connect(&m_mainWindow, &Form1::closing, this, &WindowFlow::endProgram);
}

WindowFlow::~WindowFlow() = default;

void WindowFlow::start()
{
    if (tableExists(m_tablePath)) {
        m_mainWindow.show();
        return;
    }
    if (const auto error = writeDefaultTableFile(m_tablePath).error) {
        showEditor(&Form2::loadDefaultCodes);
        showProblem(error->message() + QStringLiteral(" The editor shows the default codes; \"Save\" writes them once the file can be created."));
        return;
    }
    openEditor();
}

void WindowFlow::openEditor()
{
    showEditor(&Form2::load);
}

void WindowFlow::openDisplay()
{
    if (!m_display) {
        m_display = std::make_unique<DisplayWindow>(m_tablePath);
        m_display->setWindowIcon(m_mainWindow.windowIcon());
        if (m_mainWindow.hasConverted())
            m_display->showConversion(m_mainWindow.convertedText(), m_mainWindow.codes());
        connect(&m_mainWindow, &Form1::converted, m_display.get(), &DisplayWindow::showConversion);
    }
    m_display->show();
    m_display->raise();
    m_display->activateWindow();
}

void WindowFlow::handBack()
{
    m_editor->hide();
    m_mainWindow.show();
}

void WindowFlow::showProblem(const QString& message)
{
    QWidget* visibleWindow = m_editor && m_editor->isVisible() ? static_cast<QWidget*>(m_editor.get()) : &m_mainWindow;
    // Neither modal nor focused: a problem found while the user types must not swallow the
    // next keystrokes, and no nested event loop runs inside a window's handler.
    auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Harfcode"), message, QMessageBox::Ok, visibleWindow);
    // Messages quote paths and codes, which are shown as they are, whatever markup they hold.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void WindowFlow::endProgram()
{
    // Closing the other window below comes back here through its close handler.
    if (std::exchange(m_ending, true))
        return;
    m_mainWindow.close();
    if (m_editor)
        m_editor->close();
    QCoreApplication::quit();
}

void WindowFlow::showEditor(void (Form2::*loadStep)())
{
    m_mainWindow.hide();
    const bool firstShowing = !m_editor;
    if (firstShowing)
        createEditor();
    m_editor->show();
    // Loading right after show() looks the same as loading before it, since nothing is
    // painted until this handler returns, and a load problem then shows over the editor.
    if (firstShowing)
        (m_editor.get()->*loadStep)();
}

void WindowFlow::createEditor()
{
    m_editor = std::make_unique<Form2>(m_tablePath);
    m_editor->setWindowIcon(m_mainWindow.windowIcon());
    centreOnScreen(*m_editor);
    connect(m_editor.get(), &Form2::handedBack, this, &WindowFlow::handBack);
    connect(m_editor.get(), &Form2::problem, this, &WindowFlow::showProblem);
    connect(m_editor.get(), &Form2::closing, this, &WindowFlow::endProgram);
}

}  // namespace harfcode
