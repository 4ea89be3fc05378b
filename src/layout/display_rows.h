#pragma once

#include "layout/text_place.h"
#include "table/slot_catalogue.h"

#include <QStringView>

#include <vector>

namespace harfcode {

// No display row is wider than a few hundred glyphs; a row is padded to its width in memory.
inline constexpr int kMaxWidth = 65535;

// Breaks `text` into display rows of at most `width` glyphs (characters with a slot; the
// blank is one), in reading order, before any reordering. Rows break greedily at blanks and a
// break drops the whole run of blanks where it falls, with the characters without a slot among
// them (they would show nothing at the end of a row); every other blank is a glyph. A word
// longer than `width` starts a row of its own (unless the row is still empty) and is cut every
// `width` glyphs, its last piece sharing its row with the words after it. A character without
// a slot stays with the glyph before it. A text without any glyph gives one row without a
// glyph; every other row has one. The rows are views into `text`; `width` must be at least 1.
std::vector<QStringView> breakIntoRows(QStringView text, int width);

// Breaks a text into rows as breakIntoRows() does, from pieces of it given one after the
// other: a row is known once the text after it shows where it ends, so that a long text need
// not be held whole.
class RowBreaker {
public:
    struct Row {
        TextPlace start;
        TextPlace end;
    };

    explicit RowBreaker(int width);
    // Appends to `rows` the rows that are known once `piece` follows the pieces before it.
    void add(QStringView piece, std::vector<Row>& rows);
    // Appends the rows that are left at the end of the text.
    void finish(std::vector<Row>& rows);

private:
    enum class Phase {
        RowOpening,  // the blanks that open a row's first word (which count as glyphs)
        FirstWord,   // the rest of the row's first word, cut every `width` glyphs
        Gap,         // blanks and characters without a slot after the row's last word so far
        NextWord,    // the word after them, which goes on this row if it fits
        AfterBreak,  // blanks and characters without a slot dropped at a break
    };
    void step(QChar unit, bool hasSlot, std::vector<Row>& rows);
    // A glyph of a row's first word, which starts a row of its own once the row is full.
    void firstWordGlyph(std::vector<Row>& rows);

    int m_width;
    Phase m_phase = Phase::RowOpening;
    TextPlace m_place;  // of the unit being looked at
    TextPlace m_rowStart;
    TextPlace m_gapStart;  // where the row ends if the next word does not fit
    TextPlace m_wordStart;
    qsizetype m_glyphsInRow = 0;
    qsizetype m_gapBlanks = 0;
    qsizetype m_wordGlyphs = 0;
};

}  // namespace harfcode
