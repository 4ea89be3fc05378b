#include "font/display_font.h"
#include "support/test_bdf_font.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

// The font's line: its ascender and descender, or the ink beyond them, and never less than
// the baseline itself, whatever a broken font claims.
TEST(DisplayFont, TheLineHoldsTheBaselineAndEveryGlyph)
{
    struct Case {
        const char* what;
        int ascent;
        int descent;
        std::vector<std::pair<int, const char*>> codes;
        int height;
        int baseline;
    };
    const Case cases[] = {
        {"the font's own line", 3, 1, {{1, "20"}, {74, "41"}}, 4, 3},
        {"ink above the ascender", 1, 1, {{1, "20"}, {74, "41"}}, 4, 3},
        {"an ascender below a descender", -5, -8, {{1, "20"}}, 0, 0},
        {"the same, with ink", -5, -8, {{1, "20"}, {74, "41"}}, 3, 3},
    };
    for (const Case& c : cases) {
        auto opened = FontFace::fromBytes(
            bdfTestFont(4, c.ascent, c.descent, {{U' ', 0, 0, 2, {"."}}, {U'A', 0, 0, 2, {"#.", "##", "#."}}}), 4);
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<FontFace>>(opened)) << c.what;
        CodeStrings codes = defaultCodeStrings();
        for (const auto& [slot, code] : c.codes)
            codes[std::size_t(slot - 1)] = code;
        const auto font = displayFont(*std::get<std::unique_ptr<FontFace>>(opened), codes, Hinting::None);
        ASSERT_TRUE(std::holds_alternative<DisplayFont>(font)) << c.what;
        EXPECT_EQ(std::get<DisplayFont>(font).height, c.height) << c.what;
        EXPECT_EQ(std::get<DisplayFont>(font).baseline, c.baseline) << c.what;
    }
}

}  // namespace
}  // namespace harfcode
