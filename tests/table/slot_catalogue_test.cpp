#include "table/slot_catalogue.h"

#include <gtest/gtest.h>

#include <set>

namespace harfcode {
namespace {

TEST(TableSlotCatalogue, EdgeSlotsAndLetterOrderHaveTheirGlyphs)
{
    struct Case {
        int slot;
        char16_t glyph;
    };
    // The slot number is the table file's line number, so a swapped pair of forms would
    // silently move every user's codes.
    const Case cases[] = {
        {1, 0},        // the blank has no glyph
        {2, 0xFE81},   // ALEF WITH MADDA isolated
        {3, 0xFE8D},   // ALEF isolated before ...
        {4, 0xFE8E},   // ... ALEF final
        {5, 0xFE91},   // BEH initial before ...
        {6, 0xFE8F},   // ... BEH isolated
        {25, 0xFB8A},  // JEH
        {34, 0xFEC3},  // TAH initial
        {35, 0xFEC7},  // ZAH initial
        {36, 0xFECB},  // AIN initial, medial, final, isolated
        {37, 0xFECC},
        {38, 0xFECA},
        {39, 0xFEC9},
        {40, 0xFECF},  // GHAIN likewise
        {41, 0xFED0},
        {42, 0xFECE},
        {43, 0xFECD},
        {48, 0xFEDB},  // KAF initial (serves KEHEH)
        {50, 0xFB94},  // GAF initial
        {59, 0xFEEB},  // HEH initial, final, isolated
        {60, 0xFEEA},
        {61, 0xFEE9},
        {62, 0xFEF3},  // YEH initial
        {63, 0xFEEF},  // ALEF MAKSURA isolated
        {64, u'0'},
        {73, u'9'},
        {74, u'A'},
        {99, u'Z'},
        {100, u'.'},
        {101, u'!'},
        {102, u'?'},
        {103, 0x061F},
    };
    for (const Case& c : cases)
        EXPECT_EQ(glyphOfSlot(c.slot), c.glyph) << "slot " << c.slot;
}

TEST(TableSlotCatalogue, RangesHoldTheirKindOfGlyph)
{
    for (int slot = 2; slot <= 63; ++slot) {
        const char16_t glyph = glyphOfSlot(slot);
        const bool presentationFormA = glyph >= 0xFB50 && glyph <= 0xFDFF;
        const bool presentationFormB = glyph >= 0xFE70 && glyph <= 0xFEFC;
        EXPECT_TRUE(presentationFormA || presentationFormB) << "slot " << slot;
    }
    for (int digit = 0; digit <= 9; ++digit)
        EXPECT_EQ(glyphOfSlot(64 + digit), u'0' + digit);
    for (int letter = 0; letter < 26; ++letter)
        EXPECT_EQ(glyphOfSlot(74 + letter), u'A' + letter);
}

TEST(TableSlotCatalogue, EveryGlyphIsDistinct)
{
    std::set<char16_t> glyphs;
    for (int slot = 2; slot <= kSlotCount; ++slot) {
        EXPECT_NE(glyphOfSlot(slot), 0) << "slot " << slot;
        EXPECT_TRUE(glyphs.insert(glyphOfSlot(slot)).second) << "slot " << slot << " repeats a glyph";
    }
    EXPECT_EQ(glyphs.size(), 102u);
}

}  // namespace
}  // namespace harfcode
