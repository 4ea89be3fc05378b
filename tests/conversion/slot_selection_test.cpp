#include "conversion/slot_selection.h"

#include <QString>

#include <gtest/gtest.h>

#include <vector>

namespace harfcode {
namespace {

// Letters by name, so that a case reads in typing order whatever the editor's bidi does.
const QChar kAlefMadda(0x0622), kAlef(0x0627), kBeh(0x0628), kPeh(0x067E), kTeh(0x062A), kTheh(0x062B),
    kJeem(0x062C), kTcheh(0x0686), kHah(0x062D), kKhah(0x062E), kDal(0x062F), kThal(0x0630), kReh(0x0631),
    kZain(0x0632), kJeh(0x0698), kSeen(0x0633), kSheen(0x0634), kSad(0x0635), kDad(0x0636), kTah(0x0637),
    kZah(0x0638), kAin(0x0639), kGhain(0x063A), kFeh(0x0641), kQaf(0x0642), kKeheh(0x06A9), kGaf(0x06AF),
    kLam(0x0644), kMeem(0x0645), kNoon(0x0646), kWaw(0x0648), kHeh(0x0647), kYeh(0x064A), kFarsiYeh(0x06CC),
    kArabicKaf(0x0643), kAlefMaksura(0x0649), kArabicQuestion(0x061F);

QString text(std::initializer_list<QChar> chars) { return QString(chars.begin(), qsizetype(chars.size())); }

std::vector<int> slotsOf(const QString& input)
{
    const std::vector<Slot> slots = selectSlots(input);
    return {slots.begin(), slots.end()};
}

struct Case {
    QString input;
    std::vector<int> slots;
    const char* why;
};

void expectSlots(const std::vector<Case>& cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(slotsOf(c.input), c.slots) << c.why;
}

TEST(SlotSelection, JoinedWords)
{
    expectSlots({
        {{}, {}, "empty text"},
        {text({kBeh}), {6}, "isolated"},
        {text({kBeh, kBeh}), {5, 6}, "initial, then isolated glyph for the final position"},
        {text({kBeh, kBeh, kBeh}), {5, 5, 6}, "the medial letter takes the initial glyph"},
        {text({kBeh, kAlef}), {5, 4}, "alef takes its final glyph after a joining letter"},
        {text({kAlef, kBeh}), {3, 6}, "alef breaks the join forward"},
        {text({kAin}), {39}, "ain isolated"},
        {text({kAin, kAin, kAin, kAin}), {36, 37, 37, 38}, "ain has all four forms"},
        {text({kGhain, kGhain, kGhain}), {40, 41, 42}, "ghain has all four forms"},
        {text({kHeh}), {61}, "heh isolated"},
        {text({kHeh, kHeh}), {59, 60}, "heh initial, final"},
        {text({kHeh, kHeh, kHeh}), {59, 59, 60}, "heh medial takes the initial glyph"},
        {text({kSeen, kLam, kAlef, kMeem}), {26, 52, 4, 55}, "salam"},
        {text({kKeheh, kTeh, kAlef, kBeh}), {48, 9, 4, 6}, "ketab"},
        {text({kGaf, kLam}), {50, 53}, "gol"},
        {text({kBeh, kAlefMadda}), {6, 2}, "a letter before alef with madda stays unjoined"},
        {text({kDal, kBeh}), {21, 6}, "dal joins nothing forward"},
        {text({kBeh, kDal}), {5, 21}, "dal accepts a join from before"},
        {text({kFarsiYeh, kBeh}), {62, 6}, "Persian keyboards' yeh joins like YEH"},
    });
}

TEST(SlotSelection, FlagsCarryAcrossCharactersInNoSet)
{
    expectSlots({
        {text({kBeh, kBeh, u'A'}), {5, 5, 74}, "the second beh keeps next-joins from position 1"},
        {text({kAin, u'5', kAin}), {39, 69, 38}, "the last ain keeps previous-joins set at position 2"},
        {text({kBeh, kBeh, u'5', kBeh}), {5, 5, 69, 6}, "a digit in the middle keeps both flags"},
        {text({kBeh, u'\n', kBeh}), {6, 0, 6}, "a line break belongs to no set: next-joins stays false, previous-joins carries"},
        {text({kBeh, kArabicKaf, kBeh}), {6, 0, 6}, "ARABIC KAF has a value but no set and no slot"},
        {text({kAin, kAlefMaksura, kAin}), {39, 0, 38}, "ALEF MAKSURA likewise"},
        {text({kAin, QChar(0x4E00), kAin}), {39, 0, 38}, "a character without a value keeps the flags"},
        {text({kAin, QChar(0xD83D), kAin}), {39, 0, 38}, "a lone surrogate keeps the flags"},
        {text({u'A', u' ', u'b'}), {74, 1, 0}, "lower case selects no slot"},
    });
}

TEST(SlotSelection, NeighboursSetOrClearTheFlags)
{
    // Each neighbour after AIN: joins backward -> initial (36), breaks -> isolated (39).
    const std::vector<std::pair<QChar, int>> afterAin = {
        {kBeh, 36}, {kAlef, 36}, {kDal, 36}, {kWaw, 36}, {kJeh, 36},      {kReh, 36},
        {kZain, 36}, {kThal, 36}, {kHeh, 36}, {kYeh, 36}, {u' ', 39},     {u'!', 39},
        {u'.', 39},  {kArabicQuestion, 39},   {kAlefMadda, 39},           {u'?', 39},
    };
    for (const auto& [next, slot] : afterAin)
        EXPECT_EQ(slotsOf(text({kAin, next})).front(), slot) << "ain before U+" << std::hex << int(next.unicode());

    // Each neighbour before AIN: joins forward -> final (38), breaks -> isolated (39).
    const std::vector<std::pair<QChar, int>> beforeAin = {
        {kBeh, 38},  {kPeh, 38},  {kTah, 38},  {kZah, 38},  {kHeh, 38},  {kYeh, 38},    {kKeheh, 38},
        {kAlef, 39}, {kDal, 39},  {kThal, 39}, {kReh, 39},  {kZain, 39}, {kJeh, 39},    {kWaw, 39},
        {u' ', 39},  {u'!', 39},  {u'.', 39},  {kArabicQuestion, 39},    {kAlefMadda, 39},
    };
    for (const auto& [previous, slot] : beforeAin)
        EXPECT_EQ(slotsOf(text({previous, kAin})).back(), slot) << "ain after U+" << std::hex << int(previous.unicode());
}

TEST(SlotSelection, EveryLetterInEveryPosition)
{
    struct Forms {
        QChar letter;
        int isolated, initial, medial, final;
    };
    const Forms letters[] = {
        {kAlefMadda, 2, 2, 2, 2}, {kAlef, 3, 3, 4, 4},     {kBeh, 6, 5, 5, 6},       {kPeh, 8, 7, 7, 8},
        {kTeh, 10, 9, 9, 10},     {kTheh, 12, 11, 11, 12}, {kJeem, 14, 13, 13, 14},  {kTcheh, 16, 15, 15, 16},
        {kHah, 18, 17, 17, 18},   {kKhah, 20, 19, 19, 20}, {kDal, 21, 21, 21, 21},   {kThal, 22, 22, 22, 22},
        {kReh, 23, 23, 23, 23},   {kZain, 24, 24, 24, 24}, {kJeh, 25, 25, 25, 25},   {kSeen, 27, 26, 26, 27},
        {kSheen, 29, 28, 28, 29}, {kSad, 31, 30, 30, 31},  {kDad, 33, 32, 32, 33},   {kTah, 34, 34, 34, 34},
        {kZah, 35, 35, 35, 35},   {kAin, 39, 36, 37, 38},  {kGhain, 43, 40, 41, 42}, {kFeh, 45, 44, 44, 45},
        {kQaf, 47, 46, 46, 47},   {kKeheh, 49, 48, 48, 49}, {kGaf, 51, 50, 50, 51},  {kLam, 53, 52, 52, 53},
        {kMeem, 55, 54, 54, 55},  {kNoon, 57, 56, 56, 57}, {kWaw, 58, 58, 58, 58},   {kHeh, 61, 59, 59, 60},
        {kYeh, 63, 62, 62, 63},   {u' ', 1, 1, 1, 1},      {u'.', 100, 100, 100, 100}, {u'!', 101, 101, 101, 101},
        {u'?', 102, 102, 102, 102}, {kArabicQuestion, 103, 103, 103, 103},
    };
    for (const Forms& f : letters) {
        const auto name = testing::Message() << "U+" << std::hex << int(f.letter.unicode());
        EXPECT_EQ(slotsOf(text({f.letter})), std::vector<int>{f.isolated}) << name;
        EXPECT_EQ(slotsOf(text({f.letter, kBeh})).front(), f.initial) << name;
        EXPECT_EQ(slotsOf(text({kBeh, f.letter, kBeh}))[1], f.medial) << name;
        EXPECT_EQ(slotsOf(text({kBeh, f.letter})).back(), f.final) << name;
    }
    for (int digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(slotsOf(QString(QChar(u'0' + digit))), std::vector<int>{64 + digit});
        EXPECT_EQ(slotsOf(QString(QChar(0x06F0 + digit))), std::vector<int>{64 + digit}) << "Persian digit";
    }
    for (int letter = 0; letter < 26; ++letter)
        EXPECT_EQ(slotsOf(QString(QChar(u'A' + letter))), std::vector<int>{74 + letter});
}

}  // namespace
}  // namespace harfcode
