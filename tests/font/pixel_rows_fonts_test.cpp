// Rows in pixels with real fonts: every row fits the display and none could have taken what
// the next one starts with, each row measured here from the glyphs' bitmaps; and harfcode-cli's
// strings header, drawn with its C font header, shows what its PNG sample shows.
#include "font/glyph_measure.h"
#include "font_references.h"
#include "layout/pixel_rows.h"
#include "support/file_bytes.h"
#include "table/new_display_codes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace harfcode {
namespace {

// The slots of `text` shaped and ordered on their own, as a display row holds them.
std::vector<Slot> rowSlots(QStringView text, DisplayOrder order)
{
    std::vector<Slot> slots = slotsInOrder(text, order);
    std::erase(slots, kNoSlot);
    return slots;
}

// How far `slots` drawn one after another from a pen at 0 reach (every inked pixel of their
// bitmaps and every position of the pen), and where the pen ends.
struct Drawn {
    RowReach reach;
    qint64 advance = 0;
};
Drawn drawnSlots(const DisplayFont& font, const CodeStrings& codes, const std::vector<Slot>& slots)
{
    Drawn drawn;
    RowReach& reach = drawn.reach;
    qint64& pen = drawn.advance;
    for (const Slot slot : slots) {
        const DisplayGlyph* glyph = slotGlyph(font, codes, slot).glyph;
        if (!glyph)
            continue;
        const RenderedGlyph& bitmap = glyph->bitmap;
        for (int row = 0; row < bitmap.rows; ++row)
            for (int column = 0; column < bitmap.width; ++column)
                if (bitmap.inkAt(column, row)) {
                    reach.left = std::min(reach.left, pen + bitmap.left + column);
                    reach.right = std::max(reach.right, pen + bitmap.left + column + 1);
                }
        pen += bitmap.advance;
        reach.left = std::min(reach.left, pen);
        reach.right = std::max(reach.right, pen);
    }
    return drawn;
}

bool isBlank(QChar unit)
{
    return unit == u' ';
}

// What the rows checked so far have shown: rows that end a cut, rows that end at a break, and
// words or glyphs refused by their ink alone, their advances fitting.
struct Shown {
    int cuts = 0;
    int breaks = 0;
    int byInk = 0;
};

// The rows of `text` are the text's words in order, with nothing but blanks and characters
// without a slot left out between them or at the end; each is shaped and ordered on its own,
// fits the width (or is a single glyph that does not, from x = 0) with its pen where its reach
// ends at the right edge; and none could take the next word after a break, the next glyph
// after a cut or the blanks that close the text.
void expectGreedyRows(const DisplayFont& font, const CodeStrings& codes, const QString& text, DisplayOrder order,
                      int width, const std::vector<PixelRow>& rows, const std::string& where, Shown& shown)
{
    const auto slotsOf = [&](qsizetype start, qsizetype end) {
        return rowSlots(QStringView(text).sliced(start, end - start), order);
    };
    const auto blanksAlone = [&](qsizetype start, qsizetype end) {
        return std::ranges::all_of(slotsOf(start, end), [](Slot slot) { return slot == kBlankSlot; });
    };
    ASSERT_FALSE(rows.empty()) << where;
    qsizetype previousEnd = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const PixelRow& row = rows[r];
        const qsizetype start = row.text.data() - text.data(), end = start + row.text.size();
        const std::string at = where + ", row " + std::to_string(r) + " \"" + row.text.toString().toStdString() + '"';
        EXPECT_TRUE(start >= previousEnd && blanksAlone(previousEnd, start)) << at;
        previousEnd = end;
        EXPECT_EQ(row.slots, rowSlots(row.text, order)) << at;
        const RowReach reach = drawnSlots(font, codes, row.slots).reach;
        if (row.overflows) {
            EXPECT_EQ(row.slots.size(), 1u) << at;
            EXPECT_GT(reach.width(), width) << at;
            EXPECT_EQ(row.penStart, -reach.left) << at;
        } else {
            EXPECT_LE(reach.width(), width) << at;
            EXPECT_EQ(row.penStart, width - reach.right) << at;
            EXPECT_GE(row.penStart + reach.left, 0) << at;
        }
        qsizetype extended = text.size();
        if (r + 1 < rows.size()) {
            const qsizetype next = rows[r + 1].text.data() - text.data();
            extended = next;
            if (next == end) {  // a cut: the next glyph, with the characters without a slot after it
                ++shown.cuts;
                ++extended;
                while (extended < text.size() && slotsOf(extended, extended + 1).empty())
                    ++extended;
            } else {  // a break: the whole next word
                ++shown.breaks;
                while (extended < text.size() && !isBlank(text[extended]))
                    ++extended;
            }
        }
        if (extended == end)
            continue;
        const Drawn longer = drawnSlots(font, codes, slotsOf(start, extended));
        EXPECT_GT(longer.reach.width(), width)
            << at << " could take \"" << text.sliced(end, extended - end).toStdString() << '"';
        shown.byInk += longer.advance <= width;
    }
    EXPECT_TRUE(blanksAlone(previousEnd, text.size())) << where << ": the text's end is left out";
}

// Tahoma, DejaVu Sans and Unifont; Persian words, digits and capitals, runs of blanks, a
// character without a slot (x) and words longer than the narrower rows; every width from 20 to
// 128 pixels, so that some rows' ink reaches past their advances (ر and و left of the pen).
TEST(PixelRowsFonts, RowsFitAndNoneCouldTakeTheNextWordOrGlyph)
{
    const CodeStrings codes = newDisplayCodes();
    const struct {
        const char* file;
        int size;
        Hinting hinting;
    } fonts[] = {
        {kTahoma, 12, Hinting::Auto},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12, Hinting::Auto},
        {kUnifontFont, 16, Hinting::None},
    };
    const char* const texts[] = {
        "سلام دنیا ۱۴۰۳ قیمت LED 120 تومان",
        "  خوش   آمدید به HARFCODE 2024  ",
        "مستقلابرنامهنویسیپیشرفته و دیگر",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 یک x دو",
        "می\u200Cشود ؟ WWW.MMM! گفتگو",
        "کار دور روز نور بازار JJ سرو",
        // A joining flag carries across brackets and digits: a word's forms depend on the row before it.
        "بند (ب) قانون",
        "!!۱ عA یَ۱ (پ) 12ب",
    };
    Shown shown;
    for (const auto& f : fonts) {
        const std::optional<DisplayFont> font = renderedFont(f.file, f.size, codes, f.hinting);
        ASSERT_TRUE(font) << f.file;
        const GlyphMeasure measure = glyphMeasure(*font, codes);
        for (const char* utf8 : texts)
            for (int width = 20; width <= 128; ++width)
                for (const DisplayOrder order : {DisplayOrder::Visual, DisplayOrder::Reverse}) {
                    const QString text = QString::fromUtf8(utf8);
                    expectGreedyRows(*font, codes, text, order, width, breakIntoPixelRows(text, order, width, measure),
                                     std::string(f.file) + ", " + utf8 + ", " + std::to_string(width) + " px, order "
                                         + std::to_string(int(order)),
                                     shown);
                }
    }
    EXPECT_GT(shown.cuts, 100);
    EXPECT_GT(shown.breaks, 100);
    EXPECT_GT(shown.byInk, 10);
}

// Each entry's rows drawn from the header's codes with the C header's loop, the pen of row r at
// (NAME_ROW_X[r], r times HARFCODE_FONT_HEIGHT) on a display N pixels wide, are the PNG sample
// of its text at --width Npx, pixel for pixel. Tahoma at 12 px; a long word cut, runs of
// blanks, digits and capitals.
TEST(PixelRowsFonts, TheHeadersRowsDrawnAtTheirPensAreThePngSample)
{
    QTemporaryDir dir;
    const QString cli = QStringLiteral(HARFCODE_CLI_PATH);
    ASSERT_TRUE(ran(cli, {"--new-table", dir.filePath("table.txt")}));
    const QStringList font = {"--table", dir.filePath("table.txt"), "--font", kTahoma, "--size", "12"};
    ASSERT_TRUE(ran(cli, font + QStringList{"--font-format", "c", "--output", dir.filePath("font.h")}));
    const std::pair<const char*, const char*> entries[] = {
        {"GREETING", "سلام دنیا ۱۴۰۳"},
        {"PRICE", "قیمت LED 120 تومان"},
        {"LONGWORD", "مستقلابرنامهنویسیپیشرفته"},
        {"BLANKS", "  خوش   آمدید به HARFCODE  "},
    };
    QFile strings(dir.filePath("strings.txt"));
    ASSERT_TRUE(strings.open(QIODevice::WriteOnly));
    QString drawn;
    for (const auto& [name, text] : entries) {
        strings.write(QByteArray(name) + '=' + text + '\n');
        drawn += QStringLiteral("X(%1)").arg(QLatin1StringView(name));
    }
    strings.close();
    const QByteArray fontHeader = bytesOf(dir.filePath("font.h"));
    for (const char* width : {"64", "128"})
        for (const char* order : {"visual", "reverse"}) {
            const QStringList rows = {"--width", QString::fromLatin1(width) + "px", "--order", order};
            const QStringList header = {"--header", dir.filePath("strings.txt"), "--output", dir.filePath("strings.h")};
            ASSERT_TRUE(ran(cli, font + rows + header));
            std::string shown;
            for (const auto& [name, text] : entries) {
                const QStringList sample = {"--font-format", "png", "--zoom", "1", "--sample", QString::fromUtf8(text),
                                            "--output", dir.filePath("sample.png")};
                ASSERT_TRUE(ran(cli, font + rows + sample));
                shown += plainPbm(QImage(dir.filePath("sample.png")));
            }
            const std::optional<QByteArray> pbm =
                runWithFontHeader(fontHeader + bytesOf(dir.filePath("strings.h")),
                                  {"HARFCODE_STRINGS_IMPLEMENTATION", "DRAW_ROWS=" + drawn}, {width});
            ASSERT_TRUE(pbm) << width << " px, " << order;
            EXPECT_EQ(pbm->toStdString(), shown) << width << " px, " << order;
        }
}

}  // namespace
}  // namespace harfcode
