#include "support/font_collection.h"
#include "support/test_bdf_font.h"
#include "table/table_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace harfcode {
namespace {

const QString kCli = QStringLiteral(HARFCODE_CLI_PATH);

struct Finished {
    int exitCode;
    QByteArray out;
    QString err;
};

// Runs `program` with `input` on its standard input, in `folder` where one is given.
Finished run(const QString& program, const QStringList& arguments, const QByteArray& input = {}, const QString& folder = {})
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000)) << arguments.join(u' ').toStdString();
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
}

Finished run(const QStringList& arguments) { return run(kCli, arguments); }

// One converter command, its status, its output bytes and its standard error: exactly one line
// for each part expected, in that order.
struct CliRun {
    QString program;
    QStringList arguments;
    QByteArray input;
    int exitCode;
    QByteArray out;
    QStringList errParts;
};

void check(const CliRun& c)
{
    const std::string what = c.arguments.join(u' ').toStdString();
    const Finished finished = run(c.program, c.arguments, c.input);
    EXPECT_EQ(finished.exitCode, c.exitCode) << what << "\n" << finished.err.toStdString();
    EXPECT_EQ(finished.out, c.out) << what;
    const QStringList errLines = finished.err.split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression("^harfcode-cli: "));
    EXPECT_EQ(errLines.size(), c.errParts.size()) << what << "\n" << finished.err.toStdString();
    for (qsizetype i = 0; i < std::min(errLines.size(), c.errParts.size()); ++i)
        EXPECT_TRUE(errLines[i].contains(c.errParts[i])) << what << "\n" << finished.err.toStdString();
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
    return path;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// A table file in `dir` with these codes over the first start's "00".
QString writeTable(const QTemporaryDir& dir, const QString& name, std::initializer_list<std::pair<int, const char*>> codes)
{
    CodeStrings table = defaultCodeStrings();
    for (auto [slot, code] : codes)
        table[slot - 1] = code;
    const QString path = dir.filePath(name);
    EXPECT_FALSE(writeTableFile(path, table).error);
    return path;
}

TEST(Cli, ConvertsPrintsAndExitsAsDocumented)
{
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt",
        {{1, "20"}, {3, "0A"}, {4, "0B"}, {5, "A1"}, {21, "D1"}, {26, "B3"}, {52, "C4"}, {53, "C5"}, {55, "D5"},
         {56, "E6"}, {62, "F2"}, {64, "30"}, {65, "31"}, {67, "33"}, {68, "34"}, {74, "41"}});
    const QString invalid = writeTable(dir, "invalid.txt", {{1, "20"}, {4, "0B"}, {5, "G1"}, {74, "41"}});
    const QString unfilled = writeTable(dir, "unfilled.txt", {});
    const QString shared = writeTable(dir, "shared.txt", {{5, "A1"}, {6, "A1"}, {74, "41"}});
    const QString surplus = writeFile(dir.filePath("surplus.txt"), contentsOf(table) + QByteArray("9\0009\000\r\000\n\000", 8));
    ASSERT_TRUE(QFile::copy(kCli, dir.filePath("harfcode-cli")));  // finds HexTable.txt beside it
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    // A named pipe as the default table, beside a copy of the converter.
    ASSERT_TRUE(QDir(dir.path()).mkdir("piped"));
    ASSERT_TRUE(QFile::copy(kCli, dir.filePath("piped/harfcode-cli")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("piped/HexTable.txt")).constData(), 0600), 0);

    const QString salam = QString::fromUtf8("سلام");
    const QString year = QString::fromUtf8("سلام ۱۴۰۳");
    const QString missing = dir.filePath("missing.txt");
    const QString slotsAlone = "--slots cannot be combined";
    const CliRun cases[] = {
        {kCli, {"--table", table, salam + " A"}, {}, 0, "B3  C4  0B  D5  20  41\n", {}},
        {kCli, {"--table", table, "--reverse", salam}, {}, 0, "D5  0B  C4  B3\n", {}},
        {kCli, {"--table", missing, "--slots", salam + " xA"}, {}, 0, "26 52 4 55 1 - 74\n", {}},
        {dir.filePath("harfcode-cli"), {"A"}, {}, 0, "41\n", {}},
        {kCli, {"--table", table}, salam.toUtf8() + "\r\n\nA\n" + salam.toUtf8(), 0, "B3  C4  0B  D5\n\n41\nB3  C4  0B  D5\n", {}},
        // A cut sequence, a lone one at a line's end, an encoded surrogate, an overlong form.
        {kCli, {"--table", table}, "A\n\xD8\nA A\n\xE2\x82\n\xED\xA0\x80\n\xC0\xAF\n", 1, "41\n41  20  41\n",
         {"line 2 is not valid UTF-8", "line 4 is not valid UTF-8", "line 5 is not", "line 6 is not"}},
        {"/bin/sh", {"-c", "exec \"$0\" --slots \"$(printf '\\330')\"", kCli}, {}, 1, "", {"argument 2 is not valid UTF-8"}},
        {kCli, {"--table", surplus, "A"}, {}, 0, "41\n", {"more than 103 lines"}},
        {kCli, {"--table", missing, "A"}, {}, 2, "", {missing + "\": No such file"}},
        {kCli, {"--table", dir.filePath("folder"), "A"}, {}, 2, "", {"folder"}},
        {kCli, {"--version"}, {}, 0, "harfcode-cli " HARFCODE_VERSION "\n", {}},
        // Only a table named on the command line may come through a pipe; devices never.
        {dir.filePath("piped/harfcode-cli"), {"A"}, {}, 2, "", {"it is a named pipe, not a file"}},
        {"/bin/bash", {"-c", "exec \"$0\" --table <(cat \"$1\") A", kCli, table}, {}, 0, "41\n", {}},
        {kCli, {"--table", "/dev/zero", "A"}, {}, 2, "", {"it is a device, not a file"}},
        // Output that cannot be written is an error, unless its reader went away.
        {"/bin/sh", {"-c", "exec \"$0\" --table \"$1\" A >/dev/full", kCli, table}, {}, 74, "", {"cannot write standard output: No space left"}},
        {"/bin/sh", {"-c", "exec \"$0\" --table \"$1\" A >&-", kCli, table}, {}, 74, "", {"cannot write standard output: Bad file descriptor"}},
        {"/bin/bash", {"-c", "trap '' PIPE; yes \"$2\" | head -n 100000 | \"$0\" --table \"$1\" | head -c 1; exit ${PIPESTATUS[2]}", kCli, table, salam},
         {}, 141, "B", {}},
        // What the options add to the conversion, which tests/layout and tests/firmware check on its own.
        {kCli, {"--table", table, "--format", "c-array", "--order", "visual", year}, {}, 0, "0x31, 0x34, 0x30, 0x33, 0x20, 0xD5, 0x0B, 0xC4, 0xB3\n", {}},
        {kCli, {"--table", table, "--reverse", "--order", "reverse", year}, {}, 0, "33  30  34  31  20  D5  0B  C4  B3\n", {}},
        // A character without a glyph is told by its place and left out; a joiner is no such character.
        {kCli, {"--table", table, "--order", "typing", "b" + year}, {}, 0, "B3  C4  0B  D5  20  31  34  30  33\n",
         {"warning: line 1, character 1: U+0062 \"b\" has no glyph; it is left out."}},
        {kCli, {"--table", table, "--order", "visual", "A\u200Cb\u200CA"}, {}, 0, "41  41\n", {"character 3: U+0062"}},
        {kCli, {"--table", table, "--format", "c-string"}, salam.toUtf8() + "\nA\n", 0, "\"\\xB3\\xC4\\x0B\\xD5\"\n\"\\x41\"\n", {}},
        {kCli, {"--table", table, "--format", "bytes"}, salam.toUtf8() + "\nA\n", 0, "\xB3\xC4\x0B\xD5\x41", {}},
        {kCli, {"--table", table, "--format", "c-array"}, "\n\xD9\x83\n", 0, "\n\n", {"line 2, character 1: U+0643"}},
        {kCli, {"--table", table, "--format", "c-string", "ab"}, {}, 0, "\"\"\n", {"character 1: U+0061", "character 2: U+0062"}},
        {kCli, {"--table", table, "--format", "c-string"}, "C\nCD\n", 0, "\"\\x00\"\n\"\\x00\\x00\"\n", {"--format c-array"}},
        // The glyphs read no table.
        {kCli, {"--table", missing, "--format", "glyphs", salam}, {}, 0, QString::fromUtf8("\uFEB3\uFEDF\uFE8E\uFEE1\n").toUtf8(), {}},
        {kCli, {"--table", missing, "--format", "glyphs", "--order", "visual", salam + " A"}, {}, 0,
         "\xE2\x80\xAD" "A " + QString::fromUtf8("\uFEE1\uFE8E\uFEDF\uFEB3").toUtf8() + "\xE2\x80\xAC\n", {}},
        // A code that is not a byte skips its line in the byte formats only.
        {kCli, {"--table", invalid, "--format", "c-array"}, QByteArray("با\nA\n"), 1, "0x41\n",
         {"line 1: slot 5 (U+FE91 \"\uFE91\") has the code \"G1\", which is not two hexadecimal digits"}},
        {kCli, {"--table", invalid, "--format", "bytes", "--width", "2", "A با"}, {}, 1, "", {"line 1: slot 5"}},  // no row of it
        {kCli, {"--table", invalid}, QByteArray("با\n"), 0, "G1  0B\n", {}},
        {kCli, {"--table", unfilled, "--format", "c-array"}, "A\nA\n", 0, "0x00\n0x00\n", {"every code of the table is still \"00\""}},
        // Each row is shaped on its own.
        {kCli, {"--table", table, "--width", "2", salam}, {}, 0, "B3  C5\n0A  D5\n", {}},
        {kCli, {"--table", table, "--width", "65535", "A"}, {}, 0, "41\n", {}},
        {kCli, {"--header", "/dev/zero", "--table", table}, {}, 1, "", {"it is a device, not a file"}},  // not read forever
        // Wrong usage.
        {kCli, {"--slots", "--order", "visual", "A"}, {}, 64, "", {slotsAlone}},
        {kCli, {"--slots", "--format", "bytes", "A"}, {}, 64, "", {slotsAlone}},
        {kCli, {"--slots", "--width", "3", "A"}, {}, 64, "", {slotsAlone}},
        {kCli, {"--reverse", "--slots", "A"}, {}, 64, "", {slotsAlone}},
        {kCli, {"--reverse", "--order", "visual", "A"}, {}, 64, "", {"--reverse is --order reverse"}},
        {kCli, {"--width", "0", "A"}, {}, 64, "", {"--width takes a whole number"}},
        {kCli, {"--width", "65536", "A"}, {}, 64, "", {"--width takes a whole number of glyphs from 1 to 65535"}},
        {kCli, {"--order", "sideways", "A"}, {}, 64, "", {"--order is typing, reverse or visual"}},
        {kCli, {"--format", "hex", "A"}, {}, 64, "", {"--format is spaced"}},
        {kCli, {"--output", dir.filePath("out.h"), "A"}, {}, 64, "", {"--output goes with --header or --font"}},
        {kCli, {"--header", missing, "A"}, {}, 64, "", {"--header takes its texts"}},
        {kCli, {"--header", missing, "--format", "c-array"}, {}, 64, "", {"--header takes its texts"}},
        {kCli, {"--bogus"}, {}, 64, "", {"Unknown option"}},
        {kCli, {"--table", "", "A"}, {}, 64, "", {"--table needs the name of a table file"}},
        // The shaper: a code that is not a byte refuses the table, unfilled and shared codes are told.
        {kCli, {"--shaper", "--table", invalid, "--output", dir.filePath("shaper.h")}, {}, 1, "",
         {"invalid.txt\": slot 5 (U+FE91 \"ﺑ\") has the code \"G1\", which is not two hexadecimal digits.",
          "nothing is written"}},
        {kCli, {"--shaper", "--table", shared, "--name", "display", "--output", dir.filePath("display.h")}, {}, 0, "",
         {"warning: 100 slots still have the code \"00\"; the shaper gives their glyphs that code.",
          "warning: slots 5 and 6 share the code A1: the display shows one glyph for them."}},
        {kCli, {"--shaper", "--table", table, "--output", table}, {}, 1, "", {"87 slots still have", "is the same file as"}},
        {kCli, {"--shaper", "A"}, {}, 64, "", {"--shaper converts text on the firmware: give no TEXT."}},
        {kCli, {"--shaper", "--width", "5"}, {}, 64, "", {"--shaper takes only --table, --output, --name and --progmem, not --width."}},
        {kCli, {"--shaper", "--name", "x_"}, {}, 64, "", {"--name: \"X__SHAPER_H\" starts with \"_\" or contains \"__\""}},
        {kCli, {"--shaper", "--name", ""}, {}, 64, "", {"--name needs the prefix"}},
    };
    for (const CliRun& c : cases)
        check(c);
    EXPECT_FALSE(QFile::exists(missing)) << "the converter never creates a table";
    EXPECT_FALSE(QFile::exists(dir.filePath("out.h")));
    EXPECT_FALSE(QFile::exists(dir.filePath("shaper.h")));
    const QByteArray named = contentsOf(dir.filePath("display.h"));
    EXPECT_TRUE(named.contains("#ifndef DISPLAY_SHAPER_H") && named.contains("size_t display_codes(")
                && named.contains("DISPLAY_SHAPER_IMPLEMENTATION") && !named.contains("harfcode_"))
        << named.left(2000).toStdString();
}

// Inputs of the strings header that the user may get wrong or that anybody may have written.
TEST(Cli, NeverOverwritesAnInputAndShowsNoControlCharacterRaw)
{
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt", {{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}});
    const QString strings = writeFile(dir.filePath("strings.txt"), "GREETING=سلام\n");
    ASSERT_TRUE(QFile::link(strings, dir.filePath("strings-link.h")));
    ASSERT_EQ(::link(QFile::encodeName(table).constData(), QFile::encodeName(dir.filePath("table-hard-link.h")).constData()), 0);
    const QByteArray stringsBefore = contentsOf(strings);
    const QByteArray tableBefore = contentsOf(table);
    const QString hostile = writeFile(dir.filePath("hostile.txt"), QByteArray("A\x1B]0;owned\x07" "B=\xD8\xB3\nC\0D=x\nE=\xE2\x80\xAEx\n", 29));
    const QString crOnly = writeFile(dir.filePath("cr.txt"), "A1=\xD8\xB3\rB1=\xD8\xB3\r");
    const QString lateMark = writeFile(dir.filePath("column.txt"), "AB=\xD8\xB3\xD9\x84\xD8\xA7\xD9\x85x\n");

    const QString same = "is the same file as";
    const CliRun cases[] = {
        {kCli, {"--header", strings, "--table", table, "--output", strings}, {}, 1, "", {same}},
        {kCli, {"--header", strings, "--table", table, "--output", table}, {}, 1, "", {same}},
        {kCli, {"--header", strings, "--table", table, "--output", dir.filePath("strings-link.h")}, {}, 1, "", {same}},
        {kCli, {"--header", strings, "--table", table, "--output", dir.filePath("table-hard-link.h")}, {}, 1, "", {same}},
        {kCli, {"--header", strings, "--table", table, "--width", "2147483647"}, {}, 64, "", {"--width takes"}},
        {kCli, {"--header", strings, "--table", table, "--output", ""}, {}, 64, "", {"--output needs the name of a file"}},
        // Each error on a line of its own, every control character spelt out.
        {kCli, {"--header", hostile, "--table", table}, {}, 1, "",
         {"hostile.txt:1: \"A\\x1B]0;owned\\x07B\" is not a C identifier", "hostile.txt:2: \"C\\x00D\" is not",
          "hostile.txt:3: the text of \"E\" has no glyph"}},
        {kCli, {"--header", crOnly, "--table", table, "--output", dir.filePath("cr.h")}, {}, 0, "", {}},
        // A character's place counts from the start of its line.
        {kCli, {"--header", lateMark, "--table", table, "--output", dir.filePath("column.h")}, {}, 0, "",
         {"line 1, character 8: U+0078"}},
    };
    for (const CliRun& c : cases)
        check(c);
    EXPECT_EQ(contentsOf(strings), stringsBefore);
    EXPECT_EQ(contentsOf(table), tableBefore);
    EXPECT_TRUE(contentsOf(dir.filePath("cr.h")).contains("#define B1_LENGTH 1"));

    const Finished help = run({"--help-all"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--header <STRINGS>") && help.out.contains("--qmljsdebugger")) << help.out.toStdString();
}

TEST(Cli, RunningOutOfMemoryIsAnInternalErrorNotAnAbort)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer reserves more address space than the limit allows";
#endif
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt", {{1, "20"}});
    const QString strings = writeFile(dir.filePath("strings.txt"), "A=" + QByteArray("ب").repeated(30'000'000) + "\n");
    check({"/bin/sh", {"-c", "ulimit -v 200000 && exec \"$0\" --header \"$1\" --table \"$2\" --output \"$3\"", kCli,
                       strings, table, dir.filePath("strings.h")},
           {}, 70, "", {"internal error: std::bad_alloc"}});
    EXPECT_FALSE(QFile::exists(dir.filePath("strings.h")));
}

// --font-format png: the glyph sheet, or a text with --sample, in a font whose pixels are known
// (tests/font checks the pictures themselves); a picture never goes to a terminal.
TEST(Cli, DrawsThePicturesOfTheDisplaysFont)
{
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt",
        {{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}, {65, "31"}, {68, "34"}, {74, "41"}});
    const QString font = writeFile(dir.filePath("tiny.bdf"), tinyTestFont());
    const QString picture = dir.filePath("picture.png");
    const QStringList png = {"--font", font, "--table", table, "--font-format", "png"};
    const QString fontLine = "font: " + font + " (Tiny, 4 px)";
    const QString unfilled = "warning: 95 slots still have the code \"00\"";
    const QString noDigits = "warning: the font has no glyph for \"0356789BCDEF\"";
    const QString salam = QString::fromUtf8("سلام");
    const QString withSample = "go with --font only for a picture of a text, with --sample";
    const QString zoomRange = "--zoom takes a whole number from 1 to 64";
    // Standard error goes around the terminal that standard output is.
    const auto inTerminal = [&](const QStringList& arguments) {
        return QStringList{"-c", "exec script -qec \"'$0' " + arguments.join(' ') + " 2>&3\" /dev/null 3>&2", kCli};
    };
    const CliRun cases[] = {
        {"/bin/sh", inTerminal(png), {}, 64, "", {"a PNG picture is not for the terminal: give --output FILE"}},
        {"/bin/sh", inTerminal(png + QStringList{"--output", picture}), {}, 0, "", {fontLine, unfilled, noDigits}},
        {kCli, png + QStringList{"--zoom", "64"}, {}, 1, "",
         {fontLine, unfilled, noDigits, "cannot draw the picture: the picture would be 11328 × 13376 pixels", "nothing is written"}},
        {kCli, png + QStringList{"--sample", "xA", "--output", dir.filePath("x.png")}, {}, 0, "",
         {fontLine, unfilled, "warning: line 1, character 1: U+0078 \"x\" has no glyph"}},
        // Wrong usage.
        {kCli, {"--font", font, "--table", table, "--sample", salam}, {}, 64, "", {"--sample goes with --font-format png"}},
        {kCli, {"--font", font, "--font-format", "bdf", "--zoom", "2"}, {}, 64, "", {"--zoom goes with --font-format png"}},
        {kCli, {"--sample", salam}, {}, 64, "", {"--sample goes with --font-format png"}},
        {kCli, png + QStringList{"--width", "3"}, {}, 64, "", {withSample}},
        {kCli, png + QStringList{"--reverse"}, {}, 64, "", {withSample}},
        {kCli, {"--font", font, "--order", "visual"}, {}, 64, "", {withSample}},
        {kCli, png + QStringList{"--zoom", "0"}, {}, 64, "", {zoomRange}},
        {kCli, png + QStringList{"--zoom", "65"}, {}, 64, "", {zoomRange}},
        {kCli, png + QStringList{"--sample", salam, salam}, {}, 64, "", {"--font writes the display's font: give neither TEXT"}},
        {kCli, png + QStringList{"--font-format", "gif"}, {}, 64, "", {"--font-format is bdf, c, gfx or png"}},
    };
    for (const CliRun& c : cases)
        check(c);
    EXPECT_EQ(QImage(picture).size(), QSize(177, 209) * 4) << "written, at the zoom of 4 by default";

    // The options reach the picture: the sheet or the sample's rows, at the zoom asked for.
    const std::pair<QStringList, QSize> pictures[] = {
        {{"--zoom", "1"}, QSize(177, 209)},
        {{"--sample", salam}, QSize(11, 4) * 4},  // visual order: the seen's ink ends it
        {{"--sample", salam, "--order", "typing", "--zoom", "1"}, QSize(10, 4)},
        {{"--sample", salam, "--width", "3", "--zoom", "1"}, QSize(8, 8)},
        {{"--sample", "A1", "--reverse", "--zoom", "1"}, QSize(5, 4)},  // the A's ink left of its origin within
    };
    for (const auto& [options, size] : pictures) {
        const Finished first = run(png + options), second = run(png + options);
        EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
        EXPECT_EQ(QImage::fromData(first.out, "PNG").size(), size) << options.join(' ').toStdString();
        EXPECT_EQ(first.out, second.out) << "the same bytes every time: " << options.join(' ').toStdString();
    }
}

// Ended while it writes a header, the converter leaves the old header whole and no temporary
// file, and dies of the signal as a shell loop or make must see it.
TEST(Cli, ASignalWhileAHeaderIsWrittenLeavesNoTraceAndEndsTheProgram)
{
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt", {{1, "20"}, {26, "B3"}, {52, "C4"}, {4, "0B"}, {55, "D5"}});
    const QString strings = writeFile(dir.filePath("strings.txt"), "GREETING=سلام\n");
    const QString header = dir.filePath("strings.h");
    // No core file of the signals that leave one. 0: no signal raised by hand, but a file size
    // limit that the header passes.
    for (const int raised : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXCPU, SIGXFSZ, SIGPIPE, 0}) {
        const int signal = raised != 0 ? raised : SIGXFSZ;
        writeFile(header, "the old header\n");
        const QString limits = raised != 0 ? "export LD_PRELOAD=\"$4\" HARFCODE_RAISE_AT_FSYNC=" + QString::number(raised) : "ulimit -f 1";
        QProcess process;
        process.start("/bin/sh", {"-c", "ulimit -c 0; " + limits + "; export ASAN_OPTIONS=verify_asan_link_order=0; exec \"$0\" --header \"$1\" "
                                  "--table \"$2\" --output \"$3\"", kCli, strings, table, header, HARFCODE_RAISE_AT_FSYNC_PATH});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit) << signal << process.readAllStandardError().toStdString();
        EXPECT_EQ(process.exitCode(), signal);
        EXPECT_EQ(contentsOf(header), "the old header\n") << signal;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                  QStringList({"HexTable.txt", "strings.h", "strings.txt"})) << signal;
    }
}

TEST(Cli, WritesTheDisplaysFontOrSaysWhyNot)
{
    QTemporaryDir dir;
    const QString table = dir.filePath("HexTable.txt");
    ASSERT_EQ(run({"--new-table", table}).exitCode, 0);
    const QString unfilled = writeTable(dir, "unfilled.txt", {});
    const QString invalid = writeTable(dir, "invalid.txt", {{5, "G1"}, {26, "B3"}});
    const QString shared = writeTable(dir, "shared.txt", {{5, "A1"}, {6, "A1"}, {7, "A1"}, {74, "41"}});
    const QString lineEnds = writeTable(dir, "line-ends.txt", {{1, "20"}, {74, "0A"}, {75, "0D"}, {76, "43"}});
    // A font of one glyph, "A" at 16 pixels; and one whose ascent no font has.
    const TestGlyph a{U'A', 0, 0, 8, {"########", "#......#"}};
    const QString oneGlyph = writeFile(dir.filePath("one.bdf"), bdfTestFont(16, 14, 2, {a}));
    const QString tallAscent = writeFile(dir.filePath("tall.bdf"), bdfTestFont(16, 40000, 2, {a}));
    const QString output = dir.filePath("font.bdf");
    const QString unifont = "/usr/share/fonts/opentype/unifont/unifont.otf";
    const QString tahoma = "/usr/share/wine/fonts/tahoma.ttf";
    // FreeType keeps the character map of a font cut short, but its glyphs load without points.
    const QString cutTahoma = writeFile(dir.filePath("cut.ttf"), contentsOf(tahoma).left(30000));
    // Fonts that are no fonts, or that only look like one.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("ff.ttf")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.ttf"));
    const QString huge = dir.filePath("huge.ttf");
    ASSERT_TRUE(QFile::copy(tahoma, huge));
    ASSERT_TRUE(QFile(huge).resize((qint64(256) << 20) + 1));
    for (const char* name : {"Tahoma", "Nosuchfamily"})
        ASSERT_TRUE(QFile::copy(unifont, dir.filePath(name)));
    // A collection whose first face lacks the Persian glyphs that its second has.
    ASSERT_TRUE(QDir(dir.path()).mkdir("collection"));
    const QString collection = writeFile(dir.filePath("collection/pair.ttc"),
        fontCollection({contentsOf("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"), contentsOf(tahoma)}));
    // FILE at SIZE (none where empty) with the table into the output, then MORE.
    const auto bdf = [&](const QString& file, const QString& size, const QStringList& more = {}) {
        return QStringList{"--font", file, "--table", table, "--output", output} + (size.isEmpty() ? QStringList() : QStringList{"--size", size}) + more;
    };
    const auto unifont16 = [&](const QStringList& more) { return QStringList{"--font", unifont, "--size", "16"} + more; };
    // A strings header in rows of WIDTH pixels of Unifont 16 with the table TABLE, then MORE.
    const QString strings = writeFile(dir.filePath("strings.txt"), "GREETING=سلام دنیا\n");
    const QString longStrings = writeFile(dir.filePath("long.txt"), "LONG=" + QByteArray(70000, 'A') + '\n');
    const auto pixelHeader = [&](const QString& width, const QString& rowsTable, const QStringList& more = {}) {
        return unifont16({"--header", strings, "--table", rowsTable, "--width", width, "--output", output}) + more;
    };
    const struct {
        QStringList arguments;
        int exitCode;
        QStringList errParts;  // each somewhere in standard error
    } cases[] = {
        {bdf(dir.filePath("ff.ttf"), "12"), 1, {"ff.ttf\": it is a named pipe, not a file."}},
        {bdf(dir.filePath("folder.ttf"), "12"), 1, {"folder.ttf\": it is a folder, not a file."}},
        {bdf("/dev/zero", "12"), 1, {"\"/dev/zero\": it is a device, not a file."}},
        {bdf(huge, "12"), 1, {"huge.ttf\": it is 268,435,457 bytes, more than the 256 MiB that any font needs."}},
        {bdf(tallAscent, ""), 1, {"its FONT_ASCENT is 40000, outside 0 to 32767"}},
        // A bare name is a family, even where a file in the current folder has it.
        {bdf("Tahoma", "12"), 0, {"tahoma.ttf (Tahoma, 12 px)"}},
        {bdf("Nosuchfamily", "12"), 1,
         {"no font of the family \"Nosuchfamily\" is installed", "for the file \"Nosuchfamily\" in this folder, write ./Nosuchfamily"}},
        {bdf("./Nosuchfamily", "16"), 0, {"(Unifont, 16 px)"}},
        {bdf(collection, "12"), 1,
         {"no glyph for slot 2 (U+FE81", "the font file holds 2 faces; face 0 (DejaVu Serif) was used; face 1 has every glyph."}},
        {bdf(unifont, "16"), 0, {"font: " + unifont + " (Unifont, 16 px)"}},
        {{"--font", unifont, "--size", "16", "--table", shared, "--output", output}, 0,
         {"99 slots still have the code \"00\"", "slots 5, 6 and 7 share the code A1, which holds the glyph of slot 5"}},
        {bdf(oneGlyph, ""), 1, {"no glyph for slot 2 (U+FE81", "no glyph for slot 103 (U+061F \"؟\"), code BE", "nothing is written"}},
        {bdf(cutTahoma, "12"), 1,
         {"the font's glyph for slot 2 (U+FE81 \"ﺁ\"), code 80, is empty.",
          "the font's glyph for slot 103 (U+061F \"؟\"), code BE, is empty.", "nothing is written"}},
        {bdf(tahoma, "8", {"--hinting", "font"}), 0,
         {"warning: at 8 px with this hinting the glyphs of slot 3 (U+FE8D \"ﺍ\") have no ink; they are drawn empty."}},
        {bdf(oneGlyph, "20"), 1, {"it is a bitmap font without the size 20; its sizes are 16"}},
        {bdf(table, "12"), 1, {"it is not a font"}},
        {bdf(unifont, ""), 1, {"give the pixel size with --size"}},
        {unifont16({"--table", unfilled, "--output", output}), 1, {"--new-table"}},
        {unifont16({"--table", invalid, "--output", output}), 1, {"slot 5 (U+FE91 \"ﺑ\") has the code \"G1\""}},
        {bdf(dir.filePath("missing.ttf"), "16"), 1, {"missing.ttf\": No such file or directory."}},
        {unifont16({"--table", table, "--output", dir.filePath("no/such/folder/font.bdf")}), 1, {"No such file or directory"}},
        {unifont16({"--table", table, "--output", table}), 1, {"is the same file as"}},
        {unifont16({"--table", table, "--output", unifont}), 1, {"is the same file as"}},
        {bdf(unifont, "16", {"--font-format", "c", "--bits", "columns", "--name", "display_font", "--progmem"}), 0, {"(Unifont, 16 px)"}},
        {bdf(unifont, "16", {"--font-format", "gfx", "--progmem"}), 0, {"(Unifont, 16 px)"}},
        // Adafruit_GFX::write() never draws these codes.
        {unifont16({"--table", lineEnds, "--font-format", "gfx", "--output", output}), 0,
         {"takes code 0A as a line end and skips 0D: the glyph of slot 74 (U+0041 \"A\") at code 0A is never drawn",
          "the glyph of slot 75 (U+0042 \"B\") at code 0D is never drawn"}},
        // Nor does u8g2 with bdfconv's usual map.
        {unifont16({"--table", lineEnds, "--output", output}), 0,
         {"warning: u8g2's bdfconv leaves out the codes below 20 with its usual map -m '32-255', and u8g2_DrawStr() "
          "stops at 00 and 0A: give bdfconv -m '1-255' and draw with u8g2_DrawGlyph() for the glyph of slot 74 "
          "(U+0041 \"A\") at code 0A, the glyph of slot 75 (U+0042 \"B\") at code 0D."}},
        // A size whose glyphs the formats' fields cannot hold.
        {bdf(tahoma, "200", {"--font-format", "gfx"}), 1,
         {"code 21, slot 101 (U+0021 \"!\"): yOffset -145 does not fit its int8_t (-128 to 127); take a smaller --size",
          "nothing is written"}},
        {bdf(tahoma, "200", {"--font-format", "c"}), 1,
         {"code 49, slot 82 (U+0049 \"I\"): offset 65649 does not fit its uint16_t (0 to 65535)", "nothing is written"}},
        // Rows in pixels: refused wherever --font refuses the font and table, and a glyph that no row holds.
        {pixelHeader("64px", table), 0, {"(Unifont, 16 px)"}},
        {pixelHeader("64px", unfilled), 1, {"--new-table", "nothing is written"}},
        {pixelHeader("64px", invalid), 1, {"slot 5 (U+FE91 \"ﺑ\") has the code \"G1\""}},
        {{"--header", strings, "--table", table, "--font", oneGlyph, "--width", "64px", "--output", output}, 1,
         {"no glyph for slot 2 (U+FE81"}},
        {pixelHeader("7px", table), 1, {"strings.txt:1: the glyph of slot 27 (U+FEB1 \"ﺱ\") is wider than a row of 7 pixels, even alone"}},
        {unifont16({"--header", longStrings, "--table", table, "--width", "65535px", "--output", output}), 1,
         {"long.txt:1: the text of \"LONG\" has 70000 codes; in rows of pixels an entry has at most 65535"}},
        {unifont16({"--table", table, "--font-format", "png", "--sample", "سلام", "--width", "7px", "--output", output}), 1,
         {"is wider than a row of 7 pixels, even alone; take a wider --width or a smaller --size.", "nothing is written"}},
        {unifont16({"--table", table, "--font-format", "png", "--sample", "سلام", "--width", "64px", "--output", output}), 0, {}},
        {{"--width", "64px", "A"}, 64, {"--width Npx measures rows in the pixels of a font"}},
        {{"--slots", "--width", "64px", "A"}, 64, {"--width Npx measures rows in the pixels of a font"}},
        {{"--header", strings, "--width", "64px"}, 64, {"--width Npx measures rows in the pixels of a font"}},
        {unifont16({"--font-format", "png", "--sample", "A", "--width", "64px", "--order", "typing"}), 64,
         {"give --order visual or reverse"}},
        {unifont16({"--font-format", "png", "--sample", "A", "--width", "0px"}), 64,
         {"--width takes a whole number of glyphs from 1 to 65535, or of pixels from 1px to 65535px."}},
        {unifont16({"--font-format", "png", "--sample", "A", "--width", "65536px"}), 64, {"or of pixels from 1px to 65535px"}},
        {pixelHeader("64px", table, {"--font-format", "c"}), 64, {"--font-format goes with --font alone, not with --header."}},
        {pixelHeader("64px", table, {"--bits", "rows"}), 64, {"--bits goes with --font alone"}},
        {pixelHeader("64px", table, {"--name", "font"}), 64, {"--name goes with --font alone"}},
        {pixelHeader("64px", table, {"--zoom", "2"}), 64, {"--zoom goes with --font alone"}},
        {pixelHeader("64px", table, {"--order", "typing"}), 64, {"give --order visual or reverse"}},
        {{"--size", "16", "A"}, 64, {"--size goes with --font"}},
        {{"--bits", "rows", "A"}, 64, {"--bits goes with --font"}},
        {{"--name", "font", "A"}, 64, {"--name goes with --font"}},
        {{"--hinting", "none", "A"}, 64, {"--hinting goes with --font"}},
        {{"--font-format", "bdf", "A"}, 64, {"--font-format goes with --font"}},
        {unifont16({"--bits", "rows"}), 64, {"--bits goes with --font-format c."}},
        {unifont16({"--font-format", "gfx", "--bits", "rows"}), 64, {"--bits goes with --font-format c."}},
        {unifont16({"--font-format", "c", "--bits", "pages"}), 64, {"--bits is rows or columns"}},
        {unifont16({"--name", "font"}), 64, {"--name goes with --font-format c or gfx"}},
        {unifont16({"--progmem"}), 64, {"--progmem goes with --font-format c or gfx"}},
        {unifont16({"--font-format", "c", "--name", ""}), 64, {"--name needs the prefix"}},
        {unifont16({"--font-format", "c", "--name", "2font"}), 64, {"--name: \"2font\" is not a C identifier"}},
        {unifont16({"--font-format", "gfx", "--name", "font_"}), 64, {"--name: \"font__bitmaps\" starts with \"_\" or contains \"__\""}},
        {unifont16({"--font-format", "gfx", "--name", "printf"}), 64, {"--name: \"printf\" is a C library function"}},
        {unifont16({"--font-format", "c", "--name", "PROGMEM"}), 64, {"--name: \"PROGMEM\" is a macro of the header itself"}},
        {unifont16({"A"}), 64, {"give neither TEXT"}},
        {unifont16({"--header", table}), 64, {"--header takes --font, --size and --hinting only for rows in pixels"}},
        {{"--font", unifont, "--size", "0"}, 64, {"--size takes a whole number of pixels from 1 to 1000"}},
        {unifont16({"--font-format", "ttf"}), 64, {"--font-format is bdf, c, gfx or png"}},
        {unifont16({"--hinting", "full"}), 64, {"--hinting is auto, font or none"}},
        {{"--new-table", table, "--table", table}, 64, {"--new-table takes nothing but"}},
    };
    const auto identity = [](const QString& path) {
        struct stat status {};
        ::stat(QFile::encodeName(path).constData(), &status);
        return std::tuple(status.st_ino, status.st_size, status.st_mtim.tv_sec, status.st_mtim.tv_nsec);
    };
    for (const auto& c : cases) {
        const std::string what = c.arguments.join(u' ').toStdString();
        QFile::remove(output);
        const QByteArray tableBefore = contentsOf(table);
        const QString font = c.arguments.value(c.arguments.indexOf("--font") + 1);
        const auto fontBefore = identity(font);
        const Finished finished = run(kCli, c.arguments, {}, dir.path());
        EXPECT_EQ(finished.exitCode, c.exitCode) << what << "\n" << finished.err.toStdString();
        for (const QString& part : c.errParts)
            EXPECT_TRUE(finished.err.contains(part)) << what << ": no \"" << part.toStdString() << "\" in\n" << finished.err.toStdString();
        EXPECT_EQ(QFile::exists(output), c.exitCode == 0) << what;
        EXPECT_EQ(contentsOf(table), tableBefore) << what;
        EXPECT_EQ(identity(font), fontBefore) << what;
    }
    EXPECT_TRUE(contentsOf(unifont).startsWith("OTTO")) << "the font is never written";

    // A family that fontconfig finds as a later face of a collection is that face.
    const QString fontsConf = writeFile(dir.filePath("fonts.conf"), "<?xml version=\"1.0\"?>\n<fontconfig><dir>"
        + dir.filePath("collection").toUtf8() + "</dir><cachedir>" + dir.filePath("cache").toUtf8() + "</cachedir></fontconfig>\n");
    const Finished fromCollection = run("/usr/bin/env", {"FONTCONFIG_FILE=" + fontsConf, kCli, "--font", "Tahoma", "--size", "12",
                                                         "--table", table, "--output", output});
    EXPECT_EQ(fromCollection.exitCode, 0) << fromCollection.err.toStdString();
    EXPECT_TRUE(fromCollection.err.contains("font: " + collection + " (Tahoma, 12 px)")) << fromCollection.err.toStdString();
}

// A name as long as the folder takes is written: the temporary file beside it is cut to fit,
// at a whole character, and gone afterwards.
TEST(Cli, WritesOutputsOfTheLongestNames)
{
    QTemporaryDir dir;
    const QString table = writeTable(dir, "HexTable.txt", {{1, "20"}, {26, "B3"}});
    const QString strings = writeFile(dir.filePath("strings.txt"), "GREETING=س\n");
    const QString latin = QString(251, u'a') + ".txt";             // 255 bytes
    const QString persian = QString(125, QChar(0x0633)) + ".txt";  // 254 bytes, two a character
    for (const QString& name : {latin, persian}) {
        const QString path = dir.filePath(name);
        for (const QStringList& arguments : {QStringList{"--new-table", path},
                                             QStringList{"--header", strings, "--table", table, "--output", path}}) {
            QFile::remove(path);
            const Finished finished = run(arguments);
            EXPECT_EQ(finished.exitCode, 0) << name.size() << " " << finished.err.toStdString();
            EXPECT_FALSE(contentsOf(path).isEmpty()) << arguments.first().toStdString();
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "no temporary file is left";
        }
        QFile::remove(path);
    }
}

// The lines of a table file in UTF-16LE with its byte order mark.
QStringList tableLines(const QByteArray& table)
{
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(table.constData() + 2), (table.size() - 2) / 2)
        .split(QStringLiteral("\r\n"));
}

// A display without codes gets a table with one for every glyph; a table the user filled in is
// never replaced.
TEST(Cli, NewTableGivesEveryGlyphACodeAndNeverReplacesCodesFilledIn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("HexTable.txt");
    ASSERT_EQ(run({"--new-table", path}).exitCode, 0);
    const QByteArray made = contentsOf(path);
    // The blank, the capitals and the marks their ASCII codes; the Persian glyphs from 0x80 in slot order.
    const QStringList lines = tableLines(made);
    EXPECT_EQ(lines.size(), 104);  // 103 lines, each ended
    for (const auto& [index, line] : {std::pair{0, "20="}, {1, "80=\uFE81"}, {61, "BC=\uFEF3"}, {62, "BD=\uFEEF"}, {63, "30=0"},
                                      {73, "41=A"}, {98, "5A=Z"}, {99, "2E=."}, {101, "3F=?"}, {102, "BE=؟"}})
        EXPECT_EQ(lines.value(index), QString::fromUtf8(line)) << index;
    // Read by the converter like any other table.
    EXPECT_EQ(run({"--table", path, "--format", "c-array", "A1"}).out, "0x41, 0x31\n");

    // Replaced only where nothing but an unfilled table would be lost; anything else is left whole.
    const QByteArray unfilled = encodeTable(defaultCodeStrings());
    const QStringList unfilledLines = tableLines(unfilled);
    CodeStrings filled = defaultCodeStrings();
    filled[39] = "7E";
    const QString longLine = QString(45, u'x');
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    const struct {
        const char* name;
        QByteArray bytes;  // none: the target is the folder
        int exitCode;
        QString errPart;
    } targets[] = {
        {"empty", "", 0, "wrote a table"},
        {"mark only", "\xEF\xBB\xBF", 0, "wrote a table"},
        {"unfilled", unfilled, 0, "wrote a table"},
        {"unfilled in UTF-8 with LF, no last line end, empty lines after", unfilledLines.join(u'\n').toUtf8() + "\n\n", 0, "wrote a table"},
        {"shopping list", "00 shopping list\n00 eggs\n", 1, "is not an unfilled table: line 1 is \"00 shopping list\""},
        {"notes after the table", unfilled + QByteArray("n\0o\0t\0e\0s\0", 10), 1, "line 104 is \"notes\""},
        {"filled in", encodeTable(filled), 1, "has codes filled in already (slot 40 has \"7E\")"},
        {"cut short", unfilledLines.mid(0, 50).join(u'\n').toUtf8(), 1, "is not an unfilled table: it ends after line 50"},
        {"one line short", unfilledLines.mid(0, 102).join(u'\n').toUtf8(), 1, "it ends after line 102"},
        {"long line", "00=\n" + longLine.toUtf8(), 1, "line 2 is \"" + longLine.left(40) + "…\""},
        {"control", "00=\x1B[2J\n", 1, "line 1 is \"00=\\x1B[2J\""},
        {"undecodable", "00=\n\xC0\xAF\n", 2, "neither UTF-16LE"},
        {"folder", {}, 2, "it is a folder, not a file"},
    };
    for (const auto& target : targets) {
        const QString path = target.bytes.isNull() ? dir.filePath("folder") : writeFile(dir.filePath("target.txt"), target.bytes);
        const Finished finished = run({"--new-table", path});
        EXPECT_EQ(finished.exitCode, target.exitCode) << target.name << "\n" << finished.err.toStdString();
        EXPECT_TRUE(finished.err.contains(target.errPart)) << target.name << "\n" << finished.err.toStdString();
        if (!target.bytes.isNull()) {
            EXPECT_EQ(contentsOf(path), target.exitCode == 0 ? made : target.bytes) << target.name;
        }
    }
    EXPECT_TRUE(run({"--new-table", path, path}).err.contains("--new-table takes one file"));

    // Without FILE, the table beside the program, where the windows would write it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("portable"));
    ASSERT_TRUE(QFile::copy(kCli, dir.filePath("portable/harfcode-cli")));
    EXPECT_EQ(run(dir.filePath("portable/harfcode-cli"), {"--new-table"}).exitCode, 0);
    EXPECT_EQ(contentsOf(dir.filePath("portable/HexTable.txt")), made);
}

}  // namespace
}  // namespace harfcode

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
