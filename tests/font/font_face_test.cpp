#include "font/font_face.h"
#include "support/test_bdf_font.h"

#include <gtest/gtest.h>

namespace harfcode {
namespace {

// `font` with the lines from `from` up to `to` (left in place) of one glyph cut out.
QByteArray cutOut(QByteArray font, const char* glyph, const char* from, const char* to)
{
    const qsizetype start = font.indexOf(from, font.indexOf(glyph));
    return font.remove(start, font.indexOf(to, start) - start);
}

// A font is a downloaded file: a glyph it breaks is a glyph it lacks, never a crash.
TEST(FontFace, AGlyphOfABrokenFontIsNoGlyph)
{
    const QByteArray font = bdfTestFont(4, 3, 1, {{U'A', 0, 0, 2, {"##", "#."}}, {U'B', 0, 0, 2, {"#.", "##"}}});
    struct Case {
        const char* what;
        QByteArray font;
    };
    const Case cases[] = {
        {"a bitmap's size without its rows", cutOut(font, "ENCODING 65", "BITMAP", "ENDCHAR")},
    };
    for (const Case& c : cases) {
        auto opened = FontFace::fromBytes(c.font, 4);
        ASSERT_TRUE(std::holds_alternative<std::unique_ptr<FontFace>>(opened)) << c.what;
        const FontFace& face = *std::get<std::unique_ptr<FontFace>>(opened);
        EXPECT_FALSE(face.render(U'A', Hinting::None)) << c.what;
        const std::optional<RenderedGlyph> whole = face.render(U'B', Hinting::None);
        ASSERT_TRUE(whole) << c.what;
        EXPECT_EQ(whole->ink, std::vector<std::uint8_t>({1, 0, 1, 1})) << c.what;
    }
}

}  // namespace
}  // namespace harfcode
