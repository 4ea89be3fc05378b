// A text's sample for a preview: each glyph's slot, what is wrong with it, and its place in
// the sample picture.
#include "font/display_sample.h"
#include "support/test_bdf_font.h"

#include <gtest/gtest.h>

#include <map>

namespace harfcode {
namespace {

std::unique_ptr<FontFace> tinyFace()
{
    auto opened = FontFace::fromBytes(tinyTestFont(), 4);
    if (const QString* reason = std::get_if<QString>(&opened))
        ADD_FAILURE() << reason->toStdString();
    return std::get<std::unique_ptr<FontFace>>(std::move(opened));
}

// The tiny font's glyphs at these codes, then `changes`; the digit 2 has a glyph but no code.
CodeStrings codesWith(const std::map<int, const char*>& changes)
{
    CodeStrings codes = defaultCodeStrings();
    std::map<int, const char*> all{{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}, {65, "31"}, {68, "34"}, {74, "41"}};
    for (const auto& [slot, code] : changes)
        all[slot] = code;
    for (const auto& [slot, code] : all)
        codes[std::size_t(slot - 1)] = code;
    return codes;
}

using Mark = SlotGlyph::Mark;

struct Place {
    Slot slot;
    qint64 x;
    int advance;
    Mark mark;
    bool operator==(const Place&) const = default;
};

void PrintTo(const Place& p, std::ostream* out) { *out << "{slot " << p.slot << " at " << p.x << " +" << p.advance << " mark " << int(p.mark) << '}'; }

std::vector<Place> placesOf(const DisplaySample& sample, std::size_t row)
{
    std::vector<Place> places;
    for (std::size_t i = 0; i < sample.slots[row].size(); ++i)
        places.push_back({sample.slots[row][i], sample.layout.rows[row][i].x, sample.layout.rows[row][i].advance,
                          sample.glyphs[row][i].mark});
    return places;
}

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
    };
    const Case cases[] = {
        {"visual order: 1 4, the blank, meem, alef, lam, seen", {}, salam + QString::fromUtf8(" ۱۴"), DisplayOrder::Visual, 0,
         {{{65, 0, 3, Mark::None}, {68, 3, 3, Mark::None}, {1, 6, 2, Mark::None}, {55, 8, 3, Mark::None},
           {4, 11, 3, Mark::None}, {52, 14, 2, Mark::None}, {26, 16, 2, Mark::None}}}},
        {"the A inks left of its origin; x has no slot; 2 is unfilled", {}, QString::fromUtf8("Ax۲1"), DisplayOrder::Typing, 0,
         {{{74, 1, 2, Mark::None}, {66, 3, 0, Mark::Unfilled}, {65, 3, 3, Mark::None}}}},
        {"a word cut, the second row padded with blanks", {}, salam, DisplayOrder::Visual, 3,
         {{{4, 0, 3, Mark::None}, {52, 3, 2, Mark::None}, {26, 5, 2, Mark::None}},
          {{1, 0, 2, Mark::None}, {1, 2, 2, Mark::None}, {55, 4, 3, Mark::None}}}},
        {"a glyph the font lacks, a code not a byte", {{6, "A2"}, {68, "G4"}}, QString::fromUtf8("ب 4"), DisplayOrder::Typing, 0,
         {{{6, 0, 0, Mark::MissingGlyph}, {1, 0, 2, Mark::None}, {68, 2, 0, Mark::InvalidCode}}}},
        {"two slots share a code: both marked, the first one's glyph shown", {{66, "31"}}, QStringLiteral("21"), DisplayOrder::Typing, 0,
         {{{66, 0, 3, Mark::SharedCode}, {65, 3, 3, Mark::SharedCode}}}},
    };
    for (const Case& c : cases) {
        const CodeStrings codes = codesWith(c.changes);
        const PartialDisplayFont font = partialDisplayFont(*face, codes, Hinting::None);
        const DisplaySample sample = displaySample(font.font, codes, c.text, c.order, c.width);
        ASSERT_EQ(sample.slots.size(), c.rows.size()) << c.what;
        for (std::size_t row = 0; row < c.rows.size(); ++row)
            EXPECT_EQ(placesOf(sample, row), c.rows[row]) << c.what << ", row " << row;

        // Every glyph's ink stands in the sample picture where its place says.
        const auto drawn = sampleText(font.font, sample.drawn, 1);
        ASSERT_TRUE(std::holds_alternative<QImage>(drawn)) << c.what;
        const QImage& picture = std::get<QImage>(drawn);
        EXPECT_EQ(picture.width(), std::max<qint64>(sample.layout.width, 1)) << c.what;
        for (std::size_t row = 0; row < sample.drawn.size(); ++row) {
            for (std::size_t i = 0; i < sample.drawn[row].size(); ++i) {
                const DisplayGlyph* glyph = sample.drawn[row][i];
                if (!glyph)
                    continue;
                for (int y = 0; y < glyph->bitmap.rows; ++y)
                    for (int x = 0; x < glyph->bitmap.width; ++x)
                        if (glyph->bitmap.inkAt(x, y)) {
                            EXPECT_EQ(picture.constScanLine(int(row) * font.font.height + font.font.baseline
                                                            - glyph->bitmap.top + y)[sample.layout.rows[row][i].x
                                                                                     + glyph->bitmap.left + x],
                                      kInkShade)
                                << c.what << ", slot " << sample.slots[row][i];
                        }
            }
        }
        // What the preview marks is what the converter refuses the font for, or warns of.
        EXPECT_EQ(font.whole(), font.problems.descriptions({}).isEmpty()) << c.what;
        const auto strict = displayFont(*face, codes, Hinting::None);
        EXPECT_EQ(std::holds_alternative<DisplayFontError>(strict), !font.whole()) << c.what;
    }
}

}  // namespace
}  // namespace harfcode
