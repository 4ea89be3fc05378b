// The firmware's shaper against the converter: the generated header, compiled by a real C
// compiler, converts a file of lines exactly as harfcode-cli does, in every order, format and
// width, with a table of distinct codes and with one of shared and unfilled codes.
#include "shaper/shaper_header.h"
#include "table/new_display_codes.h"
#include "table/table_file.h"
#include "conversion/code_output.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

QByteArray run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return "(did not finish)";
    return process.readAllStandardOutput();
}

// Characters of every kind the shaper meets: Persian and Arabic letters and their presentation
// forms, marks, the half-space, ZWJ, tatweel, digits of three kinds, capitals and small
// letters, brackets, punctuation, blanks and TABs, direction marks, fullwidth forms, Latin-1,
// and characters beyond U+FFFF, marks among them.
QString randomLine(QRandomGenerator& random)
{
    static const std::vector<std::pair<char32_t, char32_t>> ranges = {
        {0x0621, 0x064A}, {0x067E, 0x067E}, {0x0686, 0x0686}, {0x0698, 0x0698}, {0x06A9, 0x06A9},
        {0x06AF, 0x06AF}, {0x06CC, 0x06CC}, {0x06C0, 0x06C1}, {0x064B, 0x0655}, {0x0670, 0x0670},
        {0x200C, 0x200F}, {0x0640, 0x0640}, {0x0030, 0x0039}, {0x0660, 0x0669}, {0x06F0, 0x06F9},
        {0x0041, 0x005A}, {0x0061, 0x007A}, {0x0020, 0x0020}, {0x0020, 0x0020}, {0x0020, 0x0020},
        {0x0009, 0x0009}, {0x0021, 0x002F}, {0x003A, 0x0040}, {0x005B, 0x0060}, {0x007B, 0x007E},
        {0x060C, 0x060C}, {0x061B, 0x061C}, {0x061F, 0x061F}, {0xFE70, 0xFEFC}, {0xFB50, 0xFBB1},
        {0xFF01, 0xFF5E}, {0x00A0, 0x00FF}, {0x0600, 0x077F}, {0x1F600, 0x1F64F}, {0x1D167, 0x1D169},
        {0x10A01, 0x10A0F},
    };
    QString line;
    const int length = random.bounded(40);
    for (int i = 0; i < length; ++i) {
        const auto& [first, last] = ranges[std::size_t(random.bounded(int(ranges.size())))];
        const char32_t character = first + char32_t(random.bounded(int(last - first + 1)));
        line += QString::fromUcs4(&character, 1);
    }
    return line;
}

SlotCodes slotCodesOf(const CodeStrings& codes)
{
    SlotCodes bytes{};
    for (int slot = 1; slot <= kSlotCount; ++slot)
        bytes[std::size_t(slot - 1)] = codeByte(codes[std::size_t(slot - 1)]).value_or(0);
    return bytes;
}

TEST(ShaperDifferential, ConvertsEveryLineAsTheConverterDoes)
{
    QTemporaryDir dir;
    QByteArray lines;
    QRandomGenerator random(2026);
    for (int i = 0; i < 20'000; ++i)
        lines += randomLine(random).toUtf8() + '\n';
    // Not UTF-8: overlong, a surrogate, beyond U+10FFFF, cut short; the converter skips them.
    const QList<QByteArray> inputs = lines.split('\n');
    lines += "\xC0\xAF\n\xED\xA0\x80\n\xF4\x90\x80\x80\nA\xD8\n\n  \n";
    QFile linesFile(dir.filePath("lines.txt"));
    ASSERT_TRUE(linesFile.open(QIODevice::WriteOnly) && linesFile.write(lines) == lines.size());
    linesFile.close();

    CodeStrings shared = newDisplayCodes();
    shared[4] = shared[5] = shared[6] = QStringLiteral("A1");  // three forms of beh
    shared[25] = QStringLiteral("00");                          // seen, still unfilled
    const struct {
        const char* name;
        CodeStrings codes;
    } tables[] = {{"distinct", newDisplayCodes()}, {"shared", shared}};
    const char* const modes[] = {"codes", "forms", "rows-1", "rows-5", "rows-16"};
    for (const auto& table : tables) {
        const QString tablePath = dir.filePath(QString::fromLatin1(table.name) + ".txt");
        ASSERT_FALSE(writeTableFile(tablePath, table.codes).error);
        const QString header = dir.filePath("shaper.h");
        QFile headerFile(header);
        ASSERT_TRUE(headerFile.open(QIODevice::WriteOnly));
        headerFile.write(shaperHeader(slotCodesOf(table.codes), {"harfcode-cli test", "harfcode-cli --shaper", tablePath,
                                                                  "harfcode", false}));
        headerFile.close();
        const QString driver = dir.filePath("driver");
        const QByteArray compiled = run("cc", {"-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", "-O1", "-I", dir.path(),
                                               SHAPER_DRIVER_SOURCE, "-o", driver});
        ASSERT_TRUE(QFile::exists(driver)) << "the shaper does not build: " << compiled.toStdString();
        for (const char* mode : modes)
            for (const char* order : {"typing", "reverse"}) {
                const QString name = QStringLiteral("%1-%2").arg(QLatin1StringView(mode), QLatin1StringView(order));
                QStringList arguments{"--table", tablePath, "--order", order};
                arguments += QByteArray(mode) == "forms" ? QStringList{"--format", "glyphs"} : QStringList{"--format", "c-array"};
                if (QByteArray(mode).startsWith("rows-"))
                    arguments += {"--width", QString::fromLatin1(mode + 5)};
                const QStringList shell{"-c", QStringLiteral("\"$0\" \"$@\" < '%1' 2>/dev/null").arg(linesFile.fileName()),
                                        HARFCODE_CLI_PATH};
                const QList<QByteArray> expected = run("sh", shell + arguments).split('\n');
                const QList<QByteArray> actual = run(driver, {name, linesFile.fileName()}).split('\n');
                ASSERT_GT(expected.size(), 20'000) << name.toStdString();
                for (qsizetype line = 0; line < std::max(expected.size(), actual.size()); ++line)
                    ASSERT_EQ(actual.value(line).toStdString(), expected.value(line).toStdString())
                        << table.name << ", " << name.toStdString() << ", output line " << line + 1
                        << (name.startsWith("rows") ? "" : ", the line " + inputs.value(line).toStdString());
            }
    }
}

}  // namespace
}  // namespace harfcode
