#include "font/font_face.h"
#include "opened_fonts.h"
#include "support/test_bdf_font.h"

#include <QFile>

#include <gtest/gtest.h>


namespace harfcode {
namespace {

const QString kTahoma = QStringLiteral("/usr/share/wine/fonts/tahoma.ttf");

// `font` with the lines from `from` up to `to` (left in place) of one glyph cut out.
QByteArray cutOut(QByteArray font, const char* glyph, const char* from, const char* to)
{
    const qsizetype start = font.indexOf(from, font.indexOf(glyph));
    return font.remove(start, font.indexOf(to, start) - start);
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QByteArray tahomaBytes()
{
    return bytesOf(kTahoma);
}

// A font is a downloaded file: whatever it breaks, a glyph is drawn, or it says why not, and
// one that holds nothing is told from one that has no ink at the size.
TEST(FontFace, TellsAGlyphFromWhatKeepsItFromBeingDrawn)
{
    const QByteArray font = bdfTestFont(4, 3, 1, {{U'A', 0, 0, 2, {"##", "#."}}, {U'B', 0, 0, 2, {"#.", "##"}},
                                                  {U'C', 0, 0, 2, {"..", ".."}}});
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
        {"a bitmap's size without its rows", cutOut(font, "ENCODING 65", "BITMAP", "ENDCHAR"), 4, U'A',
         Hinting::None, Kind::BrokenBitmap},
        {"a bitmap without ink", font, 4, U'C', Hinting::None, Outcome::NoData},
        {"an outline", tahomaBytes(), 12, U'\uFEB3', Hinting::Auto, Outcome::Ink},
        // 30 em square: 3,000 × 3,000 pixels at 100.
        {"an outline beyond the limit", bytesOf(HARFCODE_FONT_TEST_DIR "/data/huge_glyph.ttf"), 100, U'A',
         Hinting::None, Kind::TooLarge},
        {"a font cut short: outlines of no points", tahomaBytes().left(30000), 12, U'\uFEB3', Hinting::Auto,
         Outcome::NoData},
        {"an outline with no ink at the size", tahomaBytes(), 3, U'.', Hinting::Auto, Outcome::NoInk},
        {"the font's own hinting losing the alef", tahomaBytes(), 8, U'\uFE8D', Hinting::Font, Outcome::NoInk},
    };
    for (const Case& c : cases) {
        const auto face = testing::openedFont(FontFace::fromBytes(c.font, c.size));
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

}  // namespace
}  // namespace harfcode
