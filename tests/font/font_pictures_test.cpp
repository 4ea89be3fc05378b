#include "font/display_font.h"
#include "font/font_pictures.h"
#include "font/hex_digit_glyphs.h"
#include "layout/entry_rows.h"
#include "opened_fonts.h"
#include "support/test_bdf_font.h"
#include "table/new_display_codes.h"
#include "unifont_reference.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>

namespace harfcode {
namespace {

using testing::openedFont;
using testing::renderedFont;

// A picture as text, a character a pixel: "#" ink, "+" label, "|" grid line, "." paper.
std::vector<std::string> art(const QImage& picture, int left, int top, int width, int height)
{
    std::vector<std::string> rows;
    for (int y = top; y < top + height; ++y) {
        std::string& row = rows.emplace_back();
        for (int x = left; x < left + width; ++x) {
            switch (picture.constScanLine(y)[x]) {
            case kInkShade: row += '#'; break;
            case kLabelShade: row += '+'; break;
            case kGridShade: row += '|'; break;
            case kPaperShade: row += '.'; break;
            default: row += '?';
            }
        }
    }
    return rows;
}

std::vector<std::string> art(const QImage& picture)
{
    return art(picture, 0, 0, picture.width(), picture.height());
}


// The tiny font's glyphs at these codes; the digit 2 has a glyph but no code.
CodeStrings tinyCodes()
{
    CodeStrings codes = defaultCodeStrings();
    for (const auto& [slot, code] : std::map<int, const char*>{
             {1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}, {65, "31"}, {68, "34"}, {74, "41"}})
        codes[std::size_t(slot - 1)] = code;
    return codes;
}

QImage picture(std::variant<QImage, QString> drawn)
{
    if (const QString* reason = std::get_if<QString>(&drawn))
        ADD_FAILURE() << reason->toStdString();
    return std::get<QImage>(std::move(drawn));
}

QImage sample(const DisplayFont& font, const QString& text, DisplayOrder order, int width, int zoom = 1)
{
    return picture(sampleText(font, entryCodes(text, tinyCodes(), order, width).rows, zoom));
}

TEST(FontPictures, ASampleShowsEachRowAsTheDisplayDrawsIt)
{
    const auto face = openedFont(FontFace::fromBytes(tinyTestFont(), 4));
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    struct Case {
        const char* what;
        QString text;
        DisplayOrder order;
        int width;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        // 1 4, the blank, then meem, alef, lam, seen: the seen's ink ends past its advance.
        {"Persian and digits in visual order", QString::fromUtf8("سلام ۱۴"), DisplayOrder::Visual, 0,
         {".#.#.......#..#....",
          "##.##......#..#.#.#",
          ".#..#...##.##.#.###",
          "........#.........."}},
        // The word cut after three glyphs; the second row right-aligned by two blanks.
        {"a word cut across rows", QString::fromUtf8("سلام"), DisplayOrder::Visual, 3,
         {"#..#....",
          "#..#.#.#",
          "##.#.###",
          "........",
          "........",
          "........",
          "....##..",
          "....#..."}},
        // x has no slot and 2 no code: both take no room; the A inks left of its origin.
        {"a character without a slot, a slot without a code", QString::fromUtf8("Ax۲1"), DisplayOrder::Typing, 0,
         {"....#.",
          "##.##.",
          "#...#.",
          "......"}},
        {"nothing to show", QStringLiteral("x"), DisplayOrder::Visual, 0, {".", ".", ".", "."}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(art(sample(font, c.text, c.order, c.width)), c.picture) << c.what;
}

TEST(FontPictures, TheSheetLabelsEveryCodeInUseInItsCell)
{
    const auto face = openedFont(FontFace::fromBytes(tinyTestFont(), 4));
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    const HexDigitGlyphs labels = hexDigitGlyphs(*face, Hinting::None);
    EXPECT_EQ(labels.missing, "0356789BCDEF");
    const QImage sheet = picture(glyphSheet(font, labels, 1));
    // Cells of 8 × 10 inside a margin and a grid line: the glyphs reach from 1 left of the
    // origin to 3 right of it, the labels (the 3 × 5 digits) 8 wide; 5 rows of label, one
    // free, the font's 4.
    EXPECT_EQ(sheet.size(), QSize(16 * 11 + 1, 16 * 13 + 1));
    struct Cell {
        int code;
        std::vector<std::string> picture;  // with the grid lines around it
    };
    const Cell cells[] = {
        {0x41,
         {"||||||||||||",
          "|..........|",
          "|.+.+..+...|",
          "|.+.+.++...|",
          "|.+++..+...|",
          "|...+..+...|",
          "|...+.+++..|",
          "|..........|",
          "|..........|",
          "|.##.......|",
          "|.#........|",
          "|..........|",
          "|..........|",
          "||||||||||||"}},
        {0xB3,
         {"||||||||||||",
          "|..........|",
          "|.++..+++..|",
          "|.+.+...+..|",
          "|.++..+++..|",
          "|.+.+...+..|",
          "|.++..+++..|",
          "|..........|",
          "|..........|",
          "|..#.#.....|",
          "|..###.....|",
          "|..........|",
          "|..........|",
          "||||||||||||"}},
        {0x00, {"||||||||||||", "|..........|", "|..........|", "|..........|", "|..........|", "|..........|",
                "|..........|", "|..........|", "|..........|", "|..........|", "|..........|", "|..........|",
                "|..........|", "||||||||||||"}},
    };
    for (const Cell& cell : cells)
        EXPECT_EQ(art(sheet, (cell.code & 0xF) * 11, (cell.code >> 4) * 13, 12, 14), cell.picture) << cell.code;
}

TEST(FontPictures, TheLabelsAreTheFontsOwnDigitsWhereItHasAll)
{
    // Digit v: a column of ink beside the bits of v, the highest on top.
    std::array<std::array<std::string, 4>, 16> rows;
    std::vector<TestGlyph> digits;
    for (int value = 0; value < 16; ++value) {
        std::array<std::string, 4>& bits = rows[std::size_t(value)];
        for (int bit = 0; bit < 4; ++bit)
            bits[std::size_t(bit)] = (value >> (3 - bit)) & 1 ? "##" : "#.";
        digits.push_back({char32_t("0123456789ABCDEF"[value]), 0, 0, 3, {bits.begin(), bits.end()}});
    }
    const auto face = openedFont(FontFace::fromBytes(bdfTestFont(4, 4, 0, digits), 4));
    const HexDigitGlyphs labels = hexDigitGlyphs(*face, Hinting::None);
    EXPECT_EQ(labels.missing, "");
    for (int value = 0; value < 16; ++value) {
        const RenderedGlyph& digit = labels.digits[std::size_t(value)];
        std::vector<std::string> ink;
        for (int row = 0; row < digit.rows; ++row) {
            std::string& line = ink.emplace_back();
            for (int column = 0; column < digit.width; ++column)
                line += digit.inkAt(column, row) ? '#' : '.';
        }
        EXPECT_EQ(ink, std::vector<std::string>(rows[std::size_t(value)].begin(), rows[std::size_t(value)].end()))
            << value;
        EXPECT_EQ(digit.advance, 3) << value;
    }
}

// Zoomed, every pixel is a square: the sample and the sheet alike.
TEST(FontPictures, ZoomMakesEveryPixelASquare)
{
    const auto face = openedFont(FontFace::fromBytes(tinyTestFont(), 4));
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    const HexDigitGlyphs labels = hexDigitGlyphs(*face, Hinting::None);
    const QString text = QString::fromUtf8("سلام ۱۴");
    const QImage sample1 = sample(font, text, DisplayOrder::Visual, 0);
    const QImage sheet1 = picture(glyphSheet(font, labels, 1));
    for (const int zoom : {2, 3, 16}) {
        for (const auto& [small, zoomed] : {std::pair{sample1, sample(font, text, DisplayOrder::Visual, 0, zoom)},
                                             std::pair{sheet1, picture(glyphSheet(font, labels, zoom))}}) {
            ASSERT_EQ(zoomed.size(), small.size() * zoom) << zoom;
            int differences = 0;
            for (int y = 0; y < zoomed.height(); ++y)
                for (int x = 0; x < zoomed.width(); ++x)
                    differences += zoomed.constScanLine(y)[x] != small.constScanLine(y / zoom)[x / zoom];
            EXPECT_EQ(differences, 0) << zoom;
        }
    }
}

TEST(FontPictures, APictureTooLargeIsRefusedNotDrawn)
{
    const auto face = openedFont(FontFace::fromBytes(tinyTestFont(), 4));
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    struct Case {
        int codes;  // of the digit 1, 3 pixels each
        int zoom;
        const char* size;
    };
    const Case cases[] = {
        {333'334, 1, "1000002 × 4 pixels"},  // too wide, though small
        {1'500, kMaxZoom, "288000 × 256 pixels"},
    };
    for (const Case& c : cases) {
        const auto drawn = sampleText(font, {QByteArray(c.codes, '\x31')}, c.zoom);
        ASSERT_TRUE(std::holds_alternative<QString>(drawn)) << c.size;
        EXPECT_TRUE(std::get<QString>(drawn).contains(QString::fromUtf8(c.size))) << std::get<QString>(drawn).toStdString();
    }
}

// A Unifont glyph as art, row by row from the top of its 16-pixel cell.
std::vector<std::string> artOf(const UnifontGlyph& glyph)
{
    std::vector<std::string> rows;
    for (int row = 0; row < UnifontGlyph::kRows; ++row) {
        std::string& line = rows.emplace_back();
        for (int column = 0; column < glyph.width; ++column)
            line += glyph.inkAt(column, row) ? '#' : '.';
    }
    return rows;
}

TEST(FontPictures, UnifontSampleHasUnifontsBitmapsAtTheirPlaces)
{
    QFile unifont(QString::fromLatin1(kUnifontFont));
    ASSERT_TRUE(unifont.open(QIODevice::ReadOnly)) << "the package fonts-unifont";
    const auto face = openedFont(FontFace::fromBytes(unifont.readAll(), 16));
    const CodeStrings codes = newDisplayCodes();
    const DisplayFont font = renderedFont(face.get(), codes, Hinting::None).value();
    const QImage picture = harfcode::picture(
        sampleText(font, entryCodes(QString::fromUtf8("سلام دنیا ۱۴۰۳"), codes, DisplayOrder::Visual, 0).rows, 1));
    const auto bitmaps = readUnifontHex(kUnifontHex, {U'1', U'4', U'0', U'3', U'\uFEB3'});
    // 1403 and the blank from the left, 8 pixels each; the initial seen is the rightmost.
    ASSERT_EQ(picture.height(), 16);
    const std::pair<char32_t, int> placed[] = {
        {U'1', 0}, {U'4', 8}, {U'0', 16}, {U'3', 24}, {U'\uFEB3', picture.width() - 8}};
    for (const auto& [character, left] : placed)
        EXPECT_EQ(art(picture, left, 0, 8, 16), artOf(bitmaps.at(character))) << uint(character);
    EXPECT_EQ(art(picture, 32, 0, 8, 16), std::vector<std::string>(16, "........"));
}

}  // namespace
}  // namespace harfcode
