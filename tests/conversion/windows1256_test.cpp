#include "conversion/windows1256.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(Windows1256Value, FollowsWindowsBestFitWithPersianDigits)
{
    struct Case {
        char16_t unit;
        int value;
        const char* why;
    };
    const Case cases[] = {
        {u' ', 32, "ASCII maps to itself"},
        {u'A', 65, "capital"},
        {u'z', 122, "lower case has a value but no slot"},
        {0x0628, 200, "BEH"},
        {0x067E, 129, "PEH lives in the C1 range of the code page"},
        {0x0686, 141, "TCHEH"},
        {0x0698, 142, "JEH"},
        {0x06A9, 152, "KEHEH"},
        {0x06AF, 144, "GAF"},
        {0x064A, 237, "YEH"},
        {0x06CC, 237, "FARSI YEH takes YEH's value by best fit"},
        {0x0643, 223, "ARABIC KAF keeps its own value"},
        {0x0649, 236, "ALEF MAKSURA keeps its own value"},
        {0x061F, 191, "ARABIC QUESTION MARK"},
        {0x0660, 48, "Arabic-Indic zero by best fit"},
        {0x06F0, 48, "Persian zero"},
        {0x06F5, 53, "Persian five"},
        {0x06F9, 57, "Persian nine"},
        {0xFF21, 65, "full-width A by best fit"},
        {0x00A0, 160, "no-break space is not a space"},
        {0x06C0, kNoWindows1256Value, "HEH WITH YEH ABOVE has no mapping"},
        {0x4E00, kNoWindows1256Value, "CJK has no mapping"},
        {0xD83D, kNoWindows1256Value, "high surrogate"},
        {0xDE00, kNoWindows1256Value, "low surrogate"},
        {0xFFFF, kNoWindows1256Value, "non-character"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windows1256Value(c.unit), c.value) << c.why << " (U+" << std::hex << int(c.unit) << ")";
}

TEST(Windows1256Value, EveryUnitHasAByteOrNone)
{
    int mapped = 0;
    for (int unit = 0; unit <= 0xFFFF; ++unit) {
        const int value = windows1256Value(static_cast<char16_t>(unit));
        ASSERT_GE(value, kNoWindows1256Value);
        ASSERT_LE(value, 255);
        mapped += value != kNoWindows1256Value;
    }
    // 544 mappings of the best-fit table, plus the ten Persian digits.
    EXPECT_EQ(mapped, 544 + 10);
}

}  // namespace
}  // namespace harfcode
