#include "shell/form1.h"

#include "conversion/code_output.h"
#include "table/table_file.h"
#include "widgets/code_box.h"
#include "widgets/code_copy_menu.h"
#include "widgets/steady_caret.h"
#include "widgets/tahoma_font.h"
#include "widgets/window_controls.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>

namespace harfcode {
namespace {

constexpr qreal kInputPointSize = 8.5;
constexpr qreal kTextPointSize = 8.25;

CodeBox* createOutputBox(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* box = placeControl(new CodeBox(parent), name, geometry);
    box->setFont(tahomaFont(kTextPointSize));
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    keepCaretSteadyInLongText(*box, *box->document());
    return box;
}

QLabel* createLabel(QWidget* parent, const QString& name, const QString& text, const QRect& geometry,
                    Qt::Alignment horizontal)
{
    auto* label = placeControl(new QLabel(text, parent), name, geometry);
    label->setFont(tahomaFont(kTextPointSize));
    label->setAlignment(horizontal | Qt::AlignTop);
    return label;
}

QTextEdit* createInputField(QWidget* parent)
{
    auto* input = placeControl(new QTextEdit(parent), QStringLiteral("InkEdit1"), {67, 67, 667, 67});
    // Pasted formatting and images would hide characters from the conversion.
    input->setAcceptRichText(false);
    input->setTabChangesFocus(true);
    // As the document's default font, not a character format, so that it survives deleting
    // everything.
    const QFont font = tahomaFont(kInputPointSize, true);
    input->setFont(font);
    input->document()->setDefaultFont(font);
    // Persian runs right to left inside a paragraph whose base direction stays left to right.
    QTextOption option = input->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    input->document()->setDefaultTextOption(option);
    QTextBlockFormat paragraph;
    paragraph.setLayoutDirection(Qt::LeftToRight);
    QTextCursor(input->document()).setBlockFormat(paragraph);
    keepCaretSteadyInLongText(*input, *input->document());
    return input;
}

}  // namespace

Form1::Form1(QString tablePath, QWidget* parent)
    : QWidget(parent)
    , m_tablePath(std::move(tablePath))
    , m_notices(m_tablePath)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Harfcode"));
    resize(802, 472);

    m_input = createInputField(this);
    m_reverseOrder = createOutputBox(this, QStringLiteral("Text1"), {67, 200, 667, 67});
    m_typingOrder = createOutputBox(this, QStringLiteral("Text2"), {67, 333, 667, 67});
    createLabel(this, QStringLiteral("Label1"), QStringLiteral("Text"), {384, 37, 36, 17}, Qt::AlignHCenter);
    createLabel(this, QStringLiteral("Label2"), QStringLiteral("Persian Hex"), {333, 170, 133, 17}, Qt::AlignHCenter);
    createLabel(this, QStringLiteral("Label3"), QStringLiteral("English Hex"), {333, 303, 133, 17}, Qt::AlignHCenter);
    m_length = createLabel(this, QStringLiteral("Label4"), lengthCaption(0), {72, 37, 85, 17}, Qt::AlignLeft);

    QPushButton* hexTable = createPlainButton(this, QStringLiteral("Command1"), QStringLiteral("Hex Table"), {352, 424, 105, 25});

    setTabOrder(m_input, m_reverseOrder);
    setTabOrder(m_reverseOrder, m_typingOrder);
    setTabOrder(m_typingOrder, hexTable);
    m_input->setFocus();

    connect(m_input, &QTextEdit::textChanged, this, &Form1::convert);
    connect(hexTable, &QPushButton::clicked, this, &Form1::hexTableRequested);
    const auto report = [this](const QString& message) { Q_EMIT problem(message); };
    const auto showOnDisplay = [this] { Q_EMIT displayRequested(); };
    addCodeCopyEntries(*m_reverseOrder, [this] { return convertedCodeBytes(DisplayOrder::Reverse); }, report, showOnDisplay);
    addCodeCopyEntries(*m_typingOrder, [this] { return convertedCodeBytes(DisplayOrder::Typing); }, report, showOnDisplay);
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    Q_EMIT closing();
}

void Form1::convert()
{
    // Re-read at every change so that a saved or hand-edited table counts at once. A failed
    // read overlays nothing: the codes of the last successful read stay in use.
    const TableReading reading = readTableFile(m_tablePath);
    overlayCodes(m_codes, reading.codes);
    m_convertedText = typedText();
    convertText(m_convertedText, m_codes, m_output);
    m_length->setText(m_output.lengthCaption);
    m_reverseOrder->showLine(m_output.reverseOrder);
    m_typingOrder->showLine(m_output.typingOrder);
    m_hasConverted = true;
    Q_EMIT converted(m_convertedText, m_codes);
    if (const auto notice = m_notices.noticeFor(reading, stampOfFile(m_tablePath)))
        Q_EMIT problem(*notice);
}

QString Form1::typedText() const
{
    // The raw text keeps a no-break space as it is (plain text would turn it into a blank);
    // paragraph and line separators become '\n' so that a line break counts as one character.
    QString text = m_input->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

CodeBytes Form1::convertedCodeBytes(DisplayOrder order) const
{
    return codeBytesOf(slotsInOrder(m_convertedText, order), m_codes);
}

}  // namespace harfcode
