// The display's font against references nobody here made: the fonts Debian ships, and
// bdftopcf.
#include "font/bdf_format.h"
#include "font/display_font.h"
#include "opened_fonts.h"
#include "support/test_bdf_font.h"
#include "table/new_display_codes.h"
#include "unifont_reference.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

using testing::openedFont;

// bdftopcf, the X server's own converter, takes the BDF font without a word.
TEST(DisplayFont, BdftopcfTakesTheBdfFont)
{
    const std::unique_ptr<FontFace> face = openedFont(FontFace::open(kUnifontFont, 16));
    ASSERT_TRUE(face);
    const auto made = displayFont(*face, newDisplayCodes(), Hinting::None);
    ASSERT_TRUE(std::holds_alternative<DisplayFont>(made));
    QTemporaryDir dir;
    const QString bdfPath = dir.filePath("unifont.bdf");
    QFile bdf(bdfPath);
    ASSERT_TRUE(bdf.open(QIODevice::WriteOnly));
    bdf.write(bdfFont(std::get<DisplayFont>(made), {"harfcode-cli 1.0.0", "harfcode-cli --font unifont.otf", kUnifontFont,
                                                    face->family(), face->copyright(), face->pixelSize()}));
    bdf.close();
    QProcess bdftopcf;
    bdftopcf.start("bdftopcf", {"-o", dir.filePath("unifont.pcf"), bdfPath});
    ASSERT_TRUE(bdftopcf.waitForFinished(30000));
    EXPECT_EQ(bdftopcf.exitCode(), 0);
    EXPECT_EQ(bdftopcf.readAllStandardError(), "") << "bdftopcf takes the font without a word";
    EXPECT_GT(QFileInfo(dir.filePath("unifont.pcf")).size(), 0);
}

// The fonts the README names hold every glyph of the display.
TEST(DisplayFont, TheRecommendedDebianFontsHaveEveryGlyph)
{
    const char* const fonts[] = {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                 kUnifontFont};
    for (const char* file : fonts) {
        const std::unique_ptr<FontFace> face = openedFont(FontFace::open(file, 12));
        ASSERT_TRUE(face);
        const auto made = displayFont(*face, newDisplayCodes(), Hinting::Auto);
        const auto* error = std::get_if<DisplayFontError>(&made);
        EXPECT_FALSE(error) << file << ": " << (error ? error->descriptions({}).join(u'\n').toStdString() : "");
    }
}

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
