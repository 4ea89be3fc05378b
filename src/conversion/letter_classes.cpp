#include "conversion/letter_classes.h"

#include <array>
#include <cstddef>
#include <initializer_list>

namespace harfcode {
namespace {

constexpr int kValueCount = 256;

// The glyph of each contextual form, by Windows-1256 value. Where the glyph set lacks a
// form, the column holds the glyph used instead.
struct Forms {
    Slot isolated;  // neither flag
    Slot initial;   // next joins only
    Slot medial;    // both flags
    Slot final;     // previous joins only
};

struct Row {
    int value;
    Forms forms;
};

constexpr Forms fixed(Slot slot) { return {slot, slot, slot, slot}; }

constexpr Row kLetterRows[] = {
    {32, fixed(1)},             // space
    {194, fixed(2)},            // ALEF WITH MADDA ABOVE
    {199, {3, 3, 4, 4}},        // ALEF: final after a joining letter
    {200, {6, 5, 5, 6}},        // BEH
    {129, {8, 7, 7, 8}},        // PEH
    {202, {10, 9, 9, 10}},      // TEH
    {203, {12, 11, 11, 12}},    // THEH
    {204, {14, 13, 13, 14}},    // JEEM
    {141, {16, 15, 15, 16}},    // TCHEH
    {205, {18, 17, 17, 18}},    // HAH
    {206, {20, 19, 19, 20}},    // KHAH
    {207, fixed(21)},           // DAL
    {208, fixed(22)},           // THAL
    {209, fixed(23)},           // REH
    {210, fixed(24)},           // ZAIN
    {142, fixed(25)},           // JEH
    {211, {27, 26, 26, 27}},    // SEEN
    {212, {29, 28, 28, 29}},    // SHEEN
    {213, {31, 30, 30, 31}},    // SAD
    {214, {33, 32, 32, 33}},    // DAD
    {216, fixed(34)},           // TAH: initial glyph everywhere
    {217, fixed(35)},           // ZAH: initial glyph everywhere
    {218, {39, 36, 37, 38}},    // AIN
    {219, {43, 40, 41, 42}},    // GHAIN
    {221, {45, 44, 44, 45}},    // FEH
    {222, {47, 46, 46, 47}},    // QAF
    {152, {49, 48, 48, 49}},    // KEHEH, with the KAF glyphs
    {144, {51, 50, 50, 51}},    // GAF
    {225, {53, 52, 52, 53}},    // LAM
    {227, {55, 54, 54, 55}},    // MEEM
    {228, {57, 56, 56, 57}},    // NOON
    {230, fixed(58)},           // WAW
    {229, {61, 59, 59, 60}},    // HEH
    {237, {63, 62, 62, 63}},    // YEH
    {46, fixed(100)},           // "."
    {33, fixed(101)},           // "!"
    {63, fixed(102)},           // "?"
    {191, fixed(103)},          // ARABIC QUESTION MARK
};

constexpr int kFirstDigitSlot = 64;
constexpr int kFirstCapitalSlot = 74;

constexpr auto kFormsByValue = [] {
    std::array<Forms, kValueCount> forms{};
    for (const Row& row : kLetterRows)
        forms[row.value] = row.forms;
    for (int digit = 0; digit < 10; ++digit)
        forms['0' + digit] = fixed(static_cast<Slot>(kFirstDigitSlot + digit));
    for (int letter = 0; letter < 26; ++letter)
        forms['A' + letter] = fixed(static_cast<Slot>(kFirstCapitalSlot + letter));
    return forms;
}();

// Letters that join the letter after them.
constexpr std::initializer_list<int> kJoinForward = {
    129, 141, 144, 152, 200, 202, 203, 204, 205, 206, 211, 212, 213,
    214, 216, 217, 218, 219, 221, 222, 225, 227, 228, 229, 237};
// Letters that take a join from the letter before them but give none forward.
constexpr std::initializer_list<int> kJoinBackwardOnly = {142, 199, 207, 208, 209, 210, 230};
// Blank and punctuation break the join on both sides; so does ALEF WITH MADDA.
constexpr std::initializer_list<int> kBreakBothWays = {32, 33, 46, 191, 194};

constexpr auto effectTable(std::initializer_list<std::initializer_list<int>> joining,
                           std::initializer_list<std::initializer_list<int>> breaking)
{
    std::array<JoinEffect, kValueCount> effects{};
    effects.fill(JoinEffect::Keeps);
    for (const auto& values : joining)
        for (int value : values)
            effects[value] = JoinEffect::Joins;
    for (const auto& values : breaking)
        for (int value : values)
            effects[value] = JoinEffect::Breaks;
    return effects;
}

constexpr auto kEffectAsPrevious = effectTable({kJoinForward}, {kBreakBothWays, kJoinBackwardOnly});
constexpr auto kEffectAsNext = effectTable({kJoinForward, kJoinBackwardOnly}, {kBreakBothWays});

constexpr bool isByte(int value) { return value >= 0 && value < kValueCount; }

}  // namespace

JoinEffect effectAsPrevious(int windows1256Value)
{
    return isByte(windows1256Value) ? kEffectAsPrevious[windows1256Value] : JoinEffect::Keeps;
}

JoinEffect effectAsNext(int windows1256Value)
{
    return isByte(windows1256Value) ? kEffectAsNext[windows1256Value] : JoinEffect::Keeps;
}

Slot slotOfForm(int windows1256Value, bool previousJoins, bool nextJoins)
{
    if (!isByte(windows1256Value))
        return kNoSlot;
    const Forms& forms = kFormsByValue[windows1256Value];
    if (previousJoins)
        return nextJoins ? forms.medial : forms.final;
    return nextJoins ? forms.initial : forms.isolated;
}

}  // namespace harfcode
