#include "firmware/display_order.h"

#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace harfcode {
namespace {

std::vector<int> slotsOf(const char* utf8, DisplayOrder order)
{
    const std::vector<Slot> slots = slotsInOrder(QString::fromUtf8(utf8), order);
    return {slots.begin(), slots.end()};
}

// Inputs are UTF-8 in typing order; the visual slots are read from the display's left edge.
TEST(DisplayOrder, VisualOrderReversesPersianRunsAndKeepsNumbersAndLatinLeftToRight)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {}},
        {"سلام", {55, 4, 52, 26}},
        {"سلام 123", {65, 66, 67, 1, 55, 4, 52, 26}},               // ASCII digits after Persian
        {"سال ۱۴۰۳", {65, 68, 64, 67, 1, 53, 4, 26}},               // Persian digits keep their order
        {"٢٣ عدد", {21, 21, 36, 1, 66, 67}},                         // Arabic-Indic digits too
        {"عدد 12 و 34", {67, 68, 1, 58, 1, 65, 66, 1, 21, 21, 36}},  // two numbers in one line
        {"LED روشن", {57, 28, 58, 23, 1, 85, 78, 77}},              // capitals keep their order
        {"سلام!", {101, 55, 4, 52, 26}},                             // end punctuation at the left
        {"؟سلام", {55, 4, 52, 26, 103}},                             // leading punctuation at the right
        {"HELLO 42", {81, 78, 85, 85, 88, 1, 68, 66}},               // no Persian: as typed
        {"ب\u200Cب", {6, 6}},                                        // characters without a slot leave
        {"abc سلام", {55, 4, 52, 26, 1}},
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input, DisplayOrder::Visual), slots) << input;
}

TEST(DisplayOrder, TypingAndReverseOrderKeepEveryPositionAndTheFormsOfTypingOrder)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {}},
        {"بb1", {6, 0, 65}},
        {"سلام 12", {26, 52, 4, 55, 1, 65, 66}},
    };
    for (const auto& [input, slots] : cases) {
        EXPECT_EQ(slotsOf(input, DisplayOrder::Typing), slots) << input;
        EXPECT_EQ(slotsOf(input, DisplayOrder::Reverse), std::vector<int>(slots.rbegin(), slots.rend())) << input;
    }
}

// Where a text given in pieces may be cut for visual order: the last place in each piece,
// between two strong letters, outside isolates and brackets that close. Each place is given
// as the units before it, with L when a left-to-right run goes on across it.
TEST(VisualCutFinder, FindsOnePlaceInEachPieceWhereTheOrderMayBeCut)
{
    struct Case {
        const char* what;
        std::vector<QString> pieces;
        std::vector<std::pair<qsizetype, char>> cuts;
    };
    const QString sh = QString::fromUtf8("ش");
    const Case cases[] = {
        {"Latin", {"ABC"}, {{2, 'L'}}},
        {"Persian", {sh + sh + sh}, {{2, ' '}}},
        {"Latin, then Persian", {"AB " + sh}, {{1, 'L'}}},  // a blank between is no strong letter
        {"a place between two pieces", {"A", "B"}, {{1, 'L'}}},
        {"in each piece", {sh + sh, sh + "A"}, {{1, ' '}, {3, ' '}}},
        {"digits are not strong", {"12 34 56"}, {}},
        {"inside brackets that close", {sh + sh + "(" + sh, sh + ")"}, {{1, ' '}}},
        {"inside brackets that never close", {sh + sh + "(" + sh, sh}, {{1, ' '}, {4, ' '}}},
        {"the fewest brackets in a piece", {sh + sh + "(" + sh + sh}, {{1, ' '}}},
        {"canonically equivalent brackets pair", {sh + sh + u'\u3008' + sh, sh + u'\u232A'}, {{1, ' '}}},
        {"inside an isolate", {sh + sh + u'\u2066' + sh + sh + u'\u2069', "x"}, {{1, ' '}}},
        {"after an isolate", {sh + u'\u2067' + "AB" + u'\u2069' + sh + sh}, {{6, ' '}}},
        {"inside an embedding, and after it", {sh + sh + u'\u202A', sh + sh + u'\u202C' + sh + sh}, {{1, ' '}, {7, ' '}}},
        {"inside brackets that an embedding follows", {sh + "(" + sh + sh + u'\u202B' + "A" + u'\u202C' + ")()"}, {{3, ' '}}},
        {"an empty override parts nothing", {sh + "(" + sh + sh + u'\u202D' + u'\u202C' + sh + sh + ")"}, {}},
        {"nor does an isolate after it", {sh + "(" + sh + sh + u'\u202D' + u'\u202C' + u'\u2066' + "A" + u'\u2069' + sh + sh + ")"}, {}},
        {"a paragraph separator too", {sh + sh + u'\u2029' + sh + sh}, {{1, ' '}}},
        {"an embedding inside an isolate does not", {sh + u'\u2066' + u'\u202B' + "A" + u'\u2069' + sh + sh}, {{6, ' '}}},
    };
    for (const Case& c : cases) {
        VisualCutFinder finder;
        QString text;
        for (const QString& piece : c.pieces) {
            finder.add(piece);
            text += piece;
        }
        std::vector<std::pair<qsizetype, char>> cuts;
        for (const VisualCut& cut : finder.finish()) {
            cuts.emplace_back(cut.at.units, cut.withinLeftToRightRun ? 'L' : ' ');
            EXPECT_EQ(cut.at.bytes, text.left(cut.at.units).toUtf8().size()) << c.what << ": the place in bytes";
        }
        EXPECT_EQ(cuts, c.cuts) << c.what;
    }
}

}  // namespace
}  // namespace harfcode
