// The pictures of the display's font: a text's sample and what a preview marks in it, the
// sheet of every glyph, and the PNG file they are written to.
#include "font/display_sample.h"
#include "font/font_pictures.h"
#include "font/png_format.h"
#include "font_references.h"
#include "layout/entry_rows.h"
#include "support/test_bdf_font.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <tuple>

namespace harfcode {
namespace {

// A picture as text, a character a pixel: "#" ink, "+" label, "|" grid line, "." paper.
std::vector<std::string> art(const QImage& picture, int left = 0, int top = 0, int width = -1, int height = -1)
{
    std::vector<std::string> rows;
    for (int y = top; y < top + (height < 0 ? picture.height() : height); ++y) {
        std::string& row = rows.emplace_back();
        for (int x = left; x < left + (width < 0 ? picture.width() : width); ++x) {
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

// The tiny font's glyphs at these codes, then `changes`; the digit 2 has a glyph but no code.
CodeStrings tinyCodes(const std::map<int, const char*>& changes = {})
{
    CodeStrings codes = defaultCodeStrings();
    std::map<int, const char*> all{{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}, {65, "31"}, {68, "34"}, {74, "41"}};
    for (const auto& [slot, code] : changes)
        all[slot] = code;
    for (const auto& [slot, code] : all)
        codes[std::size_t(slot - 1)] = code;
    return codes;
}

std::unique_ptr<FontFace> tinyFace()
{
    return openedFont(FontFace::fromBytes(tinyTestFont(), 4));
}

QImage picture(std::variant<QImage, QString> drawn)
{
    if (const QString* reason = std::get_if<QString>(&drawn))
        ADD_FAILURE() << reason->toStdString();
    return std::get<QImage>(std::move(drawn));
}

// Zoomed, every pixel is a square.
void expectZoomed(const QImage& small, const QImage& zoomed, int zoom)
{
    ASSERT_EQ(zoomed.size(), small.size() * zoom) << zoom;
    int differences = 0;
    for (int y = 0; y < zoomed.height(); ++y)
        for (int x = 0; x < zoomed.width(); ++x)
            differences += zoomed.constScanLine(y)[x] != small.constScanLine(y / zoom)[x / zoom];
    EXPECT_EQ(differences, 0) << zoom;
}

using Mark = SlotGlyph::Mark;
using Place = std::tuple<int, qint64, int, Mark>;  // slot, x, advance, mark

// Each glyph's slot and place, what is wrong with it, and the sample picture that the converter
// writes and a preview shows, from the glyphs at these places.
TEST(DisplaySample, PlacesEachGlyphWhereTheSamplePictureDrawsItAndMarksWhatCannotShow)
{
    const auto face = tinyFace();
    const QString salam = QString::fromUtf8("سلام");
    struct Case {
        const char* what;
        std::map<int, const char*> changes;
        QString text;
        DisplayOrder order;
        int width;
        std::vector<std::vector<Place>> rows;
        std::vector<std::string> picture;
    };
    const Case cases[] = {
        // The seen's ink ends past its advance.
        {"visual order: 1 4, the blank, meem, alef, lam, seen", {}, salam + QString::fromUtf8(" ۱۴"), DisplayOrder::Visual, 0,
         {{{65, 0, 3, Mark::None}, {68, 3, 3, Mark::None}, {1, 6, 2, Mark::None}, {55, 8, 3, Mark::None},
           {4, 11, 3, Mark::None}, {52, 14, 2, Mark::None}, {26, 16, 2, Mark::None}}},
         {".#.#.......#..#....",
          "##.##......#..#.#.#",
          ".#..#...##.##.#.###",
          "........#.........."}},
        // Both take no room in the picture.
        {"the A inks left of its origin; x has no slot; 2 is unfilled", {}, QString::fromUtf8("Ax۲1"), DisplayOrder::Typing, 0,
         {{{74, 1, 2, Mark::None}, {66, 3, 0, Mark::Unfilled}, {65, 3, 3, Mark::None}}},
         {"....#.",
          "##.##.",
          "#...#.",
          "......"}},
        {"a word cut, the second row right-aligned by two blanks", {}, salam, DisplayOrder::Visual, 3,
         {{{4, 0, 3, Mark::None}, {52, 3, 2, Mark::None}, {26, 5, 2, Mark::None}},
          {{1, 0, 2, Mark::None}, {1, 2, 2, Mark::None}, {55, 4, 3, Mark::None}}},
         {"#..#....",
          "#..#.#.#",
          "##.#.###",
          "........",
          "........",
          "........",
          "....##..",
          "....#..."}},
        {"a glyph the font lacks, a code not a byte", {{6, "A2"}, {68, "G4"}}, QString::fromUtf8("ب 4"), DisplayOrder::Typing, 0,
         {{{6, 0, 0, Mark::MissingGlyph}, {1, 0, 2, Mark::None}, {68, 2, 0, Mark::InvalidCode}}},
         {"..", "..", "..", ".."}},
        {"two slots share a code: both marked, the first one's glyph shown", {{66, "31"}}, QStringLiteral("21"), DisplayOrder::Typing, 0,
         {{{66, 0, 3, Mark::SharedCode}, {65, 3, 3, Mark::SharedCode}}},
         {".#..#.",
          "##.##.",
          ".#..#.",
          "......"}},
        {"nothing to show", {}, QStringLiteral("x"), DisplayOrder::Visual, 0, {{}}, {".", ".", ".", "."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CodeStrings codes = tinyCodes(c.changes);
        const PartialDisplayFont font = partialDisplayFont(*face, codes, Hinting::None);
        const DisplaySample sample = displaySample(font.font, codes, c.text, c.order, RowWidth{c.width, false});
        std::vector<std::vector<Place>> rows;
        for (std::size_t row = 0; row < sample.slots.size(); ++row) {
            std::vector<Place>& places = rows.emplace_back();
            for (std::size_t i = 0; i < sample.slots[row].size(); ++i)
                places.emplace_back(sample.slots[row][i], sample.layout.rows[row][i].x, sample.layout.rows[row][i].advance,
                                    sample.glyphs[row][i].mark);
        }
        EXPECT_EQ(rows, c.rows);
        const QImage drawn = picture(sampleText(font.font, sample.drawn, 1));
        EXPECT_EQ(art(drawn), c.picture);
        expectZoomed(drawn, picture(sampleText(font.font, sample.drawn, 3)), 3);
        // From the codes, as the converter draws a font it takes.
        if (c.changes.empty()) {
            EXPECT_EQ(art(picture(sampleText(font.font, entryCodes(c.text, codes, c.order, c.width).rows, 1))), c.picture);
        }
        // What the preview marks is what the converter refuses the font for, or warns of.
        EXPECT_EQ(font.whole(), font.problems.descriptions({}).isEmpty());
        EXPECT_EQ(std::holds_alternative<DisplayFontError>(displayFont(*face, codes, Hinting::None)), !font.whole());
    }
}

TEST(FontPictures, TheSheetLabelsEveryCodeInUseInItsCell)
{
    const auto face = tinyFace();
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    const HexDigitGlyphs labels = hexDigitGlyphs(*face, Hinting::None);
    EXPECT_EQ(labels.missing, "0356789BCDEF");
    const QImage sheet = picture(glyphSheet(font, labels, 1));
    // Cells of 8 × 10 inside a margin and a grid line: the glyphs reach from 1 left of the
    // origin to 3 right of it, the labels (the 3 × 5 digits) 8 wide; 5 rows of label, one
    // free, the font's 4.
    EXPECT_EQ(sheet.size(), QSize(16 * 11 + 1, 16 * 13 + 1));
    std::vector<std::string> empty(14, "|..........|");
    empty.front() = empty.back() = "||||||||||||";
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
        {0x00, empty},
    };
    for (const Cell& cell : cells)
        EXPECT_EQ(art(sheet, (cell.code & 0xF) * 11, (cell.code >> 4) * 13, 12, 14), cell.picture) << cell.code;
    for (const int zoom : {2, 16})
        expectZoomed(sheet, picture(glyphSheet(font, labels, zoom)), zoom);
}

TEST(FontPictures, TheLabelsAreTheFontsOwnDigitsWhereItHasAll)
{
    // Digit v: a column of ink beside the bits of v, the highest on top.
    std::array<std::vector<std::string_view>, 16> rows;
    std::vector<TestGlyph> digits;
    for (std::size_t value = 0; value < 16; ++value) {
        for (int bit = 3; bit >= 0; --bit)
            rows[value].push_back((value >> bit) & 1 ? "##" : "#.");
        digits.push_back({char32_t("0123456789ABCDEF"[value]), 0, 0, 3, rows[value]});
    }
    const auto face = openedFont(FontFace::fromBytes(bdfTestFont(4, 4, 0, digits), 4));
    const HexDigitGlyphs labels = hexDigitGlyphs(*face, Hinting::None);
    EXPECT_EQ(labels.missing, "");
    for (std::size_t value = 0; value < 16; ++value) {
        const RenderedGlyph& digit = labels.digits[value];
        std::vector<std::string> ink(std::size_t(digit.rows), std::string(std::size_t(digit.width), '.'));
        for (int row = 0; row < digit.rows; ++row)
            for (int column = 0; column < digit.width; ++column)
                ink[std::size_t(row)][std::size_t(column)] = digit.inkAt(column, row) ? '#' : '.';
        EXPECT_EQ(ink, std::vector<std::string>(rows[value].begin(), rows[value].end())) << value;
        EXPECT_EQ(digit.advance, 3) << value;
    }
}

TEST(FontPictures, APictureTooLargeIsRefusedNotDrawn)
{
    const auto face = tinyFace();
    const DisplayFont font = renderedFont(face.get(), tinyCodes(), Hinting::None).value();
    const struct {
        int codes;  // of the digit 1, 3 pixels each
        int zoom;
        const char* size;
    } cases[] = {{333'334, 1, "1000002 × 4 pixels"} /* too wide, though small */, {1'500, kMaxZoom, "288000 × 256 pixels"}};
    for (const auto& c : cases) {
        const auto drawn = sampleText(font, {QByteArray(c.codes, '\x31')}, c.zoom);
        ASSERT_TRUE(std::holds_alternative<QString>(drawn)) << c.size;
        EXPECT_TRUE(std::get<QString>(drawn).contains(QString::fromUtf8(c.size))) << std::get<QString>(drawn).toStdString();
    }
}


TEST(PngFormat, HoldsThePictureAndItsNotesTheSameEveryTime)
{
    QImage picture(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.scanLine(y)[x] = uchar((x * 7 + y * 31) * 11);
    const FontExportSource source{"harfcode-cli 1.0", "harfcode-cli --font Unifont --size 16 --font-format png",
                                  "/fonts/unifont.otf", "Unifont", QString::fromUtf8("© GNU"), 16};
    const auto first = pngFile(picture, source);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(first));
    EXPECT_EQ(first, pngFile(picture, source));

    const QImage read = QImage::fromData(std::get<QByteArray>(first), "PNG");
    EXPECT_EQ(read.convertToFormat(QImage::Format_Grayscale8), picture);
    const std::pair<const char*, QString> notes[] = {
        {"Software", "harfcode-cli 1.0"},
        {"Source", "/fonts/unifont.otf (Unifont, 16 px)"},
        {"Comment", "Command: harfcode-cli --font Unifont --size 16 --font-format png"},
        {"Copyright", QString::fromUtf8("© GNU")},
    };
    for (const auto& [key, text] : notes)
        EXPECT_EQ(read.text(key), text) << key;
}

}  // namespace
}  // namespace harfcode
