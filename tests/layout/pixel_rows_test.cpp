#include "layout/pixel_rows.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace harfcode {
namespace {

// A glyph of the made-up font: its advance and its ink's columns [inkLeft, inkRight) from the
// pen; no ink where they are equal.
struct Shape {
    int advance = 2;
    int inkLeft = 0;
    int inkRight = 2;
};

// Every glyph 2 pixels wide and inked over its advance, except for a few that show what a row's
// reach is made of: ink left of the pen, ink past the advance, a glyph wider than any row here
// and a medial form wider than the others, which tells a piece shaped alone from a piece of the
// word's shape.
const std::map<char32_t, Shape> kShapes = {
    {U' ', {2, 0, 0}},
    {U'L', {2, -1, 2}},
    {U'J', {2, 0, 3}},
    {U'W', {9, 0, 9}},
    {U'\uFECC', {3, 0, 3}},  // ain, medial
};

Shape shapeOf(Slot slot)
{
    const auto found = kShapes.find(characterOfSlot(slot));
    return found == kShapes.end() ? Shape{} : found->second;
}

RowReach reachOfSlots(const std::vector<Slot>& slots)
{
    RowReach reach;
    qint64 pen = 0;
    for (const Slot slot : slots) {
        if (slot == kNoSlot)
            continue;
        const Shape shape = shapeOf(slot);
        if (shape.inkLeft < shape.inkRight) {
            reach.left = std::min(reach.left, pen + shape.inkLeft);
            reach.right = std::max(reach.right, pen + shape.inkRight);
        }
        pen += shape.advance;
        reach.left = std::min(reach.left, pen);
        reach.right = std::max(reach.right, pen);
    }
    return reach;
}

const GlyphMeasure kMeasure{[](Slot slot) { return shapeOf(slot).advance; }, reachOfSlots};

// A row as "text|glyphs@pen", the glyphs in display order by the characters they stand for, and
// "!" after a row that overflows.
QString described(const PixelRow& row)
{
    QString glyphs;
    for (const Slot slot : row.slots) {
        const char32_t character = characterOfSlot(slot);
        glyphs += QString::fromUcs4(&character, 1);
    }
    const QString overflow = row.overflows ? QStringLiteral("!") : QString();
    return row.text.toString() + u'|' + glyphs + u'@' + QString::number(row.penStart) + overflow;
}

// Rows of 2-pixel glyphs and blanks, the greedy breaking of glyph rows in pixels. Ain's forms:
// FECB initial, FECC medial (3 pixels), FECA final, FEC9 isolated.
TEST(PixelRows, BreakGreedilyByReachAndStandRightAligned)
{
    constexpr auto V = DisplayOrder::Visual;
    constexpr auto R = DisplayOrder::Reverse;
    constexpr auto T = DisplayOrder::Typing;
    struct Case { const char* text; DisplayOrder order; int width; QStringList rows; };
    const Case cases[] = {
        {"AB CD", V, 10, {"AB CD|AB CD@0"}},                    // a row exactly as wide as the width
        {"AB CD", V, 9, {"AB|AB@5", "CD|CD@5"}},
        // blanks opening the text belong to its first word, and go right of it in visual order
        {"  AB CD", V, 8, {"  AB|AB  @0", "CD|CD@4"}},
        {"  AB", V, 6, {"  A|A  @0", "B|B@4"}},
        // a gap that does not fit is dropped with the break, even where the gap alone would fit
        {"AB   CD", V, 12, {"AB|AB@8", "CD|CD@8"}},
        {"AB   CD", V, 14, {"AB   CD|AB   CD@0"}},
        {"AB  CD", V, 8, {"AB|AB@4", "CD|CD@4"}},
        // blanks closing the text stay where they fit
        {"AB  ", V, 8, {"AB  |  AB@0"}},
        {"AB  ", V, 7, {"AB|AB@3"}},
        {"AB CD  ", V, 12, {"AB CD|AB CD@2"}},
        {"AB CD  ", V, 14, {"AB CD  |  AB CD@0"}},
        // blanks alone are cut like a word; no glyph at all is one empty row
        {"     ", V, 4, {"  |  @0", "  |  @0", " | @2"}},
        {"", V, 5, {"|@5"}},
        // a long word starts a row of its own and is cut; its last piece shares its row
        {"ABCDEFG H", V, 6, {"ABC|ABC@0", "DEF|DEF@0", "G H|G H@0"}},
        {"A BCDEFG", V, 6, {"A|A@4", "BCD|BCD@0", "EFG|EFG@0"}},
        // each piece is shaped alone and grows while it fits in that shape: two ains are
        // initial and final, 4 pixels, not initial and medial, 5; three are 7
        {"ععع", V, 4, {"عع|\uFECA\uFECB@0", "ع|\uFEC9@2"}},
        {"ععع", R, 4, {"عع|\uFECA\uFECB@0", "ع|\uFEC9@2"}},
        {"ععع", V, 3, {"ع|\uFEC9@1", "ع|\uFEC9@1", "ع|\uFEC9@1"}},
        // a character without a slot stays with the glyph before it, and shapes it: x after
        // the second ain makes it medial, 5 pixels with the first
        {"ععx", V, 4, {"ع|\uFEC9@2", "عx|\uFEC9@2"}},
        // a glyph wider than the row stands alone with its ink from the left edge
        {"A W B", V, 8, {"A|A@6", "W|W@0!", "B|B@6"}},
        {"AW", V, 8, {"A|A@6", "W|W@0!"}},
        {"L", V, 2, {"L|L@1!"}},
        // ink left of the pen or past the advance widens the row: its last word, or in a cut
        // its last glyph, moves down
        {"LA B C", V, 8, {"LA|LA@4", "B C|B C@2"}},
        {"LA B C", V, 9, {"LA B|LA B@1", "C|C@7"}},
        {"LABCD", V, 10, {"LABC|LABC@2", "D|D@8"}},
        {"AJ", V, 4, {"A|A@2", "J|J@1"}},
        {"AJ", V, 5, {"AJ|AJ@0"}},
        // closing blanks that fit on advances go where the row's ink then overflows: left of L
        // in visual order they leave its ink inside, in typing order they push it out, and left
        // of "B AJ" they push J's ink past the right edge
        {"LA  ", V, 8, {"LA  |  LA@0"}},
        {"LA  ", T, 8, {"LA|LA@4"}},
        {"B AJ  ", V, 12, {"B AJ|B AJ@3"}},
        // the row is measured in its order
        {"AB عع", V, 20, {"AB عع|\uFECA\uFECB AB@10"}},
        {"AB عع", R, 20, {"AB عع|\uFECA\uFECB BA@10"}},
        {"AB عع", T, 20, {"AB عع|AB \uFECB\uFECA@10"}},
        // a character without a slot shows nothing and moves nothing, and is dropped at a break
        {"AB c D", V, 10, {"AB c D|AB  D@0"}},
        {"AB c D", V, 8, {"AB|AB@4", "D|D@6"}},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        const std::vector<PixelRow> rows = breakIntoPixelRows(text, c.order, c.width, kMeasure);
        QStringList got;
        for (const PixelRow& row : rows) {
            got.append(described(row));
            // Every row that fits stands inside the display, its reach's right end on its edge.
            if (!row.overflows) {
                EXPECT_EQ(row.penStart, c.width - reachOfSlots(row.slots).right) << c.text;
                EXPECT_GE(row.penStart + reachOfSlots(row.slots).left, 0) << c.text;
            }
        }
        EXPECT_EQ(got.join(u" / ").toStdString(), c.rows.join(u" / ").toStdString())
            << c.text << " / " << int(c.order) << " / " << c.width;
    }
}

}  // namespace
}  // namespace harfcode
