#include "layout/display_rows.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

QStringList rowsOf(const char* utf8, int width)
{
    const QString text = QString::fromUtf8(utf8);
    QStringList rows;
    for (const QStringView row : breakIntoRows(text, width))
        rows.append(row.toString());
    return rows;
}

TEST(DisplayRows, BreaksGreedilyAtBlanksAndCutsLongWords)
{
    struct Case { const char* text; int width; QStringList rows; };
    const Case cases[] = {
        {"AB CD", 5, {"AB CD"}},                          // a blank inside a row is a glyph
        {"AB CD", 4, {"AB", "CD"}},
        {"AB   CD", 4, {"AB", "CD"}},                     // the whole run of blanks goes at a break
        {"AB   CD", 7, {"AB   CD"}},
        {"AB CD EF", 5, {"AB CD", "EF"}},
        {"ABCDEFG", 3, {"ABC", "DEF", "G"}},              // a long word is cut every N glyphs
        {"A BCDEFG", 3, {"A", "BCD", "EFG"}},             // and starts a row of its own
        {"ABCDEF G", 4, {"ABCD", "EF G"}},                // its last piece shares its row
        {"A B", 1, {"A", "B"}},
        {"AB\u200CCD", 2, {"AB\u200C", "CD"}},            // no slot: stays with the glyph before it
        {"ABc DE", 3, {"ABc", "DE"}},
        {"AB c D", 2, {"AB", "D"}}, {"AB c D", 6, {"AB c D"}}, {"AB c", 2, {"AB"}},  // no slot in a break: dropped
        {"  AB", 3, {"  A", "B"}},                        // blanks opening the text are glyphs
        {"AB  ", 3, {"AB"}},                              // blanks ending the text at a break go
        {"AB  ", 4, {"AB  "}},
        {"", 3, {""}},                                    // no glyph: one empty row
        {"abc", 3, {"abc"}},
        {"سلام دنیا", 4, {"سلام", "دنیا"}},
        {"سلام", 2, {"سل", "ام"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rowsOf(c.text, c.width), c.rows) << c.text << " / " << c.width;
}

}  // namespace
}  // namespace harfcode
