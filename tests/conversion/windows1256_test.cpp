#include "conversion/windows1256.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

TEST(Windows1256Value, FollowsWindowsBestFitWithPersianDigits)
{
    const std::pair<char16_t, int> cases[] = {
        {u'A', 65},    {0x067E, 129} /* PEH, in the C1 range */, {0x06A9, 152} /* KEHEH */,
        {0x06CC, 237} /* FARSI YEH: best fit to YEH */,          {0x0643, 223} /* ARABIC KAF keeps its own */,
        {0x0649, 236} /* ALEF MAKSURA keeps its own */,          {0x0660, 48} /* Arabic-Indic zero, best fit */,
        {0x06F0, 48},  {0x06F9, 57} /* Persian digits */,        {0x00A0, 160} /* no-break space */,
        {0x06C0, kNoWindows1256Value},                           {0xD83D, kNoWindows1256Value} /* surrogate */,
    };
    for (const auto& [unit, value] : cases)
        EXPECT_EQ(windows1256Value(unit), value) << "U+" << std::hex << int(unit);

    int mapped = 0;
    for (int unit = 0; unit <= 0xFFFF; ++unit)
        mapped += windows1256Value(static_cast<char16_t>(unit)) != kNoWindows1256Value;
    EXPECT_EQ(mapped, 544 + 10) << "the 544 mappings of the best-fit table and the Persian digits";
}

}  // namespace
}  // namespace harfcode
