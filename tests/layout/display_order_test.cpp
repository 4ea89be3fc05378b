#include "layout/display_order.h"

#include "support/conversion_texts.h"
#include "support/icu_visual_order.h"

#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace harfcode {
namespace {

using namespace testing;

std::vector<int> slotsOf(const QString& text, DisplayOrder order)
{
    const std::vector<Slot> slots = slotsInOrder(text, order);
    return {slots.begin(), slots.end()};
}

// The texts, in typing order, are in the shared file; the visual slots are read from the
// display's left edge.
TEST(DisplayOrder, VisualOrderReversesPersianRunsAndKeepsNumbersAndLatinLeftToRight)
{
    for (const ConversionText& text : conversionTextsOf(QStringLiteral(HARFCODE_CONVERSION_TEXTS), QStringLiteral("visual")))
        EXPECT_EQ(slotsOf(text.text, DisplayOrder::Visual), text.slots) << text.where();
}

// Every text of the shared file whose typing slots it gives, those of slot selection too.
TEST(DisplayOrder, TypingAndReverseOrderKeepEveryPositionAndTheFormsOfTypingOrder)
{
    for (const ConversionText& text : conversionTextsOf(QStringLiteral(HARFCODE_CONVERSION_TEXTS), QStringLiteral("typing"))) {
        EXPECT_EQ(slotsOf(text.text, DisplayOrder::Typing), text.slots) << text.where();
        EXPECT_EQ(slotsOf(text.text, DisplayOrder::Reverse), std::vector<int>(text.slots.rbegin(), text.slots.rend())) << text.where();
    }
}

// Visual order hands ICU a text whose brackets that never pair are neutrals, in pieces cut
// where brackets never close: the order stays the one ICU gives the whole, unchanged text, with
// ICU's own ways of pairing. Each text is also given to VisualCutFinder in eight pieces, and
// the text on each side of every place found is put in visual order on its own. The long texts
// fill ICU's list of brackets, whose count wraps after 65535 entries, forgetting them: an angle
// bracket fills two entries, and the bracket pair after the filling tells whether ICU, and
// this program with it, counted every bracket before as ICU does.
TEST(DisplayOrder, VisualOrderOfBracketsIsIcusOrderOfTheWholeUnchangedText)
{
    const QString sh = QString::fromUtf8("ش");
    const QString alef = QString::fromUtf8("\u05D0");
    const auto angles = [](qsizetype count) { return QString(u'\u2329').repeated(count); };
    // Brackets that ICU keeps listed, or drops, in each of its ways: 6 entries stay.
    const QString listedBrackets = "[a(b)(" + alef + ")(!)a(1)\u3008!\u3009\u2329\u0663\u232A(\U0001E900)\u2066[[(\u2069b([x)";
    const struct {
        const char* what;
        QString text;
    } cases[] = {
        {"brackets that never close", QString::fromUtf8("(سلام ABC [").repeated(300)},
        {"the first of 70 open brackets closes", "A (" + QString("[").repeated(70) + "B) " + sh},
        {"a closing bracket ends those opened after its pair", "A ([B) C] " + sh + " (D[) E] " + sh},
        {"canonically equivalent angle brackets", "A \u2329B\u3009 " + sh + " A \u3008B\u232A " + sh},
        {"an angle bracket pairs again after holding nothing", "A \u3008\u3009 " + sh + sh + " B\u232A " + sh},
        {"brackets apart inside and outside an isolate", "A (\u2066B) " + sh + "\u2069 C) " + sh + " (\u2067D(" + sh + " [\u2069 E] " + sh},
        {"brackets that never close inside an isolate", "\u2067" + QString::fromUtf8("(سلام ABC [").repeated(40) + "\u2069 A " + sh},
        {"an embedding with text ends pairing", "A (\u202BB\u202C C) " + sh + " A (\u202B\u202C B) " + sh},
        {"overridden brackets pair", "\u202EA (B) C\u202C " + sh + " \u202DA (" + sh + ") \u202C" + sh},
        {"digits and marks inside brackets", "A (12) " + sh + " " + sh + " (\u064BA) " + sh + " A (\u0663) " + sh},
        {"a paragraph separator ends pairing", "A (B " + sh + sh + "\u2029 C) " + sh + sh},
        {"embeddings deeper than the levels", QString(u'\u202B').repeated(130) + "A (B" + QString(u'\u202C').repeated(130) + " C) " + sh},
        {"letters outside the basic plane", "A (\U0001E900) B [\U0001D400] " + sh},
        {"ICU's count wraps in a later piece, after brackets of every kind",
         "A(B)" + angles(16383) + sh + sh + listedBrackets + angles(16381) + "[A(B)" + alef},
        {"a paragraph separator empties ICU's list", "(((((" + alef + "\u2029" + angles(32767) + "[A(B)" + alef},
        {"brackets in an embedding take its direction",
         "\u202A[a(b)" + angles(32766) + "[[" + alef + "(" + alef + ")a\u202C " + alef},
        {"ICU's count wraps between an angle bracket's two entries", "A " + angles(32767) + "[\u3008\u3009 X \u232A " + alef},
        {"an angle bracket stays listed after pairing", "A \u2329B\u232A" + angles(32500) + ("A(B)" + alef).repeated(65600)},
        {"ICU's count wraps inside an isolate", "A (B " + alef + alef + " \u2066X" + angles(32767) + "[[\u2069 C] " + alef},
        {"ICU's count wraps inside an isolate in an override",
         "\u202E\u3008\u3009\u3008\u3009(\u2066x" + angles(32766) + "[" + alef + "[x\u2069x]\u202C " + alef},
        {"an isolate that only its direction keeps within the levels",
         QString(u'\u202A').repeated(62) + alef + " (" + alef + "\u2068B) C\u2069" + QString(u'\u202C').repeated(62) + " " + alef},
    };
    for (const auto& [what, text] : cases) {
        const std::vector<int32_t> visualMap = icuVisualMap(text);
        const qsizetype size = text.size();
        EXPECT_EQ(slotsInOrder(marks(0, size), text, DisplayOrder::Visual), marksInOrder(visualMap, 0, size)) << what;
        VisualCutFinder finder;
        const qsizetype pieceSize = size / 8 + 1;
        for (qsizetype from = 0; from < size; from += pieceSize)
            finder.add(QStringView(text).sliced(from, std::min(pieceSize, size - from)));
        for (const VisualCut& cut : finder.finish()) {
            const qsizetype at = cut.at.units;
            EXPECT_EQ(visualPiece(marks(0, at), QStringView(text).first(at)).slots, marksInOrder(visualMap, 0, at))
                << what << ": before " << at;
            EXPECT_EQ(visualPiece(marks(at, size), QStringView(text).sliced(at), cut.heldOpenings).slots,
                      marksInOrder(visualMap, at, size))
                << what << ": after " << at;
        }
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
        {"inside more than 63 brackets that never close", {sh + sh, QString("(").repeated(70) + sh + sh}, {{1, ' '}, {73, ' '}}},
        {"inside the first of 70 brackets, which closes", {sh + "(" + sh + sh, QString("[").repeated(70) + ")"}, {}},
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
