// One long line costs the converter little more memory than its own bytes, in every mode.
// Run alone: it takes memory and time that would slow the tests beside it.
#include "table/table_file.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace harfcode {
namespace {

const QString kCli = QStringLiteral(HARFCODE_CLI_PATH);

// The exit status (-1 where the run did not end by itself) and the peak memory of one converter
// run that reads `inputPath` and throws its output away.
std::pair<int, qint64> measuredRun(const QStringList& arguments, const QString& inputPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, QFile::encodeName(inputPath).constData(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<QByteArray> encoded{QFile::encodeName(kCli)};
    for (const QString& argument : arguments)
        encoded.push_back(argument.toUtf8());
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status))
        return {-1, 0};
    return {WEXITSTATUS(status), qint64(usage.ru_maxrss) * 1024};
}

// Runs measured in a folder of their own, with a table there.
class CliMemory : public ::testing::Test {
protected:
    void SetUp() override
    {
#if defined(__SANITIZE_ADDRESS__)
        GTEST_SKIP() << "the sanitizers' own memory would be measured";
#endif
        ASSERT_FALSE(writeTableFile(table, defaultCodeStrings()).error);
    }

    QTemporaryDir dir;
    const QString table = dir.filePath("HexTable.txt");
};

TEST_F(CliMemory, OneLongLineTakesAtMostThreeTimesItsBytesAnd64MBInEveryMode)
{
    constexpr qint64 kLineBytes = 48 << 20;
    const struct {
        const char* what;
        QByteArray sentence;
        std::vector<QStringList> modes;
        QByteArray opening = {};
    } lines[] = {
        {"Persian", QByteArray("سلام به همه دوستان، قیمت LED امروز ۱۴۰۳ تومان است. "),
         {{}, {"--slots"}, {"--order", "reverse"}, {"--order", "visual"}, {"--width", "16"},
          {"--width", "20", "--order", "visual", "--format", "bytes"}, {"--format", "c-array"},
          {"--format", "c-string", "--order", "visual"}, {"--format", "glyphs", "--order", "reverse"},
          {"--width", "65535", "--order", "visual"}}},
        {"Latin", QByteArray("HELLO WORLD 1403 LED. "),
         {{}, {"--slots"}, {"--width", "16"}, {"--order", "visual"}, {"--format", "c-array", "--order", "reverse"},
          {"--width", "65535"}}},
        // A bracket that never closes, and isolates: the visual order is still cut.
        {"Persian in an open bracket", QByteArray("سلام \u2066LED ۱۴۰۳\u2069 (دوستان) است. "), {{"--order", "visual"}}, "("},
        // Every piece looks past the marks for the letter that decides the first one's form.
        {"a letter and marks", QByteArray("َ"), {{}, {"--order", "reverse"}}, "ب"},
    };
    for (const auto& line : lines) {
        const QString inputPath = dir.filePath("line.txt");
        QFile input(inputPath);
        ASSERT_TRUE(input.open(QIODevice::WriteOnly));
        // Written in parts: a spawned run counts the memory its parent ever took.
        const QByteArray part = line.sentence.repeated((1 << 20) / line.sentence.size());
        input.write(line.opening);
        while (input.size() < kLineBytes)
            input.write(part);
        input.write("\n");
        input.close();
        for (const QStringList& mode : line.modes) {
            const std::string what = line.what + (" " + mode.join(' ')).toStdString();
            const auto [exitCode, peak] = measuredRun(QStringList{"--table", table} + mode, inputPath);
            ASSERT_EQ(exitCode, 0) << what << ": the run failed";
            std::printf("%s: %lld MiB\n", what.c_str(), peak >> 20);
            EXPECT_LE(peak, 3 * input.size() + (qint64(64) << 20)) << what << ": " << peak / (1 << 20) << " MiB";
        }
    }
}

// A font file far larger than any font is refused from its size, before a byte of it is read.
TEST_F(CliMemory, AHugeFontFileIsRefusedUnread)
{
    // A valid font followed by 2 GiB of zeros that take no disk.
    const QString font = dir.filePath("huge.ttf");
    ASSERT_TRUE(QFile::copy("/usr/share/wine/fonts/tahoma.ttf", font));
    ASSERT_TRUE(QFile(font).resize(qint64(2) << 30));
    const auto [exitCode, peak] = measuredRun({"--font", font, "--size", "12", "--table", table, "--output",
                                               dir.filePath("out.bdf")}, "/dev/null");
    EXPECT_EQ(exitCode, 1);
    std::printf("a font of 2 GiB: %lld MiB\n", peak >> 20);
    EXPECT_LE(peak, qint64(64) << 20) << peak / (1 << 20) << " MiB";
}

}  // namespace
}  // namespace harfcode
