// The display's font against references nobody here made: GNU Unifont's designed bitmaps,
// FreeType's own BDF reader and bdftopcf.
#include "font/bdf_format.h"
#include "font/display_font.h"
#include "opened_fonts.h"
#include "support/test_bdf_font.h"
#include "table/new_display_codes.h"
#include "unifont_reference.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace harfcode {
namespace {

using testing::openedFont;

// The glyph that FreeType's BDF driver reads at `code` of a BDF font.
std::optional<RenderedGlyph> glyphOfBdf(FT_Face face, std::uint8_t code)
{
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0)
        return std::nullopt;
    const FT_Bitmap& bitmap = face->glyph->bitmap;
    RenderedGlyph glyph{static_cast<int>(bitmap.width), static_cast<int>(bitmap.rows), face->glyph->bitmap_left,
                        face->glyph->bitmap_top, static_cast<int>(face->glyph->advance.x >> 6), {}};
    for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
            glyph.ink.push_back((bitmap.buffer[row * bitmap.pitch + column / 8] >> (7 - column % 8)) & 1);
    return glyph;
}

TEST(DisplayFont, UnifontRendersAsDesignedAndItsBdfReadsBackTheSame)
{
    const std::map<char32_t, UnifontGlyph> designed = readUnifontHex(kUnifontHex, inkedSlotCharacters());
    ASSERT_EQ(designed.size(), 102u) << "Debian's unifont package holds every inked glyph";
    QTemporaryDir dir;
    for (const Hinting hinting : {Hinting::None, Hinting::Font}) {
        const std::unique_ptr<FontFace> face = openedFont(FontFace::open(kUnifontFont, 16));
        ASSERT_TRUE(face);
        const auto made = displayFont(*face, newDisplayCodes(), hinting);
        ASSERT_TRUE(std::holds_alternative<DisplayFont>(made));
        const DisplayFont& font = std::get<DisplayFont>(made);
        ASSERT_EQ(font.glyphs.size(), std::size_t(kSlotCount));

        const QString bdfPath = dir.filePath("unifont.bdf");
        QFile bdf(bdfPath);
        ASSERT_TRUE(bdf.open(QIODevice::WriteOnly));
        bdf.write(bdfFont(font, {"harfcode-cli 1.0.0", "harfcode-cli --font unifont.otf", kUnifontFont, face->family(),
                                 face->copyright(), face->pixelSize()}));
        bdf.close();
        FT_Library library;
        ASSERT_EQ(FT_Init_FreeType(&library), 0);
        FT_Face bdfFace;
        ASSERT_EQ(FT_New_Face(library, QFile::encodeName(bdfPath).constData(), 0, &bdfFace), 0);
        ASSERT_EQ(FT_Select_Size(bdfFace, 0), 0);
        // The codes are the display's: the font's one charmap maps them as they stand.
        ASSERT_GE(bdfFace->num_charmaps, 1);
        ASSERT_EQ(FT_Set_Charmap(bdfFace, bdfFace->charmaps[0]), 0);

        for (const DisplayGlyph& glyph : font.glyphs) {
            const std::string what = "slot " + std::to_string(glyph.slot) + ", hinting " + std::to_string(int(hinting));
            const std::optional<RenderedGlyph> read = glyphOfBdf(bdfFace, glyph.code);
            ASSERT_TRUE(read) << what << ": not in the BDF font";
            if (glyph.slot == 1) {
                EXPECT_EQ(read->advance, 8) << what << ": the blank has the space's advance";
                EXPECT_TRUE(std::find(read->ink.begin(), read->ink.end(), 1) == read->ink.end()) << what;
                continue;
            }
            const UnifontGlyph& reference = designed.at(characterOfSlot(glyph.slot));
            EXPECT_EQ(differenceFromUnifont(glyph.bitmap, reference), std::nullopt) << what << " as rendered";
            EXPECT_EQ(differenceFromUnifont(*read, reference), std::nullopt) << what << " as the BDF font holds it";
        }
        FT_Done_Face(bdfFace);
        FT_Done_FreeType(library);

        QProcess bdftopcf;
        bdftopcf.start("bdftopcf", {"-o", dir.filePath("unifont.pcf"), bdfPath});
        ASSERT_TRUE(bdftopcf.waitForFinished(30000));
        EXPECT_EQ(bdftopcf.exitCode(), 0);
        EXPECT_EQ(bdftopcf.readAllStandardError(), "") << "bdftopcf takes the font without a word";
        EXPECT_GT(QFileInfo(dir.filePath("unifont.pcf")).size(), 0);
    }
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
