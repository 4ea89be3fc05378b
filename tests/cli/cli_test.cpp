#include "table/table_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForStarted()) << program.toStdString();
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

CliRun runCli(const QStringList& arguments, const QByteArray& input = {})
{
    return runCli(QStringLiteral(HARFCODE_CLI_PATH), arguments, input);
}

class CliTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        CodeStrings codes = defaultCodeStrings();
        codes[1 - 1] = QStringLiteral("20");
        codes[4 - 1] = QStringLiteral("0B");
        codes[26 - 1] = QStringLiteral("B3");
        codes[52 - 1] = QStringLiteral("C4");
        codes[55 - 1] = QStringLiteral("D5");
        codes[74 - 1] = QStringLiteral("41");
        ASSERT_FALSE(writeTableFile(tablePath(), codes).has_value());
    }

    QString tablePath() const { return dir.filePath(QStringLiteral("HexTable.txt")); }

    void writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir;
};

const QString kSalam = QString::fromUtf8("سلام");

TEST_F(CliTest, ConvertsTextArgumentInEachOutput)
{
    struct Case {
        QStringList arguments;
        QString out;
    };
    const Case cases[] = {
        {{kSalam}, "B3  C4  0B  D5\n"},
        {{QStringLiteral("--reverse"), kSalam}, "D5  0B  C4  B3\n"},
        {{kSalam + QStringLiteral(" A")}, "B3  C4  0B  D5  20  41\n"},
        {{QStringLiteral("--slots"), kSalam + QStringLiteral(" xA")}, "26 52 4 55 1 - 74\n"},
        {{QString()}, "\n"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(QStringList{QStringLiteral("--table"), tablePath()} << c.arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, c.out) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST_F(CliTest, ConvertsEveryLineOfStandardInput)
{
    const QByteArray input = kSalam.toUtf8() + "\r\n\nA\n" + kSalam.toUtf8();  // last line without LF
    const CliRun run = runCli({QStringLiteral("--table"), tablePath()}, input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("B3  C4  0B  D5\n\n41\nB3  C4  0B  D5\n"));

    const CliRun slots = runCli({QStringLiteral("--slots")}, "A\r\n");
    EXPECT_EQ(slots.out, QStringLiteral("74\n")) << "CR LF is not part of the text";
}

TEST_F(CliTest, SkipsInvalidUtf8LinesAndSaysWhich)
{
    const CliRun run = runCli({QStringLiteral("--table"), tablePath()}, "A\n\xD8\nA A\n\xE2\x82\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("41\n41  20  41\n"));
    EXPECT_TRUE(run.err.contains(QStringLiteral("line 2"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("line 4"))) << run.err.toStdString();

    // QProcess always passes UTF-8; the shell hands over the raw byte.
    const CliRun argument = runCli(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --slots \"$(printf '\\330')\""),
                                 QStringLiteral(HARFCODE_CLI_PATH)});
    EXPECT_EQ(argument.exitCode, 1);
    EXPECT_TRUE(argument.out.isEmpty());
    EXPECT_TRUE(argument.err.contains(QStringLiteral("argument 2"))) << argument.err.toStdString();
}

TEST_F(CliTest, TableProblemsExitWithStatus2AndNameTheFile)
{
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString odd = dir.filePath(QStringLiteral("odd.txt"));
    writeBytes(odd, QByteArray("\xFF\xFE\x30\x00\x30", 5));

    for (const QString& path : {missing, folder, odd}) {
        const CliRun run = runCli({QStringLiteral("--table"), path, QStringLiteral("A")});
        EXPECT_EQ(run.exitCode, 2) << path.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(QDir::toNativeSeparators(path))) << run.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing)) << "the converter never creates a table";

    const CliRun slots = runCli({QStringLiteral("--table"), missing, QStringLiteral("--slots"), QStringLiteral("A")});
    EXPECT_EQ(slots.exitCode, 0) << "--slots reads no table";
    EXPECT_EQ(slots.out, QStringLiteral("74\n"));
}

TEST_F(CliTest, SurplusLinesWarnButConvert)
{
    QFile table(tablePath());
    ASSERT_TRUE(table.open(QIODevice::Append));
    table.write(QByteArray("9\x00" "9\x00" "\r\x00" "\n\x00", 8));  // a 104th line, "99"
    table.close();
    const CliRun run = runCli({QStringLiteral("--table"), tablePath(), QStringLiteral("A")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QStringLiteral("41\n"));
    EXPECT_TRUE(run.err.contains(QStringLiteral("more than 103 lines"))) << run.err.toStdString();
}

TEST_F(CliTest, DefaultTableIsBesideTheProgram)
{
    const QString program = dir.filePath(QStringLiteral("harfcode-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(HARFCODE_CLI_PATH), program));
    const CliRun run = runCli(program, {QStringLiteral("A")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("41\n"));
}

TEST(Cli, UsageErrorsHelpAndVersion)
{
    const CliRun help = runCli({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--reverse")));

    const CliRun version = runCli({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("harfcode-cli "))) << version.out.toStdString();

    for (const QStringList& arguments : {QStringList{QStringLiteral("--bogus")},
                                         QStringList{QStringLiteral("--reverse"), QStringLiteral("--slots")},
                                         QStringList{QStringLiteral("--slots"), QStringLiteral("a"), QStringLiteral("b")},
                                         QStringList{QStringLiteral("--table")}}) {
        const CliRun run = runCli(arguments);
        EXPECT_EQ(run.exitCode, 64) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(run.err.contains(QStringLiteral("--help"))) << run.err.toStdString();
    }
}

}  // namespace
}  // namespace harfcode

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
