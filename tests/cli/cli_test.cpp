#include "table/table_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace harfcode {
namespace {

const QString kCli = QStringLiteral(HARFCODE_CLI_PATH);

TEST(Cli, ConvertsPrintsAndExitsAsDocumented)
{
    QTemporaryDir dir;
    const QString table = dir.filePath("HexTable.txt");
    CodeStrings codes = defaultCodeStrings();
    for (auto [slot, code] : {std::pair{1, "20"}, {4, "0B"}, {26, "B3"}, {52, "C4"}, {55, "D5"}, {74, "41"}})
        codes[slot - 1] = code;
    ASSERT_FALSE(writeTableFile(table, codes));
    QFile surplus(dir.filePath("surplus.txt"));
    ASSERT_TRUE(surplus.open(QIODevice::WriteOnly));
    surplus.write(encodeTable(codes) + QByteArray("9\0009\000\r\000\n\000", 8));  // a 104th line
    surplus.close();
    ASSERT_TRUE(QFile::copy(kCli, dir.filePath("harfcode-cli")));  // finds HexTable.txt beside it
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));

    struct Case { QString program; QStringList arguments; QByteArray input; int exitCode; QString out, errPart; };
    const QString salam = QString::fromUtf8("سلام");
    const QString missing = dir.filePath("missing.txt");
    const Case cases[] = {
        {kCli, {"--table", table, salam + " A"}, {}, 0, "B3  C4  0B  D5  20  41\n", {}},
        {kCli, {"--table", table, "--reverse", salam}, {}, 0, "D5  0B  C4  B3\n", {}},
        {kCli, {"--table", missing, "--slots", salam + " xA"}, {}, 0, "26 52 4 55 1 - 74\n", {}},
        {dir.filePath("harfcode-cli"), {"A"}, {}, 0, "41\n", {}},
        {kCli, {"--table", table}, salam.toUtf8() + "\r\n\nA\n" + salam.toUtf8(), 0, "B3  C4  0B  D5\n\n41\nB3  C4  0B  D5\n", {}},
        {kCli, {"--table", table}, "A\n\xD8\nA A\n\xE2\x82\n", 1, "41\n41  20  41\n", "line 2 is not valid UTF-8"},
        {"/bin/sh", {"-c", "exec \"$0\" --slots \"$(printf '\\330')\"", kCli}, {}, 1, "", "argument 2 is not valid UTF-8"},
        {kCli, {"--table", surplus.fileName(), "A"}, {}, 0, "41\n", "more than 103 lines"},
        {kCli, {"--table", missing, "A"}, {}, 2, "", missing + "\": No such file"},
        {kCli, {"--table", dir.filePath("folder"), "A"}, {}, 2, "", "folder"},
        {kCli, {"--reverse", "--slots", "A"}, {}, 64, "", "cannot be combined"},
        {kCli, {"--bogus"}, {}, 64, "", "--help"},
        {kCli, {"--version"}, {}, 0, "harfcode-cli " HARFCODE_VERSION "\n", {}},
    };
    for (const Case& c : cases) {
        const QString what = c.arguments.join(u' ');
        QProcess process;
        process.start(c.program, c.arguments);
        process.write(c.input);
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(30000)) << what.toStdString();
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_EQ(process.exitCode(), c.exitCode) << what.toStdString() << "\n" << err.toStdString();
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), c.out) << what.toStdString();
        EXPECT_TRUE(c.errPart.isEmpty() ? err.isEmpty() : err.contains(c.errPart)) << what.toStdString() << "\n" << err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing)) << "the converter never creates a table";
}

}  // namespace
}  // namespace harfcode

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
