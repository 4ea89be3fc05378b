#pragma once

#include "c_source/c_bytes.h"
#include "conversion/code_output.h"
#include "layout/display_order.h"
#include "shell/table_read_notices.h"
#include "table/code_strings.h"

#include <QString>
#include <QWidget>

class QLabel;
class QTextEdit;

namespace harfcode {

class CodeBox;

// The main window: the input field, whose every change is converted at once into the two
// code lines, and the "Hex Table" button. Problems with the table file go out through a
// signal; the window shows no messages of its own.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QString tablePath, QWidget* parent = nullptr);

    // The text and the table of the last conversion; none before the first.
    bool hasConverted() const { return m_hasConverted; }
    const QString& convertedText() const { return m_convertedText; }
    const CodeStrings& codes() const { return m_codes; }

Q_SIGNALS:
    void hexTableRequested();
    // "Show on Display…" from a code box's menu.
    void displayRequested();
    // After every conversion: the text converted and the table it was converted with.
    void converted(const QString& text, const CodeStrings& codes);
    void problem(const QString& message);
    // The user closed the window.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void convert();

private:
    QString typedText() const;
    CodeBytes convertedCodeBytes(DisplayOrder order) const;

    QString m_tablePath;
    // The text of the last conversion; with m_codes, which only conversions change, it gives
    // the bytes of the codes the boxes show, whatever the file or the boxes hold since.
    QString m_convertedText;
    bool m_hasConverted = false;
    // Refreshed from the file at every conversion and never cleared, so slots that a short
    // or unreadable file does not reach keep the codes of earlier reads.
    CodeStrings m_codes;
    ConversionOutput m_output;  // kept, so that its memory serves every keystroke
    TableReadNotices m_notices;
    QTextEdit* m_input = nullptr;
    CodeBox* m_reverseOrder = nullptr;
    CodeBox* m_typingOrder = nullptr;
    QLabel* m_length = nullptr;
};

}  // namespace harfcode
