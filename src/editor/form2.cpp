#include "editor/form2.h"

#include "editor/code_field_validator.h"
#include "editor/editor_grid.h"
#include "table/table_file.h"
#include "table/table_location.h"
#include "widgets/tahoma_font.h"
#include "widgets/window_controls.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace harfcode {
namespace {

constexpr qreal kCodeFieldPointSize = 9.75;
constexpr qreal kGlyphFieldPointSize = 14.25;
// The file keeps two characters per slot; a longer code would be cut on the next read.
constexpr int kCodeFieldMaxLength = 2;

void paintBase(QLineEdit* field, const QColor& color)
{
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, color);
    field->setPalette(palette);
}

}  // namespace

Form2::Form2(QString tablePath, QWidget* parent)
    : QWidget(parent)
    , m_tablePath(std::move(tablePath))
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Hex Table"));
    resize(730, 617);

    QList<QWidget*> tabOrder;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        m_codeFields[slot - 1] = createCodeField(slot);
        tabOrder.append(m_codeFields[slot - 1]);
    }
    QPushButton* saveButton = createPlainButton(this, QStringLiteral("Command1"), QStringLiteral("Save"), saveButtonRect());
    QPushButton* cancelButton = createPlainButton(this, QStringLiteral("Command2"), QStringLiteral("Cancel"), cancelButtonRect());
    tabOrder << saveButton << cancelButton;
    for (qsizetype index = 1; index < tabOrder.size(); ++index)
        setTabOrder(tabOrder[index - 1], tabOrder[index]);

    createBlankSquare();
    for (int slot = 2; slot <= kSlotCount; ++slot)
        m_glyphFields[slot - 1] = createGlyphField(slot);

    m_codeFields.front()->setFocus();
    connect(saveButton, &QPushButton::clicked, this, &Form2::save);
    connect(cancelButton, &QPushButton::clicked, this, &Form2::cancel);
}

void Form2::load()
{
    const TableReading reading = readTableFile(m_tablePath);
    if (reading.ok())
        putIntoCodeFields(reading);
    else
        tellReadFailure(reading, QStringLiteral("The code fields stay empty; \"Save\" writes them to the file."));
    fillGlyphFields();
    tellAboutSurplusLines(reading);
}

void Form2::loadDefaultCodes()
{
    showCodes(defaultCodeStrings());
    fillGlyphFields();
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closing();
}

void Form2::save()
{
    // The core replaces the file atomically, so a failed save leaves the old table whole;
    // the editor stays open so that no edit is lost.
    ensureTableFolder(m_tablePath);  // the per-user folder may have gone since the start
    const TableWrite written = writeTableFile(m_tablePath, fieldCodes());
    if (written.error) {
        Q_EMIT problem(written.error->message() + QStringLiteral(" Nothing was saved; the editor stays open with your edits."));
        return;
    }
    Q_EMIT handedBack();
    if (!written.note.isEmpty())
        Q_EMIT problem(written.note);
}

void Form2::cancel()
{
    const TableReading reading = readTableFile(m_tablePath);
    if (!reading.ok()) {
        // The fields no longer match any file; staying open lets "Save" write them back.
        tellReadFailure(reading, QStringLiteral("The code fields keep their text and the editor stays open; \"Save\" writes them to the file."));
        return;
    }
    putIntoCodeFields(reading);
    Q_EMIT handedBack();
    // After the hand-back, so that the note shows over the window the user is back in.
    tellAboutSurplusLines(reading);
}

QLineEdit* Form2::createCodeField(int slot)
{
    QLineEdit* field = placeControl(new QLineEdit(this), QStringLiteral("InkEdit1_%1").arg(slot), codeFieldRect(slot));
    field->setFont(tahomaFont(kCodeFieldPointSize));
    field->setMaxLength(kCodeFieldMaxLength);
    field->setValidator(new CodeFieldValidator(field));
    return field;
}

QLineEdit* Form2::createGlyphField(int slot)
{
    // Only shows the glyph; nothing reads it back, so it is left out of the tab order.
    QLineEdit* field = placeControl(new QLineEdit(this), QStringLiteral("InkEdit%1").arg(slot), glyphFieldRect(slot));
    field->setFont(tahomaFont(kGlyphFieldPointSize, true));
    field->setFrame(false);
    // Left-aligned also for Arabic glyphs: the field's base direction is left to right.
    field->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute | Qt::AlignVCenter);
    field->setFocusPolicy(Qt::ClickFocus);
    paintBase(field, palette().color(QPalette::Window));
    return field;
}

QLineEdit* Form2::createBlankSquare()
{
    // Stands where the blank's glyph would be: the blank has none to show.
    QLineEdit* square = placeControl(new QLineEdit(this), QStringLiteral("InkEdit1_0"), glyphFieldRect(1));
    square->setFont(tahomaFont(kCodeFieldPointSize));
    square->setFrame(false);
    square->setFocusPolicy(Qt::NoFocus);
    paintBase(square, Qt::black);
    return square;
}

void Form2::fillGlyphFields()
{
    for (int slot = 2; slot <= kSlotCount; ++slot)
        m_glyphFields[slot - 1]->setText(QString(QChar(glyphOfSlot(slot))));
}

CodeStrings Form2::fieldCodes() const
{
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = m_codeFields[slot - 1]->text();
    return codes;
}

void Form2::showCodes(const CodeStrings& codes)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        m_codeFields[slot - 1]->setText(codes[slot - 1]);
}

void Form2::putIntoCodeFields(const TableReading& reading)
{
    // Fields beyond the file's last line keep their text.
    CodeStrings codes = fieldCodes();
    overlayCodes(codes, reading.codes);
    showCodes(codes);
}

void Form2::tellReadFailure(const TableReading& reading, const QString& whatHappens)
{
    Q_EMIT problem(reading.error->message() + u' ' + whatHappens);
}

void Form2::tellAboutSurplusLines(const TableReading& reading)
{
    if (reading.hasSurplusLines)
        Q_EMIT problem(surplusLinesSentence(m_tablePath) + QStringLiteral(" The editor shows the first %1; \"Save\" writes only those.").arg(kSlotCount));
}

}  // namespace harfcode
