// The display's font in every format, read back from its bytes, against references nobody here
// drew: GNU Unifont's designed bitmaps and FreeType's rendering.
#include "font/bdf_format.h"
#include "font/c_font_format.h"
#include "font/font_pictures.h"
#include "font/gfx_font_format.h"
#include "font/png_format.h"
#include "font_references.h"
#include "layout/entry_rows.h"
#include "table/new_display_codes.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace harfcode {
namespace {

// What every font here is exported from: text that a header's comment must keep inside it, and a
// BDF property must quote and keep on one line.
const FontExportSource kSource{"harfcode-cli 1.0.0", "harfcode-cli --font 'a*/b.ttf' --name x?\?/", "/fonts/a*/b/*c.ttf",
                               "\"Fam*/ily\"", "(c) 2024 */ Foundry\n#error \u202Eright?\?=\\", 16};

QByteArray headerOf(const std::variant<QByteArray, FieldOverflow>& exported)
{
    if (const auto* overflow = std::get_if<FieldOverflow>(&exported))
        ADD_FAILURE() << overflow->description().toStdString();
    return std::holds_alternative<QByteArray>(exported) ? std::get<QByteArray>(exported) : QByteArray();
}

// Every header a display's font leaves here as, and the draw_codes.c that reads it.
struct Header {
    const char* name;
    std::function<QByteArray(const DisplayFont&)> of;
    QStringList defines;
};

const auto cHeader = [](BitmapBits bits) {
    return [bits](const DisplayFont& font) { return headerOf(cFont(font, kSource, kDefaultCFontName, {bits, false})); };
};
const Header kHeaders[] = {
    {"c, rows", cHeader(BitmapBits::Rows), {}},
    {"c, columns", cHeader(BitmapBits::Columns), {"DRAW_COLUMNS"}},
    {"gfx", [](const DisplayFont& font) { return headerOf(gfxFont(font, kSource, kDefaultCFontName)); }, {"DRAW_GFX"}},
};

// Every format of `font` read back, BDF by FreeType and the headers by draw_codes.c, holds a
// glyph at every code in use and none elsewhere, each drawn as `expected` says. bdftopcf, the X
// server's own converter, takes the BDF font without a word.
void expectReadBack(const DisplayFont& font, const std::function<RenderedGlyph(const DisplayGlyph&)>& expected)
{
    const QByteArray bdf = bdfFont(font, kSource);
    QTemporaryDir dir;
    QFile file(dir.filePath("font.bdf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bdf) == bdf.size());
    file.close();
    EXPECT_EQ(ran("bdftopcf", {"-o", dir.filePath("font.pcf"), file.fileName()}), QByteArray());
    EXPECT_GT(QFileInfo(dir.filePath("font.pcf")).size(), 0);

    std::vector<std::tuple<std::string, std::optional<ReadBackFont>, int>> formats;
    formats.emplace_back("bdf", readBackBdfFont(bdf), 0);
    for (const Header& header : kHeaders)
        formats.emplace_back(header.name, readBackHeader(header.of(font), header.defines), font.height);
    for (const auto& [format, read, lines] : formats) {
        SCOPED_TRACE(format);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->height, lines) << "the C header's height, the GFX font's line height: one line of the PNG sample";
        int leftOfPen = 0;
        for (const auto& [code, glyph] : read->glyphs)
            leftOfPen = std::max(leftOfPen, glyph.width > 0 ? -glyph.left : 0);
        EXPECT_EQ(read->left, format == "bdf" ? 0 : leftOfPen) << "the headers' LEFT, the most ink left of a pen";
        EXPECT_EQ(read->glyphs.size(), font.glyphs.size()) << "one glyph per code in use";
        for (const DisplayGlyph& glyph : font.glyphs) {
            const auto found = read->glyphs.find(glyph.code);
            ASSERT_NE(found, read->glyphs.end()) << slotName(glyph.slot).toStdString() << ": no glyph at its code";
            EXPECT_EQ(drawing(found->second), drawing(expected(glyph))) << slotName(glyph.slot).toStdString();
        }
    }
}

TEST(FontHeaders, UnifontReadsBackFromEveryFormatAsDesigned)
{
    const std::map<char32_t, RenderedGlyph> designed = designedUnifont();
    ASSERT_EQ(designed.size(), 102u) << "Debian's unifont package holds every inked glyph";
    // The blank has the space's advance and no ink.
    const auto asDesigned = [&](const DisplayGlyph& glyph) {
        return glyph.slot == kBlankSlot ? RenderedGlyph{0, 0, 0, 0, 8, {}} : designed.at(characterOfSlot(glyph.slot));
    };
    // Unifont's outlines are its pixels: with the font's own hinting or none, rendered as designed.
    for (const Hinting hinting : {Hinting::Font, Hinting::None}) {
        const std::optional<DisplayFont> font = renderedFont(kUnifontFont, 16, newDisplayCodes(), hinting);
        ASSERT_TRUE(font);
        ASSERT_EQ(font->glyphs.size(), std::size_t(kSlotCount));
        for (const DisplayGlyph& glyph : font->glyphs)
            EXPECT_EQ(drawing(glyph.bitmap), drawing(asDesigned(glyph)))
                << slotName(glyph.slot).toStdString() << " rendered with hinting " << int(hinting);
        EXPECT_EQ(font->height, 16) << "Unifont's grid";
        if (hinting == Hinting::None)
            expectReadBack(*font, asDesigned);
    }
}

// Wine's Tahoma has what breaks a font format: ink left of the pen (the tails of final forms),
// glyphs wider than their advance, ink below the baseline, and the blank without ink. The
// table gives two slots one code, leaving a code without a glyph among the others.
TEST(FontHeaders, GlyphsThatBreakFontsReadBackAsFreeTypeDrawsThem)
{
    CodeStrings codes = newDisplayCodes();
    codes[2] = codes[1];  // slot 3 shares slot 2's code; slot 3's own code has no glyph
    const std::optional<DisplayFont> tahoma = renderedFont(kTahoma, 12, codes, Hinting::Auto);
    ASSERT_TRUE(tahoma);
    const auto any = [&](auto predicate) {
        return std::any_of(tahoma->glyphs.begin(), tahoma->glyphs.end(), [&](const DisplayGlyph& glyph) {
            return glyph.bitmap.width > 0 && predicate(glyph.bitmap);
        });
    };
    ASSERT_TRUE(any([](const RenderedGlyph& glyph) { return glyph.left < 0; }));
    ASSERT_TRUE(any([](const RenderedGlyph& glyph) { return glyph.left + glyph.width > glyph.advance; }));
    ASSERT_TRUE(any([](const RenderedGlyph& glyph) { return glyph.top - glyph.rows < 0; }));
    ASSERT_EQ(tahoma->glyphs.size(), std::size_t(kSlotCount - 1));
    // Among them ر, which stands leftmost in کار: a line's pen starts one column in.
    for (const Header& header : kHeaders)
        EXPECT_TRUE(header.of(*tahoma).contains("\n#define HARFCODE_FONT_LEFT 1\n")) << header.name;

    // Ink wholly left of the pen, wholly right of it and wholly below the baseline, and a glyph
    // that moves the pen without ink, as no font here has.
    DisplayFont made;
    made.glyphs = {{0x20, 1, {0, 0, 0, 0, 5, {}}},
                   {0x41, 74, {3, 2, -5, 1, 0, {1, 0, 1, 0, 1, 0}}},
                   {0x42, 75, {1, 1, 4, 3, 2, {1}}},
                   {0x43, 76, {2, 2, 0, -2, 2, {1, 1, 0, 1}}}};
    made.height = 7;
    made.baseline = 3;
    // Only the blank, so that no glyph has a byte of bitmap: a table with nothing else filled in.
    DisplayFont blankOnly = made;
    blankOnly.glyphs.resize(1);

    for (const DisplayFont& font : {*tahoma, made, blankOnly})
        expectReadBack(font, [](const DisplayGlyph& glyph) { return glyph.bitmap; });
}

// draw_codes.c draws rows of codes with the loop that the C header's comment and the README
// show, for either layout of the bits, and as Adafruit GFX draws a GFX font: exactly as the PNG
// sample shows them. Wine's Tahoma at 12 px and Unifont, in visual order, with mixed Persian,
// digits and capitals, a half-space and a character without a glyph.
TEST(FontHeaders, TheDrawingLoopDrawsWhatThePngSampleShows)
{
    const CodeStrings codes = newDisplayCodes();
    const char* const texts[] = {"سلام دنیا ۱۴۰۳", "قیمت LED 120", "می\u200Cشود", "یک x دو", "(گل)"};
    for (const std::optional<DisplayFont>& font :
         {renderedFont(kTahoma, 12, codes, Hinting::Auto), renderedFont(kUnifontFont, 16, codes, Hinting::None)}) {
        ASSERT_TRUE(font);
        std::vector<QByteArray> rows;
        QStringList lines;
        for (const char* text : texts)
            for (const QByteArray& row : entryCodes(QString::fromUtf8(text), codes, DisplayOrder::Visual, 0).rows) {
                rows.push_back(row);
                lines.append(QString::fromLatin1(row.toHex(' ')));
            }
        const auto drawn = sampleText(*font, rows, 1);
        ASSERT_TRUE(std::holds_alternative<QImage>(drawn));
        const auto png = pngFile(std::get<QImage>(drawn), kSource);
        ASSERT_TRUE(std::holds_alternative<QByteArray>(png));
        const std::string shown = plainPbm(QImage::fromData(std::get<QByteArray>(png), "PNG"));
        for (const Header& header : kHeaders) {
            const std::optional<QByteArray> pbm = runWithFontHeader(header.of(*font), header.defines, lines);
            ASSERT_TRUE(pbm) << header.name;
            EXPECT_EQ(pbm->toStdString(), shown) << header.name << ", " << font->height << " px";
        }
    }
}

// A glyph `width` by `rows` pixels, all ink.
RenderedGlyph block(int width, int rows, int left, int top, int advance)
{
    return {width, rows, left, top, advance, std::vector<std::uint8_t>(std::size_t(width) * std::size_t(rows), 1)};
}

// The font of `glyphs` at codes 0x41 on (slots 74 on), its height and baseline those of their ink.
DisplayFont fontOf(std::vector<RenderedGlyph> glyphs)
{
    DisplayFont font;
    int top = 0, bottom = 0;
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        top = std::max(top, glyphs[i].top);
        bottom = std::min(bottom, glyphs[i].top - glyphs[i].rows);
        font.glyphs.push_back({static_cast<std::uint8_t>(0x41 + i), static_cast<Slot>(74 + i), std::move(glyphs[i])});
    }
    font.height = top - bottom;
    font.baseline = top;
    return font;
}

std::string outcome(const std::variant<QByteArray, FieldOverflow>& exported)
{
    const auto* overflow = std::get_if<FieldOverflow>(&exported);
    return overflow ? overflow->description().toStdString() : "fits";
}

TEST(FontHeaders, AValueThatDoesNotFitItsFieldNamesTheGlyphAndTheField)
{
    const auto c = [](const DisplayFont& font) { return outcome(cFont(font, kSource, kDefaultCFontName, {})); };
    const auto columns = [](const DisplayFont& font) {
        return outcome(cFont(font, kSource, kDefaultCFontName, {BitmapBits::Columns, false}));
    };
    const auto gfx = [](const DisplayFont& font) { return outcome(gfxFont(font, kSource, kDefaultCFontName)); };
    const std::string a = "code 41, slot 74 (U+0041 \"A\"): ", u8 = " does not fit its uint8_t (0 to 255)";
    const std::string i8 = " does not fit its int8_t (-128 to 127)", u16 = " does not fit its uint16_t (0 to 65535)";
    // In rows, bitmaps of 8,192 bytes: 32 bytes a row for 255 columns, 256 rows.
    const std::vector<RenderedGlyph> nineInRows(9, block(255, 256, 0, 256, 255));
    // In columns, 65,535 bytes: 257 bytes a column for 2,056 rows, 255 columns; then 257 bytes each.
    const RenderedGlyph tall = block(255, 2056, 0, 2056, 1);
    const RenderedGlyph dot = block(1, 1, 0, 1, 1);
    // In GFX, 8 bitmaps of 8,129 bytes and one of 503 end at 65,535.
    std::vector<RenderedGlyph> gfxUpTo65535(8, block(255, 255, 0, 127, 255));
    gfxUpTo65535.push_back(block(67, 60, 0, 60, 67));
    gfxUpTo65535.push_back(dot);
    std::vector<RenderedGlyph> gfxPast65535 = gfxUpTo65535;
    gfxPast65535.push_back(dot);
    const struct {
        const char* what;
        std::function<std::string(const DisplayFont&)> format;
        DisplayFont font;
        std::string outcome;
    } cases[] = {
        {"columns at the limit", c, fontOf({block(255, 1, 0, 1, 255)}), "fits"},
        {"columns past it", c, fontOf({dot, block(256, 1, 0, 1, 255)}), "code 42, slot 75 (U+0042 \"B\"): columns 256" + u8},
        {"ink far left of the pen", c, fontOf({block(1, 1, -300, 1, 1)}), a + "columns 300" + u8},
        {"ink far right of the pen", c, fontOf({block(1, 1, 255, 1, 1)}), a + "columns 256" + u8},
        {"advance", c, fontOf({block(1, 1, 0, 1, 256)}), a + "advance 256" + u8},
        {"an offset past 65,535 in rows", c, fontOf(nineInRows), "code 49, slot 82 (U+0049 \"I\"): offset 65536" + u16},
        {"an offset of 65,535 in columns", columns, fontOf({tall, dot}), "fits"},
        {"an offset past 65,535 in columns", columns, fontOf({tall, dot, dot}),
         "code 43, slot 76 (U+0043 \"C\"): offset 65792" + u16},
        {"GFX at every limit", gfx, fontOf({block(255, 255, -128, 128, 255), block(1, 1, 127, -126, 1)}), "fits"},
        {"width", gfx, fontOf({block(256, 1, 0, 1, 1)}), a + "width 256" + u8},
        {"height", gfx, fontOf({block(1, 256, 0, 1, 1)}), a + "height 256" + u8},
        {"xAdvance", gfx, fontOf({block(1, 1, 0, 1, 256)}), a + "xAdvance 256" + u8},
        {"xOffset left", gfx, fontOf({block(1, 1, -129, 1, 1)}), a + "xOffset -129" + i8},
        {"xOffset right", gfx, fontOf({block(1, 1, 128, 1, 1)}), a + "xOffset 128" + i8},
        {"yOffset up", gfx, fontOf({block(1, 1, 0, 130, 1)}), a + "yOffset -129" + i8},
        {"yOffset down", gfx, fontOf({block(1, 1, 0, -127, 1)}), a + "yOffset 128" + i8},
        {"bitmapOffset of 65,535", gfx, fontOf(gfxUpTo65535), "fits"},
        {"bitmapOffset past it", gfx, fontOf(gfxPast65535), "code 4B, slot 84 (U+004B \"K\"): bitmapOffset 65536" + u16},
        {"yAdvance", gfx, fontOf({block(1, 255, 0, 129, 1), block(1, 1, 0, -126, 1)}), "yAdvance 256" + u8},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.format(test.font), test.outcome) << test.what;
}

// The comment names the font file, its family and its copyright notice, whatever they hold:
// text that would end the comment, start another, splice a line or reorder what a reader sees
// stays inside it, and every header of these tests builds.
TEST(FontHeaders, TheCommentHoldsTheSourceWhateverItsText)
{
    for (const Header& header : kHeaders) {
        const QByteArray text = header.of(fontOf({block(2, 3, -1, 2, 2)}));
        const QByteArray comment = text.first(text.indexOf("*/") + 2);
        EXPECT_TRUE(comment.contains("Fam*\\/ily")) << header.name << ": " << comment.toStdString();
        EXPECT_TRUE(comment.contains("(c) 2024 *\\/ Foundry #error <U+202E>right?\\?=<U+005C>"))
            << header.name << ": " << comment.toStdString();
    }
}

}  // namespace
}  // namespace harfcode
