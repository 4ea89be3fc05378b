// The firmware's shaper against the converter: the generated header, compiled by a real C
// compiler, converts a file of lines exactly as harfcode-cli does, in every order, format and
// width, with a table of distinct codes and with one of shared and unfilled codes.
#include "support/conversion_texts.h"
#include "table/new_display_codes.h"
#include "table/table_file.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace harfcode {
namespace {

struct Finished {
    int exitCode = -1;  // -1 also when it did not finish
    QByteArray output;
    QByteArray errors;
};

Finished run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, "(did not finish)", {}};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

using Ranges = std::vector<std::pair<char32_t, char32_t>>;

// Characters of the blocks where visual order is exact, of every kind the shaper meets: Persian
// and Arabic letters and their presentation forms, marks, the half-space, ZWJ, tatweel, digits
// of three kinds, capitals and small letters, brackets, punctuation, blanks and TABs, direction
// marks, fullwidth forms, Latin-1, General Punctuation.
const Ranges kExactRanges = {
    {0x0621, 0x064A}, {0x067E, 0x067E}, {0x0686, 0x0686}, {0x0698, 0x0698}, {0x06A9, 0x06A9},
    {0x06AF, 0x06AF}, {0x06CC, 0x06CC}, {0x06C0, 0x06C1}, {0x064B, 0x0655}, {0x0670, 0x0670},
    {0x200C, 0x200F}, {0x0640, 0x0640}, {0x0030, 0x0039}, {0x0660, 0x0669}, {0x06F0, 0x06F9},
    {0x0041, 0x005A}, {0x0061, 0x007A}, {0x0020, 0x0020}, {0x0020, 0x0020}, {0x0020, 0x0020},
    {0x0009, 0x0009}, {0x0021, 0x002F}, {0x003A, 0x0040}, {0x005B, 0x0060}, {0x007B, 0x007E},
    {0x060C, 0x060C}, {0x061B, 0x061C}, {0x061F, 0x061F}, {0xFE70, 0xFEFC}, {0xFB50, 0xFBB1},
    {0xFF01, 0xFF5E}, {0x00A0, 0x00FF}, {0x0600, 0x077F}, {0x2000, 0x2028}, {0x202F, 0x2065},
    {0x0001, 0x0008}, {0x000B, 0x000B}, {0x001F, 0x001F},
};
// Characters beyond them: other scripts, emoji and marks beyond U+FFFF, the explicit embeddings
// and isolates.
const Ranges kOtherRanges = {
    {0x1F600, 0x1F64F}, {0x1D167, 0x1D169}, {0x10A01, 0x10A0F}, {0x05D0, 0x05EA}, {0x0900, 0x097F},
    {0x4E00, 0x4E20}, {0x202A, 0x202E}, {0x2066, 0x2069}, {0x0100, 0x017F},
};

QString randomLine(QRandomGenerator& random, const Ranges& ranges)
{
    QString line;
    const int length = random.bounded(40);
    for (int i = 0; i < length; ++i) {
        const auto& [first, last] = ranges[std::size_t(random.bounded(int(ranges.size())))];
        const char32_t character = first + char32_t(random.bounded(int(last - first + 1)));
        line += QString::fromUcs4(&character, 1);
    }
    return line;
}

QString writeLines(const QTemporaryDir& dir, const QString& name, const QByteArray& lines)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(lines) != lines.size())
        return {};
    return file.fileName();
}

// A line's codes, or glyphs, in any order: a text beyond the exact blocks is still converted whole.
std::string inAnyOrder(const QByteArray& line)
{
    QList<QByteArray> codes = line.split(',');
    if (codes.size() == 1) {
        const QString glyphs = QString::fromUtf8(line);
        codes.clear();
        for (const QChar glyph : glyphs)
            codes.append(QString(glyph).toUtf8());
    }
    for (QByteArray& code : codes)
        code = code.trimmed();
    std::sort(codes.begin(), codes.end());
    return codes.join(',').toStdString();
}

TEST(ShaperDifferential, ConvertsEveryLineAsTheConverterDoes)
{
    QTemporaryDir dir;
    // Cases made to test the rules, then the texts of the conversion tests, then random lines of
    // the exact blocks, then lines that are not UTF-8 (overlong forms of "/" and of beh, a
    // surrogate, beyond U+10FFFF, cut short), which the converter skips.
    QByteArray exact = QByteArray("(").repeated(70) + "ab سلام ۱۲ CD" + QByteArray(")").repeated(70) + "\n"
                       + QByteArray("[").repeated(100) + "سلام ABC ۱۲\n"
                       "ABC\tDEF سلام\tGHI ۱۲\n"
                       "۱۲\u200C۳۴ سلام 12\u200C34\n"
                       "سلام (ABC)\u064E def\n"
                       "(\u064Eسلام) AB (\u064E12)\u064E\n"
                       "سلام (ABC [def] ghi) تست\nA (ب [C] د) E\n(a(b)c)ب\n{A}[ب](1)\nA ([B ب) C\nA (B)\u064E\u0661Z\n"
                       "A\u200D\u00AD\uFEFFB سلام\u200Dتست \n"
                       "سلام ABC  \t  \n";
    const testing::ConversionTexts conversionTexts = testing::readConversionTexts(QStringLiteral(HARFCODE_CONVERSION_TEXTS));
    ASSERT_TRUE(conversionTexts.error.isEmpty()) << conversionTexts.error.toStdString();
    for (const testing::ConversionText& text : conversionTexts.texts)
        exact += text.text.toUtf8() + '\n';
    QRandomGenerator random(2026);
    for (int i = 0; i < SHAPER_RANDOM_LINES; ++i)
        exact += randomLine(random, kExactRanges).toUtf8() + '\n';
    const QList<QByteArray> inputs = exact.split('\n');
    exact += "\xC0\xAF\n\xE0\x98\xA8\n\xF0\x80\x98\xA8\n\xED\xA0\x80\n\xF4\x90\x80\x80\nA\xD8\n\n  \n";
    Ranges mixed = kExactRanges;
    mixed.insert(mixed.end(), kOtherRanges.begin(), kOtherRanges.end());
    QByteArray beyond;
    for (int i = 0; i < SHAPER_RANDOM_LINES / 10; ++i)
        beyond += randomLine(random, mixed).toUtf8() + '\n';
    const QString files[] = {writeLines(dir, "exact.txt", exact), writeLines(dir, "beyond.txt", beyond)};

    CodeStrings shared = newDisplayCodes();
    shared[4] = shared[5] = shared[6] = QStringLiteral("A1");  // three forms of beh
    shared[25] = QStringLiteral("00");                          // seen, still unfilled
    // Forms and rows do not depend on the codes: the second table is tried on codes alone.
    const std::vector<const char*> allModes = {"codes", "forms", "rows-1", "rows-5", "rows-16"};
    const struct {
        const char* name;
        CodeStrings codes;
        std::vector<const char*> modes;
    } tables[] = {{"distinct", newDisplayCodes(), allModes}, {"shared", shared, {"codes"}}};
    for (const auto& table : tables) {
        const QString tablePath = dir.filePath(QString::fromLatin1(table.name) + ".txt");
        ASSERT_FALSE(writeTableFile(tablePath, table.codes).error);
        // The header as a user writes it.
        const Finished written = run(HARFCODE_CLI_PATH, {"--shaper", "--table", tablePath, "--output", dir.filePath("shaper.h")});
        ASSERT_EQ(written.exitCode, 0) << table.name << ": " << written.errors.toStdString();
        const QString driver = dir.filePath("driver");
        const QByteArray compiled = run("cc", {"-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", "-O1", "-I", dir.path(),
                                               SHAPER_DRIVER_SOURCE, "-o", driver}).errors;
        ASSERT_TRUE(QFile::exists(driver)) << "the shaper does not build: " << compiled.toStdString();
        // The same header is C++11.
        const QString object = dir.filePath("driver.o");
        run("c++", {"-std=c++11", "-x", "c++", "-Wall", "-Wextra", "-pedantic", "-Werror", "-c", "-I", dir.path(),
                    SHAPER_DRIVER_SOURCE, "-o", object});
        ASSERT_TRUE(QFile::remove(object)) << "the shaper does not build as C++11";
        for (const QString& file : files)
            for (const char* mode : table.modes)
                for (const char* order : {"typing", "reverse", "visual"}) {
                    const QString name = QStringLiteral("%1-%2").arg(QLatin1StringView(mode), QLatin1StringView(order));
                    QStringList arguments{"--table", tablePath, "--order", order};
                    arguments += QByteArray(mode) == "forms" ? QStringList{"--format", "glyphs"}
                                                             : QStringList{"--format", "c-array"};
                    if (QByteArray(mode).startsWith("rows-"))
                        arguments += {"--width", QString::fromLatin1(mode + 5)};
                    const QStringList shell{"-c", QStringLiteral("\"$0\" \"$@\" < '%1' 2>/dev/null").arg(file),
                                            HARFCODE_CLI_PATH};
                    const QList<QByteArray> expected = run("sh", shell + arguments).output.split('\n');
                    const QList<QByteArray> actual = run(driver, {name, file}).output.split('\n');
                    // Beyond the exact blocks visual order may differ; the codes may not.
                    const bool anyOrder = file == files[1] && QByteArray(order) == "visual";
                    ASSERT_GT(expected.size(), file == files[0] ? SHAPER_RANDOM_LINES : SHAPER_RANDOM_LINES / 10);
                    for (qsizetype line = 0; line < std::max(expected.size(), actual.size()); ++line) {
                        const QByteArray want = expected.value(line), got = actual.value(line);
                        ASSERT_EQ(anyOrder ? inAnyOrder(got) : got.toStdString(), anyOrder ? inAnyOrder(want) : want.toStdString())
                            << table.name << ", " << QFileInfo(file).fileName().toStdString() << ", " << name.toStdString()
                            << ", output line " << line + 1
                            << (name.startsWith("rows") || file == files[1] ? "" : ", the line " + inputs.value(line).toStdString());
                    }
                }
    }
}

}  // namespace
}  // namespace harfcode
