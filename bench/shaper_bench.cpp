// The firmware's shaper, compiled for this machine, against the converter's own conversion of
// one line (LineConverter, as harfcode-cli converts it) on the same UTF-8 text, both writing
// the codes as bytes, in characters per second. The shaper's header is written at build time by
// harfcode-cli --shaper with a new table's codes.

#define HARFCODE_SHAPER_IMPLEMENTATION
#include "shaper.h"

#include "lines/line_converter.h"
#include "mixed_text.h"
#include "table/new_display_codes.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using harfcode::bench::mixedPersianText;

// Throws each piece of the output away as it is written, as a display that takes the bytes would.
class DroppedOutput : public harfcode::LineOutput {
public:
    QByteArray& pending() override { return m_pending; }
    void written() override
    {
        benchmark::DoNotOptimize(m_pending.constData());
        m_pending.clear();
    }

private:
    QByteArray m_pending;
};

void setCharacterRate(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ShaperCodes(benchmark::State& state, harfcode_order order)
{
    const QByteArray text = mixedPersianText(state.range(0)).toUtf8();
    const auto length = static_cast<std::size_t>(text.size());
    // No more codes than bytes; visual order needs its scratch.
    std::vector<uint8_t> codes(length);
    std::vector<unsigned char> scratch(order == HARFCODE_VISUAL ? HARFCODE_SCRATCH_SIZE(length) : 0);
    for (auto _ : state) {
        const std::size_t count = harfcode_codes(text.constData(), length, order, codes.data(), codes.size(),
                                                 scratch.data(), scratch.size());
        if (count > codes.size())
            state.SkipWithError("the shaper refused the text");
        benchmark::DoNotOptimize(codes.data());
    }
    setCharacterRate(state);
}

// Half the characters brackets that open and never close, the other half closing ones that
// pair with none: each closing bracket would walk all those open if the shaper searched for its
// pair, so the rate at 100,000 characters against 1,000 shows whether the cost stays linear.
void BM_ShaperUnpairedBrackets(benchmark::State& state)
{
    const auto half = static_cast<qsizetype>(state.range(0) / 2);
    const QByteArray text = QByteArray(half, '(') + QByteArray(half, ']');
    const auto length = static_cast<std::size_t>(text.size());
    std::vector<uint8_t> codes(length);
    std::vector<unsigned char> scratch(HARFCODE_SCRATCH_SIZE(length));
    for (auto _ : state) {
        if (harfcode_codes(text.constData(), length, HARFCODE_VISUAL, codes.data(), codes.size(), scratch.data(),
                           scratch.size())
            > codes.size())
            state.SkipWithError("the shaper refused the text");
        benchmark::DoNotOptimize(codes.data());
    }
    setCharacterRate(state);
}

void BM_ConverterLine(benchmark::State& state, harfcode::DisplayOrder order)
{
    const QByteArray text = mixedPersianText(state.range(0)).toUtf8();
    const harfcode::CodeStrings codes = harfcode::newDisplayCodes();  // the converter keeps a reference
    harfcode::ConversionWarnings warnings([](const harfcode::ConversionWarning&) {});
    harfcode::LineConverter converter({order, harfcode::CodeFormat::Bytes, 0}, codes, warnings);
    DroppedOutput output;
    for (auto _ : state) {
        if (converter.convert(text, 1, output))
            state.SkipWithError("the converter skipped the text");
    }
    setCharacterRate(state);
}

constexpr int64_t kThousand = 1'000;
constexpr int64_t kHundredThousand = 100'000;

BENCHMARK_CAPTURE(BM_ShaperCodes, typing, HARFCODE_TYPING)->Arg(kThousand)->Arg(kHundredThousand);
BENCHMARK_CAPTURE(BM_ConverterLine, typing, harfcode::DisplayOrder::Typing)->Arg(kThousand)->Arg(kHundredThousand);
BENCHMARK_CAPTURE(BM_ShaperCodes, visual, HARFCODE_VISUAL)->Arg(kThousand)->Arg(kHundredThousand);
BENCHMARK_CAPTURE(BM_ConverterLine, visual, harfcode::DisplayOrder::Visual)->Arg(kThousand)->Arg(kHundredThousand);
BENCHMARK(BM_ShaperUnpairedBrackets)->Arg(kThousand)->Arg(kHundredThousand);

}  // namespace
