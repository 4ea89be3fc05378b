// Breaking 1 MB of mixed text (in UTF-8) into display rows, each row shaped and put in visual
// order as a header's rows are: rows of glyphs (--width N) against rows of pixels of Wine's
// Tahoma at 12 px (--width Npx), each measured in the font.
#include "font/display_font.h"
#include "font/font_lookup.h"
#include "font/glyph_measure.h"
#include "layout/entry_rows.h"
#include "layout/pixel_rows.h"
#include "mixed_text.h"
#include "table/new_display_codes.h"

#include <benchmark/benchmark.h>

namespace {

using namespace harfcode;

const QString& megabyteOfText()
{
    static const QString text = [] {
        QString mixed = bench::mixedPersianText(1'000'000);
        while (mixed.toUtf8().size() > 1'000'000)
            mixed.chop(1000);
        return mixed;
    }();
    return text;
}

void BM_GlyphRows(benchmark::State& state)
{
    const QString& text = megabyteOfText();
    for (auto _ : state)
        benchmark::DoNotOptimize(entrySlots(text, DisplayOrder::Visual, int(state.range(0))));
}

void BM_PixelRows(benchmark::State& state)
{
    const CodeStrings codes = newDisplayCodes();
    auto opened = openFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"), 12, QString());
    if (!std::holds_alternative<OpenedFont>(opened)) {
        state.SkipWithError("Wine's Tahoma cannot be opened");
        return;
    }
    const auto font = displayFont(*std::get<OpenedFont>(opened).face, codes, Hinting::Auto);
    if (!std::holds_alternative<DisplayFont>(font)) {
        state.SkipWithError("the font lacks glyphs");
        return;
    }
    const GlyphMeasure measure = glyphMeasure(std::get<DisplayFont>(font), codes);
    const QString& text = megabyteOfText();
    for (auto _ : state)
        benchmark::DoNotOptimize(breakIntoPixelRows(text, DisplayOrder::Visual, int(state.range(0)), measure));
}

BENCHMARK(BM_GlyphRows)->Arg(21)->Arg(65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixelRows)->Arg(128)->Arg(65535)->Unit(benchmark::kMillisecond);

}  // namespace
