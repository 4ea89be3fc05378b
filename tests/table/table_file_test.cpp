#include "table/table_file.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <future>
#include <thread>
#include <cstring>
#include <sys/resource.h>
#include <climits>
#include <sys/stat.h>
#include <sys/wait.h>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace harfcode {
namespace {

// A table file's bytes for `text`, encoded by Qt rather than by the writer under test.
QByteArray utf16File(QStringView text)
{
    return QByteArray("\xFF\xFE") + QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text));
}

// A written table's lines: UTF-16LE after the byte-order mark, split at CR LF.
QStringList fileLines(const QString& path)
{
    return QString(QStringDecoder(QStringDecoder::Utf16LE).decode(bytesOf(path).sliced(2))).split(QStringLiteral("\r\n"));
}

class TableFile : public ::testing::Test {
protected:
    QTemporaryDir folder;
    const QString tablePath = folder.filePath(QStringLiteral("HexTable.txt"));
};

TEST_F(TableFile, ReadFollowsTheReadingRule)
{
    const QString line = QStringLiteral("AB=x\r\n");
    const QStringList twoCodes{QStringLiteral("a1"), QStringLiteral("b2")};
    const QStringList persianAndAB{QString::fromUtf8("سل"), QStringLiteral("AB")};
    // The reader decodes 16 KiB at a time: after the byte-order mark, unit 8,191 is the
    // last one of the first piece, so this CR and its LF arrive in different pieces.
    const QString crLfAcrossPieces = QString(8190, u'x') + QStringLiteral("\r\nB2\r\n");
    const struct { const char* name; QByteArray bytes; QStringList codes; bool surplus; } cases[] = {
        {"byte-order mark is not in slot 1", utf16File(u"00=\r\n"), {QStringLiteral("00")}, false},
        {"lines of 1, 0 and 3 units", utf16File(u"7\r\n\r\nABC=x\r\n"), {QStringLiteral("7"), QString(), QStringLiteral("AB")}, false},
        {"103 lines, final CR LF opens no line", utf16File(line.repeated(103)), QStringList(103, QStringLiteral("AB")), false},
        {"empty 104th line", utf16File(line.repeated(103) + QStringLiteral("\r\n")), QStringList(103, QStringLiteral("AB")), true},
        {"104th line with text", utf16File(line.repeated(104)), QStringList(103, QStringLiteral("AB")), true},
        {"lone LF", utf16File(u"a1\nb2\n"), twoCodes, false},
        {"lone CR", utf16File(u"a1\rb2\r"), twoCodes, false},
        {"last line without line end", utf16File(u"a1\r\nb2"), twoCodes, false},
        {"UTF-8 without byte-order mark", QByteArray("\xD8\xB3\xD9\x84=x\nAB=y\n"), persianAndAB, false},
        {"UTF-8 with byte-order mark", QByteArray("\xEF\xBB\xBF\xD8\xB3\xD9\x84=x\r\nAB"), persianAndAB, false},
        {"empty file", QByteArray(), {}, false},
        {"CR LF split across read pieces", utf16File(crLfAcrossPieces), {QStringLiteral("xx"), QStringLiteral("B2")}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(tablePath, c.bytes);
        const TableReading reading = readTableFile(tablePath);
        ASSERT_TRUE(reading.ok()) << reading.error->message().toStdString();
        EXPECT_EQ(reading.codes, c.codes);
        EXPECT_EQ(reading.hasSurplusLines, c.surplus);
    }
}

// A pipe that never ends, repeating the line "AB=x"; it counts the bytes it hands out.
struct EndlessSource : QIODevice {
    EndlessSource() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 readData(char* data, qint64 maxSize) override
    {
        for (qint64 i = 0; i < maxSize; ++i)
            data[i] = "AB=x\n"[handedOut++ % 5];
        return handedOut > (qint64(256) << 20) ? -1 : maxSize;  // a reader that never stops fails, not hangs
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    qint64 handedOut = 0;
};

TEST(TableReading, EndlessSourceIsRefusedOneByteAfterTheBound)
{
    EndlessSource source;
    const TableReading reading = readTable(source, QStringLiteral("endless"));
    ASSERT_FALSE(reading.ok());
    EXPECT_TRUE(reading.error->message().contains(QLatin1StringView("larger than 1 MiB")));
    EXPECT_EQ(source.handedOut, 1024 * 1024 + 1);
}

void expectReadFailure(const TableReading& reading, const QString& path, const char* reasonPart)
{
    ASSERT_FALSE(reading.ok());
    EXPECT_TRUE(reading.codes.isEmpty());
    const QString message = reading.error->message();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(path))) << message.toStdString();
    EXPECT_TRUE(message.contains(QLatin1StringView(reasonPart))) << message.toStdString();
}

TEST_F(TableFile, ReadFailsNamingTheFileAndLeavesItAsItWas)
{
    const char* undecodable = "neither UTF-16LE with a byte-order mark nor UTF-8";
    const struct { const char* name; QString path; std::optional<QByteArray> bytes; const char* reasonPart; } cases[] = {
        {"missing", tablePath, std::nullopt, "No such file or directory"},
        {"odd byte count", tablePath, utf16File(u"00=\r\n") + 'A', "odd number of bytes"},
        {"lone continuation byte, then 104 lines", tablePath, QByteArray("A\x80" "B\n") + QByteArray("AB\n").repeated(104), undecodable},
        {"sequence cut at the end", tablePath, QByteArray("AB=x\nC\xE2\x82"), undecodable},
        {"bad byte past the first read piece", tablePath, QByteArray(40'000, 'x') + "\n\xFF\n", undecodable},
        {"a table, then more than 1 MiB of other lines", tablePath,
         QByteArray("AB\n").repeated(103) + QByteArray("x\n").repeated(512 * 1024 + 1), "larger than 1 MiB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes)
            writeBytes(c.path, *c.bytes);
        expectReadFailure(readTableFile(c.path), c.path, c.reasonPart);
        if (c.bytes) {
            EXPECT_EQ(bytesOf(c.path), *c.bytes);
        }
    }
}

// Only a regular file is a table; anything else is refused by what it is, at once: a named pipe
// without a writer, or a link to an endless device, would otherwise hold the window forever.
TEST_F(TableFile, ReadRefusesWhatIsNoFileWithoutWaiting)
{
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToZero = folder.filePath(QStringLiteral("zero"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), linkToZero));
    const struct { QString path; const char* reasonPart; } cases[] = {
        {fifo, "it is a named pipe, not a file"},
        {linkToZero, "it is a device, not a file"},
        {QStringLiteral("/dev/null"), "it is a device, not a file"},
        {folder.path(), "it is a folder, not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        auto reading = std::async(std::launch::async, [&] { return readTableFile(c.path); });
        if (reading.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
            QFile writer(fifo);  // lets a reader that waits for a writer go on
            writer.open(QIODevice::WriteOnly);
            FAIL() << "reading waits";
        }
        expectReadFailure(reading.get(), c.path, c.reasonPart);
    }
}

// Where the user names a pipe, as harfcode-cli --table <(make-table) does, it is read, the
// reader waiting for its writer.
TEST_F(TableFile, AnAllowedPipeIsReadAsItsWriterHandsItOver)
{
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] { return readTableFile(fifo, Pipes::Allowed); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the reader opens first and waits
    QFile writer(fifo);
    ASSERT_TRUE(writer.open(QIODevice::WriteOnly));
    writer.write(utf16File(u"a1=\r\nb2=\r\n"));
    writer.close();
    ASSERT_EQ(reading.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const TableReading result = reading.get();
    ASSERT_TRUE(result.ok()) << result.error->message().toStdString();
    EXPECT_EQ(result.codes, QStringList({QStringLiteral("a1"), QStringLiteral("b2")}));
}

TEST_F(TableFile, DefaultTableReplacesALargerFileWithTheExactBytes)
{
    writeBytes(tablePath, QByteArray(100'000, 'x'));
    ASSERT_EQ(writeDefaultTableFile(tablePath).error, std::nullopt);

    // Line 1 ("00=", slot 1 has no glyph), line 2 ("00=" U+FE81), and line 103 ("00=" U+061F).
    const QByteArray bytes = bytesOf(tablePath);
    ASSERT_EQ(bytes.size(), 1236);
    EXPECT_TRUE(bytes.startsWith(QByteArray("\xFF\xFE\x30\x00\x30\x00\x3D\x00\x0D\x00\x0A\x00"
                                            "\x30\x00\x30\x00\x3D\x00\x81\xFE\x0D\x00\x0A\x00", 24)));
    EXPECT_TRUE(bytes.endsWith(QByteArray("\x30\x00\x30\x00\x3D\x00\x1F\x06\x0D\x00\x0A\x00", 12)));
    // Line k carries the glyph of slot k: one shifted glyph would move every user's codes.
    const QStringList lines = fileLines(tablePath);
    const std::pair<int, char16_t> edgeSlots[] = {{37, 0xFECC}, {41, 0xFED0}, {63, 0xFEEF}, {64, u'0'},
                                                  {73, u'9'},   {74, u'A'},   {99, u'Z'},   {102, u'?'}};
    for (const auto& [slot, glyph] : edgeSlots)
        EXPECT_EQ(lines.value(slot - 1), QStringLiteral("00=") + QChar(glyph)) << "slot " << slot;
}

// Codes a user can type that are not two units: written whole, read back as the first
// two units of their line (`line`, as written without its line end).
TEST_F(TableFile, OddCodesAreWrittenWholeAndReadBackByTheRule)
{
    const struct { int slot; QString code, line, readBack; } cases[] = {
        {1, QString(), QStringLiteral("="), QStringLiteral("=")},
        {2, QString(), QStringLiteral("=\uFE81"), QStringLiteral("=\uFE81")},
        {5, QStringLiteral("7"), QStringLiteral("7=\uFE91"), QStringLiteral("7=")},
        {64, QStringLiteral("ABC"), QStringLiteral("ABC=0"), QStringLiteral("AB")},
        {65, QString::fromUtf8("😀"), QString::fromUtf8("😀=1"), QString::fromUtf8("😀")},
    };
    CodeStrings codes = defaultCodeStrings();
    for (const auto& c : cases)
        codes[c.slot - 1] = c.code;
    ASSERT_EQ(writeTableFile(tablePath, codes).error, std::nullopt);

    const QStringList lines = fileLines(tablePath);
    const TableReading reading = readTableFile(tablePath);
    EXPECT_EQ(reading.codes.count(QStringLiteral("00")), kSlotCount - qsizetype(std::size(cases)));
    for (const auto& c : cases) {
        EXPECT_EQ(lines.value(c.slot - 1), c.line) << "slot " << c.slot;
        EXPECT_EQ(reading.codes.value(c.slot - 1), c.readBack) << "slot " << c.slot;
    }
}

const QByteArray kPreviousTable("the previous table");

// A file size cap stops the write halfway, as a full disk would, and holds even for root.
TEST_F(TableFile, WriteCutShortLeavesThePreviousTableWhole)
{
    writeBytes(tablePath, kPreviousTable);
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const rlimit cap{512, previous.rlim_max};
    // Ignored, SIGXFSZ makes the write fail instead of ending the process.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const bool capped = setrlimit(RLIMIT_FSIZE, &cap) == 0;
    const auto error = writeDefaultTableFile(tablePath).error;
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    ASSERT_TRUE(capped);

    ASSERT_TRUE(error.has_value()) << "the write was reported as a success";
    EXPECT_TRUE(error->message().contains(tablePath) && error->message().contains(std::strerror(EFBIG)))
        << error->message().toStdString();
    EXPECT_EQ(bytesOf(tablePath), kPreviousTable);
}

// Saving replaces only a regular file, following a link to it, and keeps the old file's mode;
// every failure gives the system's own reason.
TEST_F(TableFile, SaveReplacesOnlyARegularFileAndKeepsItsMode)
{
    const QString fifo = folder.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToFifo = folder.filePath(QStringLiteral("to-fifo"));
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    const QString target = folder.filePath(QStringLiteral("target.txt"));
    const QString linkToTarget = folder.filePath(QStringLiteral("to-target"));
    ASSERT_TRUE(QFile::link(target, linkToTarget));
    const QString tooLong = folder.filePath(QString(NAME_MAX + 1, u'a'));
    const bool root = ::geteuid() == 0;
    const struct { const char* name; QString path; mode_t mode; const char* reasonPart; } cases[] = {
        {"a link to a named pipe", linkToFifo, 0, "it is a named pipe, not a file"},
        {"a name longer than the folder takes", tooLong, 0, std::strerror(ENAMETOOLONG)},
        {"a file of mode 640", tablePath, 0640, nullptr},
        {"a link to a file of mode 604", linkToTarget, 0604, nullptr},
        {"a read-only file", tablePath, 0444, root ? nullptr : std::strerror(EACCES)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString written = QFileInfo(c.path).isSymLink() ? QFileInfo(c.path).symLinkTarget() : c.path;
        if (c.mode != 0) {
            writeBytes(written, kPreviousTable);
            ASSERT_EQ(::chmod(QFile::encodeName(written).constData(), c.mode), 0);
        }
        const auto error = writeDefaultTableFile(c.path).error;
        struct stat after {};
        const bool exists = ::stat(QFile::encodeName(written).constData(), &after) == 0;
        if (c.reasonPart) {
            ASSERT_TRUE(error.has_value());
            EXPECT_TRUE(error->message().contains(QLatin1StringView(c.reasonPart))) << error->message().toStdString();
        } else {
            EXPECT_FALSE(error.has_value()) << error->message().toStdString();
        }
        if (c.mode != 0) {
            EXPECT_EQ(after.st_mode & 07777, c.mode);
            EXPECT_EQ(bytesOf(written).size(), c.reasonPart ? kPreviousTable.size() : 1236);
        }
        if (c.path == linkToFifo) {
            EXPECT_TRUE(exists && S_ISFIFO(after.st_mode)) << "the named pipe was replaced";
        }
        if (c.path == linkToTarget) {
            EXPECT_TRUE(QFileInfo(linkToTarget).isSymLink()) << "the link was replaced";
        }
        if (c.path == tooLong) {
            EXPECT_FALSE(exists);
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).filter(QRegularExpression("^\\.")),
                  QStringList()) << "a temporary file was left";
    }
}

// Saved by another user, the table keeps its owner and group where that user may set them, and
// says what it could not keep. Needs root, to hand the files over and to become that user.
TEST_F(TableFile, SaveKeepsTheOwnerAndGroupAsFarAsTheUserMay)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to prepare files of other users";
    const passwd* nobody = ::getpwnam("nobody");
    const group* staff = ::getgrnam("staff");
    ASSERT_TRUE(nobody && staff);
    ASSERT_EQ(::chmod(QFile::encodeName(folder.path()).constData(), 0777), 0);
    const struct { const char* name; gid_t fileGroup; std::vector<gid_t> userGroups; const char* notKept; gid_t groupAfter; } cases[] = {
        {"root's file, saved by nobody", 0, {}, "could not keep its owner and group", nobody->pw_gid},
        {"root's file of group staff, saved by nobody in staff", staff->gr_gid, {staff->gr_gid}, "could not keep its owner", staff->gr_gid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(tablePath, kPreviousTable);
        ASSERT_EQ(::chown(QFile::encodeName(tablePath).constData(), 0, c.fileGroup), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(tablePath).constData(), 0666), 0);
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            // As that user: write the outcome into the pipe, then end without running anything else.
            ::close(pipeEnds[0]);
            QString outcome = QStringLiteral("could not become nobody");
            if (::setgroups(c.userGroups.size(), c.userGroups.data()) == 0 && ::setgid(nobody->pw_gid) == 0 &&
                ::setuid(nobody->pw_uid) == 0) {
                const TableWrite written = writeTableFile(tablePath, defaultCodeStrings());
                outcome = written.error ? written.error->message() : written.note;
            }
            const QByteArray bytes = outcome.toUtf8();
            [[maybe_unused]] const ssize_t sent = ::write(pipeEnds[1], bytes.constData(), bytes.size());
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        QFile fromChild;
        ASSERT_TRUE(fromChild.open(pipeEnds[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
        const QString outcome = QString::fromUtf8(fromChild.readAll());
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(outcome.contains(QLatin1StringView(c.notKept))) << outcome.toStdString();
        struct stat after {};
        ASSERT_EQ(::stat(QFile::encodeName(tablePath).constData(), &after), 0);
        EXPECT_EQ(bytesOf(tablePath).size(), 1236);
        EXPECT_EQ(after.st_gid, c.groupAfter);
        EXPECT_EQ(after.st_mode & 07777, 0666u);
    }
}

// Root reads and writes past any permission, so this only runs as an ordinary user.
TEST_F(TableFile, WithoutPermissionTheTableIsNeitherReadNorReplaced)
{
    writeBytes(tablePath, kPreviousTable);
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(tablePath, QFileDevice::WriteOwner));
    const bool enforced = !QFileInfo(folder.path()).isWritable();
    const TableReading reading = readTableFile(tablePath);
    // Writable again, so that only the read-only folder stands in the writer's way.
    QFile::setPermissions(tablePath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const auto writeError = writeDefaultTableFile(tablePath).error;
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!enforced)
        GTEST_SKIP() << "permissions are not enforced for this user (root)";

    expectReadFailure(reading, tablePath, "Permission denied");
    ASSERT_TRUE(writeError.has_value()) << "the write was reported as a success";
    EXPECT_TRUE(writeError->message().contains(tablePath)) << writeError->message().toStdString();
    EXPECT_EQ(bytesOf(tablePath), kPreviousTable);
}

}  // namespace
}  // namespace harfcode
