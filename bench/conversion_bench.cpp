// Slot selection and the whole conversion against ICU's Arabic shaping of the same text,
// in characters per second.

#include "conversion/code_output.h"
#include "conversion/slot_selection.h"

#include <benchmark/benchmark.h>
#include <unicode/ushape.h>

#include <QString>
#include <QStringList>

#include <vector>

namespace {

// Persian words with Latin capitals, digits and punctuation, as a display's text mixes them.
QString mixedPersianText(qsizetype length)
{
    const QStringList words = {
        QString::fromUtf8("سلام"),  QString::fromUtf8("کتاب"),   QString::fromUtf8("گل"),
        QString::fromUtf8("ایران"), QString::fromUtf8("عشق"),    QString::fromUtf8("بهار"),
        QString::fromUtf8("۱۴۰۳"), QStringLiteral("LED"),       QStringLiteral("42"),
        QString::fromUtf8("خوش"),   QString::fromUtf8("آمدید!"), QString::fromUtf8("چطوری؟"),
    };
    QString text;
    text.reserve(length);
    for (qsizetype i = 0; text.size() < length; ++i)
        text += words[i % words.size()] + u' ';
    text.truncate(length);
    return text;
}

harfcode::CodeStrings sampleCodes()
{
    harfcode::CodeStrings codes;
    for (int slot = 1; slot <= harfcode::kSlotCount; ++slot)
        codes[slot - 1] = QStringLiteral("%1").arg(slot, 2, 16, QLatin1Char('0')).toUpper();
    return codes;
}

void setCharacterRate(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SlotSelection(benchmark::State& state)
{
    const QString text = mixedPersianText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(harfcode::selectSlots(text));
    setCharacterRate(state);
}

void BM_Conversion(benchmark::State& state)
{
    const QString text = mixedPersianText(state.range(0));
    const harfcode::CodeStrings codes = sampleCodes();
    harfcode::ConversionOutput output;  // reused, as the window reuses it at every keystroke
    for (auto _ : state) {
        harfcode::convertText(text, codes, output);
        benchmark::DoNotOptimize(output.typingOrder.constData());
    }
    setCharacterRate(state);
}

void BM_IcuShapeArabic(benchmark::State& state)
{
    const QString text = mixedPersianText(state.range(0));
    std::vector<UChar> shaped(static_cast<std::size_t>(text.size()));
    for (auto _ : state) {
        UErrorCode status = U_ZERO_ERROR;
        u_shapeArabic(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()),
                      shaped.data(), static_cast<int32_t>(shaped.size()),
                      U_SHAPE_LETTERS_SHAPE | U_SHAPE_TEXT_DIRECTION_LOGICAL, &status);
        if (U_FAILURE(status))
            state.SkipWithError(u_errorName(status));
        benchmark::DoNotOptimize(shaped.data());
    }
    setCharacterRate(state);
}

constexpr int64_t kThousand = 1'000;
constexpr int64_t kHundredThousand = 100'000;
constexpr int64_t kMillion = 1'000'000;

BENCHMARK(BM_SlotSelection)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);
BENCHMARK(BM_Conversion)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);
BENCHMARK(BM_IcuShapeArabic)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);

}  // namespace

BENCHMARK_MAIN();
