#pragma once

#include "table/code_strings.h"
#include "table/table_reading.h"

#include <QString>
#include <QWidget>

#include <array>

class QLineEdit;

namespace harfcode {

// The table editor ("Hex Table"): one code field per slot beside the glyph it stands for.
// It fills its fields from the table file and writes them back, and leaves showing,
// hiding and messages to whoever owns it, through its signals.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QString tablePath, QWidget* parent = nullptr);

    // The load step of the first showing: code fields from the file, glyph fields from the
    // slot catalogue.
    void load();
    // Load step for a first start whose default table could not be written: the fields
    // show the default codes the file would have held.
    void loadDefaultCodes();

Q_SIGNALS:
    // After a successful "Save" or "Cancel": the editor is done and the main window is due.
    void handedBack();
    // Something went wrong or needs the user's attention; the text says what was done.
    void problem(const QString& message);
    // The user closed the window.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private Q_SLOTS:
    void save();
    void cancel();

private:
    QLineEdit* createCodeField(int slot);
    QLineEdit* createGlyphField(int slot);
    QLineEdit* createBlankSquare();
    void fillGlyphFields();
    CodeStrings fieldCodes() const;
    void showCodes(const CodeStrings& codes);
    void putIntoCodeFields(const TableReading& reading);
    void tellReadFailure(const TableReading& reading, const QString& whatHappens);
    void tellAboutSurplusLines(const TableReading& reading);

    QString m_tablePath;
    std::array<QLineEdit*, kSlotCount> m_codeFields{};
    std::array<QLineEdit*, kSlotCount> m_glyphFields{};  // index 0 (slot 1) stays empty
};

}  // namespace harfcode
