// Slot selection and the whole conversion against ICU's Arabic shaping of the same text, and
// the converter program on lines of text and on one long line in visual order, in characters
// per second.

#include "conversion/code_output.h"
#include "conversion/slot_selection.h"
#include "mixed_text.h"
#include "table/table_file.h"

#include <benchmark/benchmark.h>
#include <unicode/ushape.h>

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace {

using harfcode::bench::mixedPersianText;

constexpr qsizetype kLineLength = 45;

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

// One run of harfcode-cli reading `inputPath`, its output thrown away.
void runConverter(benchmark::State& state, const QString& inputPath, const QStringList& arguments)
{
    QProcess converter;
    converter.setStandardInputFile(inputPath);
    converter.setStandardOutputFile(QProcess::nullDevice());
    converter.start(QStringLiteral(HARFCODE_CLI_PATH), arguments);
    if (!converter.waitForFinished(-1) || converter.exitCode() != 0)
        state.SkipWithError("harfcode-cli failed");
}

// harfcode-cli as a build script runs it: lines of about 45 characters on standard input,
// default options, the output thrown away. Counts the characters of the lines, start-up included.
void BM_ConverterProgram(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("HexTable.txt"));
    if (harfcode::writeTableFile(table, sampleCodes()).error) {
        state.SkipWithError("cannot write the table");
        return;
    }
    const QString text = mixedPersianText(state.range(0));
    QByteArray lines;
    qsizetype characters = 0;
    for (qsizetype start = 0; start < text.size(); start += kLineLength) {
        const QString line = text.mid(start, kLineLength).trimmed();
        characters += line.size();
        lines += line.toUtf8() + '\n';
    }
    QFile input(dir.filePath(QStringLiteral("lines.txt")));
    if (!input.open(QIODevice::WriteOnly) || input.write(lines) != lines.size()) {
        state.SkipWithError("cannot write the input");
        return;
    }
    input.close();
    for (auto _ : state)
        runConverter(state, input.fileName(), {QStringLiteral("--table"), table});
    state.SetItemsProcessed(state.iterations() * characters);
}

// harfcode-cli putting one line of 4 MiB in visual order: `words` repeated, once with brackets
// that never close and once without. Counts the line's characters, start-up included.
void BM_ConverterProgramVisualLine(benchmark::State& state, const char* words)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("HexTable.txt"));
    if (harfcode::writeTableFile(table, sampleCodes()).error) {
        state.SkipWithError("cannot write the table");
        return;
    }
    const QByteArray line = QByteArray(words).repeated((4 << 20) / qstrlen(words)) + '\n';
    QFile input(dir.filePath(QStringLiteral("line.txt")));
    if (!input.open(QIODevice::WriteOnly) || input.write(line) != line.size()) {
        state.SkipWithError("cannot write the input");
        return;
    }
    input.close();
    for (auto _ : state)
        runConverter(state, input.fileName(), {QStringLiteral("--table"), table, QStringLiteral("--order"), QStringLiteral("visual")});
    state.SetItemsProcessed(state.iterations() * QString::fromUtf8(line.chopped(1)).size());
}

constexpr int64_t kThousand = 1'000;
constexpr int64_t kHundredThousand = 100'000;
constexpr int64_t kMillion = 1'000'000;

BENCHMARK(BM_SlotSelection)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);
BENCHMARK(BM_Conversion)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);
BENCHMARK(BM_IcuShapeArabic)->Arg(kThousand)->Arg(kHundredThousand)->Arg(kMillion);
BENCHMARK(BM_ConverterProgram)->Arg(40 * kMillion)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_CAPTURE(BM_ConverterProgramVisualLine, brackets_never_closing, "(سلام ABC [")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK_CAPTURE(BM_ConverterProgramVisualLine, no_brackets, "سلام ABC ")
    ->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
