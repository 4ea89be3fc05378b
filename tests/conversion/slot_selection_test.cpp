#include "conversion/slot_selection.h"

#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace harfcode {
namespace {

std::vector<int> slotsOf(const char* utf8)
{
    const std::vector<Slot> slots = selectSlots(QString::fromUtf8(utf8));
    return {slots.begin(), slots.end()};
}

// Inputs are UTF-8 in typing order; an editor may show them right to left.
TEST(SlotSelection, ChoosesTheContextualGlyphFromBothNeighbours)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"", {}},
        {"ب", {6}}, {"بب", {5, 6}}, {"ببب", {5, 5, 6}},            // medial takes the initial glyph
        {"با", {5, 4}}, {"اب", {3, 6}},                              // alef: final after a joiner
        {"عععع", {36, 37, 37, 38}}, {"غ", {43}},                     // the four-form letters
        {"ههه", {59, 59, 60}}, {"ه", {61}},
        {"سلام", {26, 52, 4, 55}}, {"کتاب", {48, 9, 4, 6}}, {"گل", {50, 53}},
        {"بآ", {6, 2}}, {"دب", {21, 6}}, {"بد", {5, 21}},          // madda breaks both ways, dal forward
        {"ی ب", {63, 1, 6}}, {"یب", {62, 6}},                        // FARSI YEH joins like YEH
        {"بب!", {5, 6, 101}}, {"ب.ب", {6, 100, 6}}, {"ب؟", {6, 103}}, {"ب?", {6, 102}},
        {"A b", {74, 1, 0}}, {"Z09۵٥", {99, 64, 73, 69, 69}},       // lower case: no slot; Persian digits
        {"ۀ\xC2\xA0", {0, 0}},                                          // no value; a value without a slot
        // Characters in no set carry both flags across.
        {"ببA", {5, 5, 74}}, {"ع5ع", {39, 69, 38}}, {"بب5ب", {5, 5, 69, 6}},
        {"ب\nب", {6, 0, 6}}, {"عكع", {39, 0, 38}}, {"عىع", {39, 0, 38}},  // ARABIC KAF, ALEF MAKSURA
        {"ع\xF0\x9F\x98\x80ع", {39, 0, 0, 38}},                              // surrogates
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input), slots) << input;
}

// The half-space (U+200C) breaks the join as a blank does but takes no glyph. As the
// character after a letter it clears N (caught where the comment says "N"), as the character
// before one it clears P ("P"); without either, the flag would carry across it.
TEST(SlotSelection, TheHalfSpaceBreaksTheJoinOnBothSides)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"ب\u200Cب", {6, 0, 6}},                                // no glyph of its own
        {"بب\u200Cب", {5, 6, 0, 6}},                            // N: a two-glyph letter isolated, not initial
        {"بب\u200Cا", {5, 6, 0, 3}},                             // P: alef isolated, not final
        {"عع\u200Cعع", {36, 38, 0, 36, 38}},                     // N and P: ain final, not medial; initial, not medial
        {"هه\u200Cهه", {59, 60, 0, 59, 60}},                     // N: heh final, not initial
        {"می\u200Cشود", {54, 63, 0, 28, 58, 21}},                // N: yeh isolated
        {"خانه\u200Cها", {19, 4, 56, 60, 0, 59, 4}},             // N and P
        {"\u200Cعع", {0, 36, 38}}, {"عع\u200C", {36, 38, 0}},     // at the start; N: at the end
        {"عع\u200C\u200Cعع", {36, 38, 0, 0, 36, 38}},           // N and P: two in a row
        {"عع\u200C عع", {36, 38, 0, 1, 36, 38}}, {"عع \u200Cع", {36, 38, 1, 0, 39}},  // N; one break with a blank
        {"بب\u200Dب", {5, 5, 0, 6}}, {"عع\u0640ع", {36, 37, 0, 38}},  // the joiner and the tatweel still carry
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input), slots) << input;
}

// A mark sits on a letter and never stands between two: the other characters take the slots
// of the text without the marks, which have none. The joiner and the tatweel join both ways.
TEST(SlotSelection, MarksArePassedOverAndJoinersJoin)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"سَلام", {26, 0, 52, 4, 55}}, {"سًّلام", {26, 0, 0, 52, 4, 55}},  // fatha; two marks
        {"نقّاش", {56, 46, 0, 4, 29}},                                   // shadda
        {"ب‎ب", {5, 0, 6}}, {"بٰا", {5, 0, 4}},              // a direction mark; superscript alef
        {"ب󠄀ب", {5, 0, 0, 6}},                                 // a mark outside the BMP
        {"َبب", {0, 5, 6}}, {"ببَ", {5, 6, 0}}, {"ب َب", {6, 1, 0, 6}},  // at the start, the end, after a blank
        {"ب‌َب", {6, 0, 0, 6}}, {"بَ‌ب", {6, 0, 0, 6}},     // beside a half-space
        {"َبA", {0, 6, 74}}, {"عَ5ع", {39, 0, 69, 38}},                // a mark carries no flag across
        {"بـب", {5, 0, 6}}, {"ب‍", {5, 0}}, {"‍ب", {0, 6}},   // tatweel and joiner
        {"ـا", {0, 4}}, {"ع‍", {36, 0}}, {"‍ع‍", {0, 37, 0}},
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input), slots) << input;
}

// The right-joining letters take a join from the letter before them (which then takes its
// initial form) and give none to the letter after them; ALEF WITH MADDA takes none either.
TEST(SlotSelection, RightJoiningLettersAndMaddaJoinOnlyAsTheyShould)
{
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"عاع", {36, 4, 39}}, {"عدع", {36, 21, 39}}, {"عذع", {36, 22, 39}}, {"عرع", {36, 23, 39}},
        {"عزع", {36, 24, 39}}, {"عژع", {36, 25, 39}}, {"عوع", {36, 58, 39}},
        {"ععآ", {36, 38, 2}}, {"عآع", {39, 2, 39}}, {"بآب", {6, 2, 6}},
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input), slots) << input;
}

TEST(SlotSelection, EveryLetterInEveryPosition)
{
    struct Forms { const char* letter; int isolated, initial, medial, final; };
    const Forms letters[] = {
        {"آ", 2, 2, 2, 2},     {"ا", 3, 3, 4, 4},     {"ب", 6, 5, 5, 6},     {"پ", 8, 7, 7, 8},
        {"ت", 10, 9, 9, 10},   {"ث", 12, 11, 11, 12}, {"ج", 14, 13, 13, 14}, {"چ", 16, 15, 15, 16},
        {"ح", 18, 17, 17, 18}, {"خ", 20, 19, 19, 20}, {"د", 21, 21, 21, 21}, {"ذ", 22, 22, 22, 22},
        {"ر", 23, 23, 23, 23}, {"ز", 24, 24, 24, 24}, {"ژ", 25, 25, 25, 25}, {"س", 27, 26, 26, 27},
        {"ش", 29, 28, 28, 29}, {"ص", 31, 30, 30, 31}, {"ض", 33, 32, 32, 33}, {"ط", 34, 34, 34, 34},
        {"ظ", 35, 35, 35, 35}, {"ع", 39, 36, 37, 38}, {"غ", 43, 40, 41, 42}, {"ف", 45, 44, 44, 45},
        {"ق", 47, 46, 46, 47}, {"ک", 49, 48, 48, 49}, {"گ", 51, 50, 50, 51}, {"ل", 53, 52, 52, 53},
        {"م", 55, 54, 54, 55}, {"ن", 57, 56, 56, 57}, {"و", 58, 58, 58, 58}, {"ه", 61, 59, 59, 60},
        {"ي", 63, 62, 62, 63}, {" ", 1, 1, 1, 1},
    };
    for (const Forms& f : letters) {
        const std::string letter = f.letter;
        EXPECT_EQ(slotsOf(letter.c_str()), std::vector<int>{f.isolated}) << letter;
        EXPECT_EQ(slotsOf((letter + "ع").c_str()).front(), f.initial) << letter;
        EXPECT_EQ(slotsOf(("ع" + letter + "ع").c_str())[1], f.medial) << letter;
        EXPECT_EQ(slotsOf(("ع" + letter).c_str()).back(), f.final) << letter;
    }
}

}  // namespace
}  // namespace harfcode
