#include "conversion/slot_selection.h"

#include "support/conversion_texts.h"

#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace harfcode {
namespace {

std::vector<int> slotsOf(const QString& text)
{
    const std::vector<Slot> slots = selectSlots(text);
    return {slots.begin(), slots.end()};
}

std::vector<int> slotsOf(const char* utf8)
{
    return slotsOf(QString::fromUtf8(utf8));
}

// Checks the texts of `rule` in the shared file against their slots in typing order.
void checkTypingSlots(const QString& rule)
{
    for (const testing::ConversionText& text :
         testing::conversionTextsOf(QStringLiteral(HARFCODE_CONVERSION_TEXTS), QStringLiteral("typing"), rule))
        EXPECT_EQ(slotsOf(text.text), text.slots) << text.where();
}

// The texts, UTF-8 in typing order, are in the shared file; here are those that the shaper
// does not take (a line feed, characters beyond the basic plane).
TEST(SlotSelection, ChoosesTheContextualGlyphFromBothNeighbours)
{
    checkTypingSlots(QStringLiteral("forms"));
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"ب\nب", {6, 0, 6}},
        {"ع\xF0\x9F\x98\x80ع", {39, 0, 0, 38}},  // surrogates
    };
    for (const auto& [input, slots] : cases)
        EXPECT_EQ(slotsOf(input), slots) << input;
}

// The half-space (U+200C) breaks the join as a blank does but takes no glyph: the file says
// which flag each text catches.
TEST(SlotSelection, TheHalfSpaceBreaksTheJoinOnBothSides)
{
    checkTypingSlots(QStringLiteral("half-space"));
}

// A mark sits on a letter and never stands between two: the other characters take the slots
// of the text without the marks, which have none. The joiner and the tatweel join both ways.
TEST(SlotSelection, MarksArePassedOverAndJoinersJoin)
{
    checkTypingSlots(QStringLiteral("marks"));
    EXPECT_EQ(slotsOf("ب\U000E0100ب"), (std::vector<int>{5, 0, 0, 6})) << "a mark outside the BMP";
}

// The right-joining letters take a join from the letter before them (which then takes its
// initial form) and give none to the letter after them; ALEF WITH MADDA takes none either.
TEST(SlotSelection, RightJoiningLettersAndMaddaJoinOnlyAsTheyShould)
{
    checkTypingSlots(QStringLiteral("right-joining"));
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
