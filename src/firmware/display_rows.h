#pragma once

#include <QStringView>

#include <vector>

namespace harfcode {

// Breaks `text` into display rows of at most `width` glyphs (characters with a slot; the
// blank is one), in reading order, before any reordering. Rows break greedily at blanks and a
// break drops the whole run of blanks where it falls, with the characters without a slot among
// them (they would show nothing at the end of a row); every other blank is a glyph. A word
// longer than `width` starts a row of its own (unless the row is still empty) and is cut every
// `width` glyphs, its last piece sharing its row with the words after it. A character without
// a slot stays with the glyph before it. A text without any glyph gives one row without a glyph; every other row has one.
// The rows are views into `text`; `width` must be at least 1.
std::vector<QStringView> breakIntoRows(QStringView text, int width);

}  // namespace harfcode
