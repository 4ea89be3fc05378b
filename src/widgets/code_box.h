#pragma once

#include <QPlainTextEdit>

namespace harfcode {

// A text box for one long line of codes, wrapped at its width, that costs what it shows.
//
// Qt lays out a paragraph whole: a line of a few hundred thousand characters would be laid
// out at every conversion although the box shows four lines of it. So the box holds a long
// line as three paragraphs, two of its blanks turned into paragraph breaks: the head, which
// reaches below the box's bottom edge, the middle, and the end, at least as tall as the box.
// Qt lays out only the head (which it shows) and the end (from which it measures how far
// the box could scroll); the middle, nearly all of the text, is never laid out. The head's
// lines are the one paragraph's first lines, and everything after them lies below the box,
// so what the box shows is the same.
//
// Before anything can show more of the text or change it (a key, an input method, the
// mouse, a drop, focus, a new size or font), the breaks become blanks again and the box
// holds one paragraph, as the user knows it. What the box gives back, read or copied, is
// always the one line.
//
// A keystroke in the input changes one end of each line: the typing order at its end, the
// reverse order at its start. While the box holds paragraphs, a new line that differs from
// the last only inside the head or only inside the end replaces just that part, so that Qt
// lays out again only the paragraph that changed.
class CodeBox : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ plainText WRITE showLine NOTIFY textChanged USER true)
public:
    using QPlainTextEdit::QPlainTextEdit;

    // Replaces the whole text, as setPlainText() does: the caret at the start, nothing to undo.
    void showLine(const QString& line);
    // The text, every break read as the blank it stands for.
    QString plainText() const;

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    // Replaces what changed since the last line when that lies in the head or in the end and
    // the paragraphs still reach below the box; says whether it did.
    bool replaceChangedPart(const QString& line);
    // Where the line's blanks become breaks for the current head and end lengths; none when
    // the line is too short for a middle or the box is hidden (its size is not known yet).
    QList<qsizetype> breaksFor(const QString& line) const;
    void fill(const QString& line, const QList<qsizetype>& breaks);
    // The length of a head that takes in the first line wholly below the box, for the next
    // line's head; -1 when the head ends inside the box.
    qsizetype headLengthBelowBox();
    bool endFillsBox();
    // About how many of the line's characters fill the box, with a line to spare.
    qsizetype charactersFillingBox(const QString& line) const;
    void joinParagraphs();
    // Puts the blanks back into `text`, which starts at position `from` of the document.
    void restoreBlanks(QString& text, qsizetype from) const;

    // Characters the head and the end start with: the head's follows what the last line's
    // head needed, the end's doubles whenever it falls short.
    qsizetype m_headLength = 512;
    qsizetype m_endLength = 512;
    // Positions of the blanks that are paragraph breaks now.
    QList<qsizetype> m_breaks;
    // The line shown, while the box holds paragraphs (shared with its owner's string, not a copy).
    QString m_line;
};

}  // namespace harfcode
