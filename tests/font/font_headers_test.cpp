// The display's font in every format, read back from its bytes, against references nobody here
// drew: GNU Unifont's designed bitmaps and FreeType's rendering.
#include "exported_font_reader.h"
#include "font/bdf_format.h"
#include "font/c_font_format.h"
#include "font/display_font.h"
#include "font/font_pictures.h"
#include "font/gfx_font_format.h"
#include "font/png_format.h"
#include "layout/entry_rows.h"
#include "opened_fonts.h"
#include "table/new_display_codes.h"
#include "unifont_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

namespace harfcode {
namespace {

using testing::renderedFont;

const FontExportSource kSource{"harfcode-cli 1.0.0", "harfcode-cli --font test", "test.ttf", "Test", "", 16};

QByteArray headerOf(const std::variant<QByteArray, FieldOverflow>& exported)
{
    if (const auto* overflow = std::get_if<FieldOverflow>(&exported))
        ADD_FAILURE() << overflow->description().toStdString();
    return std::holds_alternative<QByteArray>(exported) ? std::get<QByteArray>(exported) : QByteArray();
}

// Every way a display's font leaves here, read back from the header's bytes.
struct ExportedFormat {
    const char* name;
    std::function<std::optional<ReadBackFont>(const DisplayFont&)> readBack;
};

const ExportedFormat kFormats[] = {
    {"bdf", [](const DisplayFont& font) { return readBackBdfFont(bdfFont(font, kSource)); }},
    {"c, rows", [](const DisplayFont& font) {
         return readBackCFont(headerOf(cFont(font, kSource, {kDefaultFontName, BitmapBits::Rows, false})), BitmapBits::Rows);
     }},
    {"c, columns", [](const DisplayFont& font) {
         return readBackCFont(headerOf(cFont(font, kSource, {kDefaultFontName, BitmapBits::Columns, false})),
                              BitmapBits::Columns);
     }},
    {"gfx", [](const DisplayFont& font) { return readBackGfxFont(headerOf(gfxFont(font, kSource, kDefaultFontName))); }},
};

TEST(FontHeaders, UnifontReadsBackFromEveryFormatAsDesigned)
{
    const std::map<char32_t, UnifontGlyph> designed = readUnifontHex(kUnifontHex, inkedSlotCharacters());
    ASSERT_EQ(designed.size(), 102u) << "Debian's unifont package holds every inked glyph";
    // Unifont's outlines are its pixels: with the font's own hinting or none, rendered as designed.
    for (const Hinting hinting : {Hinting::Font, Hinting::None}) {
        const std::optional<DisplayFont> rendered = renderedFont(kUnifontFont, 16, newDisplayCodes(), hinting);
        ASSERT_TRUE(rendered);
        ASSERT_EQ(rendered->glyphs.size(), std::size_t(kSlotCount));
        for (const DisplayGlyph& glyph : rendered->glyphs) {
            if (glyph.slot != kBlankSlot) {
                EXPECT_EQ(differenceFromUnifont(glyph.bitmap, designed.at(characterOfSlot(glyph.slot))), std::nullopt)
                    << slotName(glyph.slot).toStdString() << " rendered with hinting " << int(hinting);
            }
        }
    }
    const std::optional<DisplayFont> font = renderedFont(kUnifontFont, 16, newDisplayCodes(), Hinting::None);
    ASSERT_TRUE(font);
    for (const ExportedFormat& format : kFormats) {
        const std::optional<ReadBackFont> read = format.readBack(*font);
        ASSERT_TRUE(read) << format.name;
        EXPECT_EQ(read->glyphs.size(), std::size_t(kSlotCount)) << format.name << ": a glyph at every code of the table";
        for (const DisplayGlyph& glyph : font->glyphs) {
            const std::string what = std::string(format.name) + ", " + slotName(glyph.slot).toStdString();
            const auto found = read->glyphs.find(glyph.code);
            ASSERT_NE(found, read->glyphs.end()) << what << ": no glyph at its code";
            if (glyph.slot == kBlankSlot) {
                EXPECT_EQ(found->second.advance, 8) << what << ": the blank has the space's advance";
                EXPECT_EQ(std::count(found->second.ink.begin(), found->second.ink.end(), 1), 0) << what;
                continue;
            }
            EXPECT_EQ(differenceFromUnifont(found->second, designed.at(characterOfSlot(glyph.slot))), std::nullopt) << what;
        }
    }
}

// Wine's Tahoma has what breaks a font format: ink left of the pen (the tails of final forms),
// glyphs wider than their advance, ink below the baseline, and the blank without ink. The
// table gives two slots one code, leaving a code without a glyph among the others.
TEST(FontHeaders, GlyphsThatBreakFontsReadBackAsFreeTypeDrawsThem)
{
    CodeStrings codes = newDisplayCodes();
    codes[2] = codes[1];  // slot 3 shares slot 2's code; slot 3's own code has no glyph
    const std::optional<DisplayFont> tahoma =
        renderedFont("/usr/share/wine/fonts/tahoma.ttf", 12, codes, Hinting::Auto);
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

    // Ink wholly left of the pen, wholly right of it and wholly below the baseline, and a glyph
    // that moves the pen without ink, as no font here has.
    DisplayFont made;
    made.glyphs = {{0x20, 1, {0, 0, 0, 0, 5, {}}},
                   {0x41, 74, {3, 2, -5, 1, 0, {1, 0, 1, 0, 1, 0}}},
                   {0x42, 75, {1, 1, 4, 3, 2, {1}}},
                   {0x43, 76, {2, 2, 0, -2, 2, {1, 1, 0, 1}}}};
    made.height = 7;
    made.baseline = 3;
    made.lineHeight = 8;

    // Only the blank, so that no glyph has a byte of bitmap: a table with nothing else filled in.
    DisplayFont blankOnly = made;
    blankOnly.glyphs.resize(1);

    const DisplayFont* fonts[] = {&*tahoma, &made, &blankOnly};
    for (const DisplayFont* font : fonts)
        for (const ExportedFormat& format : kFormats) {
            const std::optional<ReadBackFont> read = format.readBack(*font);
            ASSERT_TRUE(read) << format.name;
            EXPECT_EQ(read->glyphs.size(), font->glyphs.size()) << format.name << ": one glyph per code in use";
            for (const DisplayGlyph& glyph : font->glyphs) {
                const std::string what = std::string(format.name) + ", " + slotName(glyph.slot).toStdString();
                const auto found = read->glyphs.find(glyph.code);
                ASSERT_NE(found, read->glyphs.end()) << what << ": no glyph at its code";
                EXPECT_EQ(drawingDifference(found->second, glyph.bitmap), std::nullopt) << what;
            }
        }
}

TEST(FontHeaders, TheCHeaderHoldsTheHeightAndGfxTheLineHeight)
{
    const std::optional<DisplayFont> unifont = renderedFont(kUnifontFont, 16, newDisplayCodes(), Hinting::None);
    ASSERT_TRUE(unifont);
    const std::optional<ReadBackFont> c = kFormats[1].readBack(*unifont);
    const std::optional<ReadBackFont> gfx = kFormats[3].readBack(*unifont);
    ASSERT_TRUE(c && gfx);
    EXPECT_EQ(c->height, 16) << "Unifont's grid";
    EXPECT_EQ(gfx->yAdvance, 16) << "Unifont's line height";
}

// A line of pixels, as draw_codes.c prints it in a plain PBM.
struct Picture {
    int width = 0;
    int height = 0;
    std::string pixels;  // '1' ink, '0' none, row by row

    bool operator==(const Picture&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Picture& picture)
{
    out << picture.width << "x" << picture.height << "\n";
    for (int row = 0; row < picture.height; ++row)
        out << picture.pixels.substr(std::size_t(row * picture.width), std::size_t(picture.width)) << "\n";
    return out;
}

Picture parsedPbm(const QByteArray& pbm)
{
    std::istringstream in(pbm.toStdString());
    std::string magic;
    Picture picture;
    in >> magic >> picture.width >> picture.height;
    EXPECT_EQ(magic, "P1");
    for (char pixel; in >> pixel;)
        picture.pixels += pixel;
    return picture;
}

// `glyphs` side by side from the pen at 0, as FreeType places them on the baseline under `baseline`
// rows of `height`: from the leftmost ink or pen position to the rightmost.
Picture drawnLine(const std::vector<RenderedGlyph>& glyphs, int height, int baseline)
{
    int left = 0, right = 0, pen = 0;
    for (const RenderedGlyph& glyph : glyphs) {
        if (glyph.width > 0 && glyph.rows > 0) {
            left = std::min(left, pen + glyph.left);
            right = std::max(right, pen + glyph.left + glyph.width);
        }
        pen += glyph.advance;
        right = std::max(right, pen);
    }
    Picture picture{right - left, height, std::string(std::size_t((right - left) * height), '0')};
    pen = 0;
    for (const RenderedGlyph& glyph : glyphs) {
        for (int row = 0; row < glyph.rows; ++row)
            for (int column = 0; column < glyph.width; ++column)
                if (glyph.inkAt(column, row))
                    picture.pixels[std::size_t((baseline - glyph.top + row) * picture.width + pen + glyph.left + column - left)] = '1';
        pen += glyph.advance;
    }
    return picture;
}

// Unifont's designed glyph as FreeType would give it, on the grid's baseline.
RenderedGlyph renderedAsDesigned(const UnifontGlyph& designed)
{
    RenderedGlyph glyph{designed.width, UnifontGlyph::kRows, 0, UnifontGlyph::kRowsAboveBaseline, designed.width, {}};
    for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
            glyph.ink.push_back(designed.inkAt(column, row));
    return glyph;
}

// draw_codes.c draws a line with the loop that the header's comment and the README show, for
// either layout of the bits: every code of the table at once, from Unifont as designed and from
// Wine's Tahoma as FreeType renders it, its tails left of the pen included.
TEST(FontHeaders, TheDrawingLoopDrawsALineOfCodesAsTheGlyphsStand)
{
    const std::map<char32_t, UnifontGlyph> designed = readUnifontHex(kUnifontHex, inkedSlotCharacters());
    const std::optional<DisplayFont> unifont = renderedFont(kUnifontFont, 16, newDisplayCodes(), Hinting::None);
    const std::optional<DisplayFont> tahoma =
        renderedFont("/usr/share/wine/fonts/tahoma.ttf", 12, newDisplayCodes(), Hinting::Auto);
    ASSERT_TRUE(unifont && tahoma);
    for (const BitmapBits bits : {BitmapBits::Rows, BitmapBits::Columns})
        for (const DisplayFont* font : {&*unifont, &*tahoma}) {
            QStringList codes;
            std::vector<RenderedGlyph> expected;
            for (const DisplayGlyph& glyph : font->glyphs) {
                codes.append(QString::asprintf("%02X", glyph.code));
                if (font == &*tahoma)
                    expected.push_back(glyph.bitmap);
                else if (glyph.slot == 1)
                    expected.push_back({0, 0, 0, 0, 8, {}});
                else
                    expected.push_back(renderedAsDesigned(designed.at(characterOfSlot(glyph.slot))));
            }
            const QByteArray header = headerOf(cFont(*font, kSource, {kDefaultFontName, bits, false}));
            const std::optional<QByteArray> pbm = runWithFontHeader(
                header, "draw_codes.c", bits == BitmapBits::Columns ? QStringList{"DRAW_COLUMNS"} : QStringList{}, codes);
            ASSERT_TRUE(pbm);
            EXPECT_EQ(parsedPbm(*pbm), drawnLine(expected, font->height, font->baseline))
                << (font == &*tahoma ? "Tahoma" : "Unifont") << (bits == BitmapBits::Rows ? ", rows" : ", columns");
        }
}

// The drawing loop of the C header, and Adafruit GFX's way of drawing a GFX font, draw a text's
// codes exactly as the PNG sample shows them: Wine's Tahoma at 12 px, in visual order, with mixed
// Persian, digits and capitals, a half-space and a character without a glyph.
TEST(FontHeaders, TheDrawingLoopDrawsWhatThePngSampleShows)
{
    const CodeStrings codes = newDisplayCodes();
    const std::optional<DisplayFont> tahoma = renderedFont("/usr/share/wine/fonts/tahoma.ttf", 12, codes, Hinting::Auto);
    ASSERT_TRUE(tahoma);
    const char* const texts[] = {"سلام دنیا ۱۴۰۳", "قیمت LED 120", "می\u200Cشود", "یک x دو", "(گل)"};
    const struct {
        const char* what;
        QByteArray header;
        const char* program;
        QStringList defines;
        QStringList arguments;  // before the codes
    } drawings[] = {
        {"c, rows", headerOf(cFont(*tahoma, kSource, {kDefaultFontName, BitmapBits::Rows, false})), "draw_codes.c", {}, {}},
        {"c, columns", headerOf(cFont(*tahoma, kSource, {kDefaultFontName, BitmapBits::Columns, false})), "draw_codes.c",
         {"DRAW_COLUMNS"}, {}},
        {"gfx", headerOf(gfxFont(*tahoma, kSource, kDefaultFontName)), "draw_gfx_codes.c", {},
         {QString::number(tahoma->height), QString::number(tahoma->baseline)}},
    };
    for (const auto& drawing : drawings) {
        for (const char* text : texts) {
            const std::vector<QByteArray> rows = entryCodes(QString::fromUtf8(text), codes, DisplayOrder::Visual, 0).rows;
            ASSERT_EQ(rows.size(), 1u) << text;
            QStringList arguments = drawing.arguments;
            for (const char code : rows.front())
                arguments.append(QString::asprintf("%02X", static_cast<unsigned char>(code)));
            const std::optional<QByteArray> pbm = runWithFontHeader(drawing.header, drawing.program, drawing.defines, arguments);
            ASSERT_TRUE(pbm) << text;

            const auto drawn = sampleText(*tahoma, rows, 1);
            ASSERT_TRUE(std::holds_alternative<QImage>(drawn)) << text;
            const auto png = pngFile(std::get<QImage>(drawn), kSource);
            ASSERT_TRUE(std::holds_alternative<QByteArray>(png)) << text;
            const QImage sample = QImage::fromData(std::get<QByteArray>(png), "PNG");
            Picture shown{sample.width(), sample.height(), {}};
            for (int y = 0; y < sample.height(); ++y)
                for (int x = 0; x < sample.width(); ++x)
                    shown.pixels += qGray(sample.pixel(x, y)) < 0x80 ? '1' : '0';
            EXPECT_EQ(parsedPbm(*pbm), shown) << text << ", " << drawing.what;
        }
    }
}

// A glyph `width` by `rows` pixels, all ink.
RenderedGlyph block(int width, int rows, int left, int top, int advance)
{
    return {width, rows, left, top, advance, std::vector<std::uint8_t>(std::size_t(width) * std::size_t(rows), 1)};
}

// The font of `glyphs` at codes 0x41 on (slots 74 on), its height and baseline those of their ink.
DisplayFont fontOf(std::vector<RenderedGlyph> glyphs, int lineHeight = 16)
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
    font.lineHeight = lineHeight;
    return font;
}

std::string outcome(const std::variant<QByteArray, FieldOverflow>& exported)
{
    const auto* overflow = std::get_if<FieldOverflow>(&exported);
    return overflow ? overflow->description().toStdString() : "fits";
}

TEST(FontHeaders, AValueThatDoesNotFitItsFieldNamesTheGlyphAndTheField)
{
    const auto c = [](const DisplayFont& font) { return outcome(cFont(font, kSource, {})); };
    const auto columns = [](const DisplayFont& font) {
        return outcome(cFont(font, kSource, {kDefaultFontName, BitmapBits::Columns, false}));
    };
    const auto gfx = [](const DisplayFont& font) { return outcome(gfxFont(font, kSource, kDefaultFontName)); };
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
        {"columns past it", c, fontOf({block(1, 1, 0, 1, 1), block(256, 1, 0, 1, 255)}),
         "code 42, slot 75 (U+0042 \"B\"): columns 256 does not fit its uint8_t (0 to 255)"},
        {"ink far left of the pen", c, fontOf({block(1, 1, -300, 1, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): columns 300 does not fit its uint8_t (0 to 255)"},
        {"ink far right of the pen", c, fontOf({block(1, 1, 255, 1, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): columns 256 does not fit its uint8_t (0 to 255)"},
        {"advance", c, fontOf({block(1, 1, 0, 1, 256)}),
         "code 41, slot 74 (U+0041 \"A\"): advance 256 does not fit its uint8_t (0 to 255)"},
        {"an offset past 65,535 in rows", c, fontOf(nineInRows),
         "code 49, slot 82 (U+0049 \"I\"): offset 65536 does not fit its uint16_t (0 to 65535)"},
        {"an offset of 65,535 in columns", columns, fontOf({tall, dot}), "fits"},
        {"an offset past 65,535 in columns", columns, fontOf({tall, dot, dot}),
         "code 43, slot 76 (U+0043 \"C\"): offset 65792 does not fit its uint16_t (0 to 65535)"},
        {"GFX at every limit", gfx, fontOf({block(255, 255, -128, 128, 255), block(1, 1, 127, -126, 1)}, 255), "fits"},
        {"width", gfx, fontOf({block(256, 1, 0, 1, 1)}), "code 41, slot 74 (U+0041 \"A\"): width 256 does not fit its uint8_t (0 to 255)"},
        {"height", gfx, fontOf({block(1, 256, 0, 1, 1)}), "code 41, slot 74 (U+0041 \"A\"): height 256 does not fit its uint8_t (0 to 255)"},
        {"xAdvance", gfx, fontOf({block(1, 1, 0, 1, 256)}),
         "code 41, slot 74 (U+0041 \"A\"): xAdvance 256 does not fit its uint8_t (0 to 255)"},
        {"xOffset left", gfx, fontOf({block(1, 1, -129, 1, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): xOffset -129 does not fit its int8_t (-128 to 127)"},
        {"xOffset right", gfx, fontOf({block(1, 1, 128, 1, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): xOffset 128 does not fit its int8_t (-128 to 127)"},
        {"yOffset up", gfx, fontOf({block(1, 1, 0, 130, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): yOffset -129 does not fit its int8_t (-128 to 127)"},
        {"yOffset down", gfx, fontOf({block(1, 1, 0, -127, 1)}),
         "code 41, slot 74 (U+0041 \"A\"): yOffset 128 does not fit its int8_t (-128 to 127)"},
        {"bitmapOffset of 65,535", gfx, fontOf(gfxUpTo65535), "fits"},
        {"bitmapOffset past it", gfx, fontOf(gfxPast65535),
         "code 4B, slot 84 (U+004B \"K\"): bitmapOffset 65536 does not fit its uint16_t (0 to 65535)"},
        {"yAdvance", gfx, fontOf({block(1, 1, 0, 1, 1)}, 256), "yAdvance 256 does not fit its uint8_t (0 to 255)"},
    };
    for (const auto& test : cases)
        EXPECT_EQ(test.format(test.font), test.outcome) << test.what;
}


// The comment names the font file, its family and its copyright notice, whatever they hold:
// text that would end the comment, start another, splice a line or reorder what a reader sees
// stays inside it, and the header builds and reads back.
TEST(FontHeaders, TheCommentHoldsTheSourceWhateverItsText)
{
    const FontExportSource source{"harfcode-cli 1.0.0", "harfcode-cli --font 'a*/b.ttf' --name x?\?/",
                                  "/fonts/a*/b/*c.ttf", "Fam*/ily", "(c) 2024 */ Foundry\n#error \u202Eright?\?=\\", 16};
    DisplayFont font = fontOf({block(2, 3, -1, 2, 2)});
    const QByteArray c = headerOf(cFont(font, source, {}));
    const QByteArray gfx = headerOf(gfxFont(font, source, kDefaultFontName));
    for (const auto& [format, header] : {std::pair{"c", c}, std::pair{"gfx", gfx}}) {
        const QByteArray comment = header.first(header.indexOf("*/") + 2);
        EXPECT_TRUE(comment.contains("Fam*\\/ily")) << format << ": " << comment.toStdString();
        EXPECT_TRUE(comment.contains("(c) 2024 *\\/ Foundry #error <U+202E>right?\\?=<U+005C>")) << format << ": " << comment.toStdString();
    }
    const std::optional<ReadBackFont> cRead = readBackCFont(c, BitmapBits::Rows);
    const std::optional<ReadBackFont> gfxRead = readBackGfxFont(gfx);
    ASSERT_TRUE(cRead && gfxRead);
    EXPECT_EQ(drawingDifference(cRead->glyphs.at(0x41), font.glyphs.front().bitmap), std::nullopt);
    EXPECT_EQ(drawingDifference(gfxRead->glyphs.at(0x41), font.glyphs.front().bitmap), std::nullopt);
}

}  // namespace
}  // namespace harfcode
