#pragma once

#include "table/slot_catalogue.h"

#include <array>
#include <cstdint>
#include <span>

namespace harfcode {

// Whether a unit takes part in joining at all. The vowel marks, the shadda and the invisible
// direction marks sit on a letter or between letters without ever standing between them:
// selection passes over them as if they were not there.
enum class Transparency : std::uint8_t {
    Joins,        // classified by its Windows-1256 value
    Transparent,  // a mark: no slot, and no neighbour of any letter
    PairLead,     // a high surrogate: the character it starts decides
};

// What one Windows-1256 value means to slot selection. A neighbour updates a joining flag
// as flag = (flag & keeps) | sets: letters that join set it, breakers clear it, and every
// other character keeps it, so a flag carries across characters in neither set.
struct LetterClass {
    std::uint8_t keepsPreviousJoin;  // as the character before a position
    std::uint8_t setsPreviousJoin;
    std::uint8_t keepsNextJoin;      // as the character after a position
    std::uint8_t setsNextJoin;
    std::array<Slot, 4> forms;       // by formIndex(); kNoSlot for a character without a glyph
    Transparency transparency = Transparency::Joins;

    friend constexpr bool operator==(const LetterClass&, const LetterClass&) = default;
};

constexpr int formIndex(bool previousJoins, bool nextJoins)
{
    return (previousJoins ? 2 : 0) + (nextJoins ? 1 : 0);
}

// Beyond either end of the text: both flags are false there.
inline constexpr LetterClass kTextEdge = {0, 0, 0, 0, {}};

namespace letter_classes_detail {

struct Row {
    int value;
    Slot isolated;  // neither flag
    Slot initial;   // next joins only
    Slot medial;    // both flags
    Slot final;     // previous joins only
};

constexpr Row fixed(int value, Slot slot) { return {value, slot, slot, slot, slot}; }

// The glyph of each contextual form; where the glyph set lacks a form, the glyph used instead.
inline constexpr Row kRows[] = {
    fixed(32, 1),              // space
    fixed(194, 2),             // ALEF WITH MADDA ABOVE
    {199, 3, 3, 4, 4},         // ALEF: final after a joining letter
    {200, 6, 5, 5, 6},         // BEH
    {129, 8, 7, 7, 8},         // PEH
    {202, 10, 9, 9, 10},       // TEH
    {203, 12, 11, 11, 12},     // THEH
    {204, 14, 13, 13, 14},     // JEEM
    {141, 16, 15, 15, 16},     // TCHEH
    {205, 18, 17, 17, 18},     // HAH
    {206, 20, 19, 19, 20},     // KHAH
    fixed(207, 21),            // DAL
    fixed(208, 22),            // THAL
    fixed(209, 23),            // REH
    fixed(210, 24),            // ZAIN
    fixed(142, 25),            // JEH
    {211, 27, 26, 26, 27},     // SEEN
    {212, 29, 28, 28, 29},     // SHEEN
    {213, 31, 30, 30, 31},     // SAD
    {214, 33, 32, 32, 33},     // DAD
    fixed(216, 34),            // TAH: initial glyph everywhere
    fixed(217, 35),            // ZAH: initial glyph everywhere
    {218, 39, 36, 37, 38},     // AIN
    {219, 43, 40, 41, 42},     // GHAIN
    {221, 45, 44, 44, 45},     // FEH
    {222, 47, 46, 46, 47},     // QAF
    {152, 49, 48, 48, 49},     // KEHEH, with the KAF glyphs
    {144, 51, 50, 50, 51},     // GAF
    {225, 53, 52, 52, 53},     // LAM
    {227, 55, 54, 54, 55},     // MEEM
    {228, 57, 56, 56, 57},     // NOON
    fixed(230, 58),            // WAW
    {229, 61, 59, 59, 60},     // HEH
    {237, 63, 62, 62, 63},     // YEH
    fixed(46, 100),            // "."
    fixed(33, 101),            // "!"
    fixed(63, 102),            // "?"
    fixed(191, 103),           // ARABIC QUESTION MARK
};

inline constexpr Slot kFirstDigitSlot = 64;
inline constexpr Slot kFirstCapitalSlot = 74;

// Letters that join the letter after them.
inline constexpr int kJoinForward[] = {129, 141, 144, 152, 200, 202, 203, 204, 205, 206, 211, 212, 213,
                                       214, 216, 217, 218, 219, 221, 222, 225, 227, 228, 229, 237};
// Letters that take a join from the letter before them but give none forward.
inline constexpr int kJoinBackwardOnly[] = {142, 199, 207, 208, 209, 210, 230};
// Blank and punctuation break the join on both sides; so does ALEF WITH MADDA. The ZERO WIDTH
// NON-JOINER (157, the Persian half-space) exists only to break it, and has no glyph.
inline constexpr int kBreakBothWays[] = {32, 33, 46, 157, 191, 194};
// The ZERO WIDTH JOINER (158) and the TATWEEL (220), the stroke that only joins, join on both
// sides; the glyph set has no glyph for either.
inline constexpr int kJoinCausing[] = {158, 220};

inline constexpr int kValueCount = 256;

// Index kValueCount stands for a character without a Windows-1256 value.
inline constexpr auto kClasses = [] {
    std::array<LetterClass, kValueCount + 1> classes{};
    for (LetterClass& letter : classes)
        letter = {1, 0, 1, 0, {}};
    auto setForms = [&](int value, Slot isolated, Slot initial, Slot medial, Slot final) {
        auto& forms = classes[value].forms;
        forms[formIndex(false, false)] = isolated;
        forms[formIndex(false, true)] = initial;
        forms[formIndex(true, true)] = medial;
        forms[formIndex(true, false)] = final;
    };
    for (const Row& row : kRows)
        setForms(row.value, row.isolated, row.initial, row.medial, row.final);
    for (int digit = 0; digit < 10; ++digit) {
        const auto slot = static_cast<Slot>(kFirstDigitSlot + digit);
        setForms('0' + digit, slot, slot, slot, slot);
    }
    for (int letter = 0; letter < 26; ++letter) {
        const auto slot = static_cast<Slot>(kFirstCapitalSlot + letter);
        setForms('A' + letter, slot, slot, slot, slot);
    }
    for (const auto& joining : {std::span<const int>(kJoinForward), std::span<const int>(kJoinCausing)})
        for (int value : joining) {
            classes[value].keepsPreviousJoin = 0;
            classes[value].setsPreviousJoin = 1;
            classes[value].keepsNextJoin = 0;
            classes[value].setsNextJoin = 1;
        }
    for (int value : kJoinBackwardOnly) {
        classes[value].keepsPreviousJoin = 0;
        classes[value].keepsNextJoin = 0;
        classes[value].setsNextJoin = 1;
    }
    for (int value : kBreakBothWays) {
        classes[value].keepsPreviousJoin = 0;
        classes[value].keepsNextJoin = 0;
    }
    return classes;
}();

}  // namespace letter_classes_detail

// The class of a Windows-1256 value, or of kNoWindows1256Value (-1): a character without a
// value has no slot and keeps both flags.
constexpr const LetterClass& letterClass(int windows1256Value)
{
    using namespace letter_classes_detail;
    const auto index = static_cast<unsigned>(windows1256Value);
    return kClasses[index < kValueCount ? index : kValueCount];
}

}  // namespace harfcode
