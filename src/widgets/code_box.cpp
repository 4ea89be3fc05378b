#include "widgets/code_box.h"

#include <QFontMetrics>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace harfcode {
namespace {

// What may show more of the text than the head's first lines, or change it.
bool mayShowMoreOrEdit(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::DragEnter:
    case QEvent::ContextMenu:
    case QEvent::Resize:
    case QEvent::FontChange:
    case QEvent::StyleChange:
        return true;
    default:
        return false;
    }
}

// Edits the document with its undo history off, which empties it (so only where nothing is
// left to undo), and its modified flag kept.
template <typename Edit>
void editUnrecorded(QTextDocument& document, Edit edit)
{
    const bool undoRedo = document.isUndoRedoEnabled();
    const bool modified = document.isModified();
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    edit(cursor);
    cursor.endEditBlock();
    document.setUndoRedoEnabled(undoRedo);
    document.setModified(modified);
}

}  // namespace

void CodeBox::showLine(const QString& line)
{
    if (replaceChangedPart(line))
        return;
    // An end too short to fill the box would have Qt lay out the middle to fill it as soon as
    // the line goes in: start from what fills the box in this line's characters.
    m_endLength = charactersFillingBox(line);
    for (;;) {
        const QList<qsizetype> breaks = breaksFor(line);
        fill(line, breaks);
        if (breaks.isEmpty())
            return;
        const qsizetype headNeeded = headLengthBelowBox();
        const bool endFallsShort = !endFillsBox();
        m_headLength = headNeeded >= 0 ? headNeeded : 2 * m_headLength;
        if (endFallsShort)
            m_endLength *= 2;
        if (headNeeded >= 0 && !endFallsShort)
            return;
    }
}

QString CodeBox::plainText() const
{
    QString text = toPlainText();
    restoreBlanks(text, 0);
    return text;
}

bool CodeBox::event(QEvent* event)
{
    if (mayShowMoreOrEdit(event->type()))
        joinParagraphs();
    return QPlainTextEdit::event(event);
}

bool CodeBox::viewportEvent(QEvent* event)
{
    if (mayShowMoreOrEdit(event->type()))
        joinParagraphs();
    return QPlainTextEdit::viewportEvent(event);
}

QMimeData* CodeBox::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    const auto inSelection = [&](qsizetype position) {
        return position >= selection.selectionStart() && position < selection.selectionEnd();
    };
    if (std::none_of(m_breaks.cbegin(), m_breaks.cend(), inSelection))
        return QPlainTextEdit::createMimeDataFromSelection();
    QString text = selection.selection().toPlainText();
    restoreBlanks(text, selection.selectionStart());
    auto* data = new QMimeData;
    data->setText(text);
    return data;
}

bool CodeBox::replaceChangedPart(const QString& line)
{
    if (m_breaks.isEmpty())
        return false;
    const qsizetype shortest = std::min(line.size(), m_line.size());
    const qsizetype prefix = std::mismatch(line.cbegin(), line.cbegin() + shortest, m_line.cbegin()).first - line.cbegin();
    const qsizetype suffix = std::mismatch(line.crbegin(), line.crbegin() + (shortest - prefix), m_line.crbegin()).first - line.crbegin();
    const qsizetype oldChangeEnd = m_line.size() - suffix;
    const qsizetype newChangeEnd = line.size() - suffix;
    const bool inHead = oldChangeEnd <= m_breaks.front();
    const bool inEnd = prefix > m_breaks.back();
    if (!inHead && !inEnd)
        return false;

    editUnrecorded(*document(), [&](QTextCursor& cursor) {
        if (inHead) {
            cursor.setPosition(prefix);
            cursor.setPosition(oldChangeEnd, QTextCursor::KeepAnchor);
            cursor.insertText(QString::fromRawData(line.constData() + prefix, newChangeEnd - prefix));
            return;
        }
        // The end goes in again with the break before it: Qt would otherwise find where a
        // changed end lies by laying out every paragraph above it, the middle included. The
        // cursor is placed, not moved: movePosition() lays out the paragraph it stands in.
        const qsizetype endStart = m_breaks.back() + 1;
        cursor.setPosition(m_breaks.back());
        cursor.setPosition(document()->characterCount() - 1, QTextCursor::KeepAnchor);
        cursor.insertBlock();
        cursor.insertText(QString::fromRawData(line.constData() + endStart, line.size() - endStart));
    });
    if (inHead) {
        for (qsizetype& position : m_breaks)
            position += line.size() - m_line.size();
    }
    m_line = line;
    // A change at the very start carries the caret along; the box shows a new line from its start.
    if (textCursor().position() != 0)
        setTextCursor(QTextCursor(document()));
    return headLengthBelowBox() >= 0 && endFillsBox();
}

QList<qsizetype> CodeBox::breaksFor(const QString& line) const
{
    if (!isVisible() || line.size() < m_headLength + m_endLength)
        return {};
    const qsizetype headEnd = line.indexOf(u' ', m_headLength);
    const qsizetype endStart = line.lastIndexOf(u' ', line.size() - m_endLength);
    if (headEnd < 0 || endStart <= headEnd)
        return {};
    return {headEnd, endStart};
}

void CodeBox::fill(const QString& line, const QList<qsizetype>& breaks)
{
    // setPlainText() gives the fresh caret, the empty undo history and the unmodified
    // document of today's box. Its blank keeps the caret at the start while the line goes in
    // after it: a caret carried along to the end would have Qt lay out every paragraph on the
    // way there to repaint where it was. (Removing the old text instead of clearing it costs
    // as much as laying it out.)
    setPlainText(QStringLiteral(" "));
    editUnrecorded(*document(), [&](QTextCursor& cursor) {
        cursor.movePosition(QTextCursor::End);
        qsizetype start = 0;
        for (const qsizetype blank : breaks) {
            cursor.insertText(QString::fromRawData(line.constData() + start, blank - start));
            cursor.insertBlock();
            start = blank + 1;
        }
        cursor.insertText(QString::fromRawData(line.constData() + start, line.size() - start));
        cursor.setPosition(0);
        cursor.deleteChar();
    });
    m_breaks = breaks;
    m_line = breaks.isEmpty() ? QString() : line;
}

qsizetype CodeBox::headLengthBelowBox()
{
    const QTextBlock head = document()->firstBlock();
    const qreal top = blockBoundingGeometry(head).translated(contentOffset()).top();  // lays the head out
    const QTextLayout& layout = *head.layout();
    for (int index = 0; index < layout.lineCount(); ++index) {
        const QTextLine line = layout.lineAt(index);
        if (top + line.y() >= viewport()->height())
            return line.textStart() + line.textLength();
    }
    return -1;
}

qsizetype CodeBox::charactersFillingBox(const QString& line) const
{
    // Measured on the line's last characters, the ones the end holds.
    constexpr qsizetype kSample = 64;
    const QFontMetrics metrics(font());
    const qsizetype sample = std::min(kSample, line.size());
    const int sampleWidth = std::max(1, metrics.horizontalAdvance(line.right(sample)));
    const qsizetype perLine = viewport()->width() * sample / sampleWidth + 1;
    const qsizetype lines = viewport()->height() / std::max(1, metrics.lineSpacing()) + 2;
    return perLine * lines;
}

bool CodeBox::endFillsBox()
{
    return blockBoundingRect(document()->lastBlock()).height() >= viewport()->height();
}

void CodeBox::joinParagraphs()
{
    if (m_breaks.isEmpty())
        return;
    // Nothing to undo is lost: the box cannot have been edited since the line was shown.
    m_line.clear();
    editUnrecorded(*document(), [breaks = std::exchange(m_breaks, {})](QTextCursor& cursor) {
        for (const qsizetype position : breaks) {
            // The blank first, then the break: a caret on either side stays where it was.
            cursor.setPosition(position + 1);
            cursor.insertText(QStringLiteral(" "));
            cursor.setPosition(position);
            cursor.deleteChar();
        }
    });
}

void CodeBox::restoreBlanks(QString& text, qsizetype from) const
{
    for (const qsizetype position : m_breaks) {
        if (position >= from && position < from + text.size())
            text[position - from] = u' ';
    }
}

}  // namespace harfcode
