// harfcode-cli exporting the display's font from Wine's Tahoma at 12 px, start-up included, as a
// firmware build runs it once per format.
#include "table/new_display_codes.h"
#include "table/table_file.h"

#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const char* const kFormats[] = {"bdf", "c", "gfx", "png"};

void BM_FontExport(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString table = dir.filePath(QStringLiteral("HexTable.txt"));
    if (harfcode::writeTableFile(table, harfcode::newDisplayCodes()).error) {
        state.SkipWithError("cannot write the table");
        return;
    }
    const QString format = QString::fromLatin1(kFormats[state.range(0)]);
    state.SetLabel(format.toStdString());
    for (auto _ : state) {
        QProcess converter;
        converter.start(QStringLiteral(HARFCODE_CLI_PATH),
                        {"--font", "/usr/share/wine/fonts/tahoma.ttf", "--size", "12", "--table", table,
                         "--font-format", format, "--output", dir.filePath("font")});
        if (!converter.waitForFinished(-1) || converter.exitCode() != 0)
            state.SkipWithError("harfcode-cli failed");
    }
}

BENCHMARK(BM_FontExport)->DenseRange(0, std::size(kFormats) - 1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
