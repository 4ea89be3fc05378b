// From a font file to the display's font: what a font holds for each glyph, the font's line,
// and the fonts the README names.
#include "font_references.h"
#include "support/file_bytes.h"
#include "support/test_bdf_font.h"
#include "table/new_display_codes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

// A font is a downloaded file: whatever it breaks, a glyph is drawn, or it says why not, and
// one that holds nothing is told from one that has no ink at the size.
TEST(FontFace, TellsAGlyphFromWhatKeepsItFromBeingDrawn)
{
    const QByteArray font = bdfTestFont(4, 3, 1, {{U'A', 0, 0, 2, {"##", "#."}}, {U'B', 0, 0, 2, {"#.", "##"}},
                                                  {U'C', 0, 0, 2, {"..", ".."}}});
    // Eight bits a pixel: grey levels, ink from half on.
    const auto grey = [&](const char* pixels) {
        return bdfTestFont(4, 3, 1, {{U'G', 0, 0, 2, {"#."}}}).replace("SIZE 4 72 72", "SIZE 4 72 72 8").replace("\n80\n", pixels);
    };
    const QByteArray tahoma = bytesOf(kTahoma);
    using Kind = GlyphFault::Kind;
    enum class Outcome { Ink, NoInk, NoData };
    struct Case {
        const char* what;
        QByteArray font;
        int size;
        char32_t character;
        Hinting hinting;
        std::variant<Outcome, Kind> expected;
    };
    const Case cases[] = {
        {"a whole bitmap", font, 4, U'B', Hinting::None, Outcome::Ink},
        {"a character the font lacks", font, 4, U'Z', Hinting::None, Kind::Missing},
        {"a bitmap's size without its rows", QByteArray(font).replace("BITMAP\nC0\n80\n", ""), 4, U'A', Hinting::None,
         Kind::BrokenBitmap},
        {"a bitmap without ink", font, 4, U'C', Hinting::None, Outcome::NoData},
        {"a grey bitmap of half", grey("\n807F\n"), 4, U'G', Hinting::None, Outcome::Ink},
        {"a grey bitmap under half", grey("\n7F7F\n"), 4, U'G', Hinting::None, Outcome::NoData},
        {"an outline", tahoma, 12, U'\uFEB3', Hinting::Auto, Outcome::Ink},
        // 30 em square: 3,000 × 3,000 pixels at 100.
        {"an outline beyond the limit", bytesOf(HARFCODE_FONT_TEST_DIR "/data/huge_glyph.ttf"), 100, U'A',
         Hinting::None, Kind::TooLarge},
        {"a font cut short: outlines of no points", tahoma.left(30000), 12, U'\uFEB3', Hinting::Auto, Outcome::NoData},
        {"an outline with no ink at the size", tahoma, 3, U'.', Hinting::Auto, Outcome::NoInk},
        {"the font's own hinting losing the alef", tahoma, 8, U'\uFE8D', Hinting::Font, Outcome::NoInk},
    };
    for (const Case& c : cases) {
        const auto face = openedFont(FontFace::fromBytes(c.font, c.size));
        ASSERT_TRUE(face) << c.what;
        const auto rendered = face->render(c.character, c.hinting);
        if (const Kind* kind = std::get_if<Kind>(&c.expected)) {
            ASSERT_TRUE(std::holds_alternative<GlyphFault>(rendered)) << c.what;
            EXPECT_EQ(std::get<GlyphFault>(rendered).kind, *kind) << c.what;
            if (*kind == Kind::TooLarge) {
                EXPECT_EQ(std::get<GlyphFault>(rendered).description("A"),
                          "the font's glyph for A, is too large: 3000 × 3000 pixels, more than the 4194304 a glyph may have");
            }
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<RenderedGlyph>(rendered))
            << c.what << ": " << std::get<GlyphFault>(rendered).description("it").toStdString();
        const RenderedGlyph& glyph = std::get<RenderedGlyph>(rendered);
        const Outcome outcome = glyph.fromNoData ? Outcome::NoData : glyph.hasInk() ? Outcome::Ink : Outcome::NoInk;
        EXPECT_EQ(outcome, std::get<Outcome>(c.expected)) << c.what;
    }
}

// A file of exactly the bound is read whole (one byte more is refused unread: the cli's tests).
TEST(FontFace, AFileOfTheSizeBoundIsRead)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("zeros.ttf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(kMaxFontFileBytes));  // sparse: no disk taken
    const auto read = readFontFile(file.fileName());
    ASSERT_TRUE(std::holds_alternative<FontFileBytes>(read)) << std::get<QString>(read).toStdString();
    EXPECT_EQ(std::get<FontFileBytes>(read).bytes.size(), kMaxFontFileBytes);
}

// The font's line: its ascender and descender, or the ink beyond them, and never less than
// the baseline itself, whatever a broken font claims.
TEST(DisplayFont, TheLineHoldsTheBaselineAndEveryGlyph)
{
    CodeStrings codes = defaultCodeStrings();
    codes[0] = "20";
    codes[73] = "41";
    // The font's own line, then ink above the ascender.
    for (const auto& [ascent, descent] : {std::pair{3, 1}, std::pair{1, 1}}) {
        const auto face = openedFont(FontFace::fromBytes(
            bdfTestFont(4, ascent, descent, {{U' ', 0, 0, 2, {"."}}, {U'A', 0, 0, 2, {"#.", "##", "#."}}}), 4));
        const std::optional<DisplayFont> font = renderedFont(face.get(), codes, Hinting::None);
        ASSERT_TRUE(font) << ascent;
        EXPECT_EQ(font->height, 4) << ascent;
        EXPECT_EQ(font->baseline, 3) << ascent;
    }
}

// The fonts the README names hold every glyph of the display: Tahoma and Unifont are drawn
// whole by the header tests, DejaVu Sans here.
TEST(DisplayFont, TheRecommendedDebianFontsHaveEveryGlyph)
{
    EXPECT_TRUE(renderedFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12, newDisplayCodes(), Hinting::Auto));
}

}  // namespace
}  // namespace harfcode
