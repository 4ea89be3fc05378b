#include "table/table_location.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace harfcode {
namespace {

constexpr QFile::Permissions kReadOnlyFolder = QFile::ReadOwner | QFile::ExeOwner;
constexpr QFile::Permissions kWritableFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// A program's folder and a user's data folder, both temporary.
class TableLocation : public ::testing::Test {
protected:
    ~TableLocation() override { QFile::setPermissions(programDir.path(), kWritableFolder); }

    QString besideProgram() const { return programDir.filePath(QStringLiteral("HexTable.txt")); }
    QString perUser() const { return userDataDir.path() + QStringLiteral("/harfcode/HexTable.txt"); }

    QTemporaryDir programDir;
    QTemporaryDir userDataDir;
};

enum class Entry { None, File, Folder, DanglingLink };

TEST_F(TableLocation, BesideAProgramOutsideUsrThatHoldsATableOrMayWriteOneElsePerUser)
{
    struct Case {
        const char* what;
        Entry entry;
        bool readOnly;
    };
    const Case cases[] = {
        {"a writable folder without a table (a build folder before the first start)", Entry::None, false},
        {"a writable folder with a table", Entry::File, false},
        {"a read-only folder with a table (a portable copy on a locked stick)", Entry::File, true},
        {"a folder named HexTable.txt, which the reading rules refuse", Entry::Folder, true},
        {"a dangling link named HexTable.txt", Entry::DanglingLink, true},
    };
    for (const Case& c : cases) {
        QFile::setPermissions(programDir.path(), kWritableFolder);
        QFile::remove(besideProgram());
        QDir(programDir.path()).rmdir(QStringLiteral("HexTable.txt"));
        switch (c.entry) {
        case Entry::None:
            break;
        case Entry::File:
            ASSERT_TRUE(QFile(besideProgram()).open(QIODevice::WriteOnly));
            break;
        case Entry::Folder:
            ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("HexTable.txt")));
            break;
        case Entry::DanglingLink:
            ASSERT_TRUE(QFile::link(programDir.filePath(QStringLiteral("gone.txt")), besideProgram()));
            break;
        }
        if (c.readOnly) {
            ASSERT_TRUE(QFile::setPermissions(programDir.path(), kReadOnlyFolder));
        }
        EXPECT_EQ(tableLocation(programDir.path(), userDataDir.path()), besideProgram()) << c.what;
    }
}

TEST_F(TableLocation, AnInstalledOrUnknownProgramFolderSendsTheTableToThePerUserFolder)
{
    // /usr/bin is writable when root runs this test: an installed program still never
    // writes beside itself.
    for (const QString& programFolder : {QStringLiteral("/usr/bin"), QStringLiteral("/usr/local/bin"), QStringLiteral("/usr"),
                                        QStringLiteral("/usr/lib/../bin"), QString()})
        EXPECT_EQ(tableLocation(programFolder, userDataDir.path()), perUser()) << programFolder.toStdString();
}

// Run once more as an ordinary user: root may write into any folder.
TEST_F(TableLocation, AReadOnlyProgramFolderWithoutATableSendsTheTableToThePerUserFolder)
{
    ASSERT_TRUE(QFile::setPermissions(programDir.path(), kReadOnlyFolder));
    if (QFileInfo(programDir.path()).isWritable())
        GTEST_SKIP() << "permissions are not enforced for this user (root)";
    EXPECT_EQ(tableLocation(programDir.path(), userDataDir.path()), perUser());
}

int modeOf(const QString& path)
{
    struct stat status {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
    return static_cast<int>(status.st_mode & 07777);
}

TEST_F(TableLocation, EnsuringTheFolderMakesWhatIsMissingForTheUserAloneAndLeavesTheRest)
{
    const QString dataHome = userDataDir.filePath(QStringLiteral("home/.local/share"));
    const QString table = dataHome + QStringLiteral("/harfcode/HexTable.txt");
    ensureTableFolder(table);
    for (const QString& folder : {userDataDir.filePath(QStringLiteral("home")), dataHome, dataHome + QStringLiteral("/harfcode")})
        EXPECT_EQ(modeOf(folder), 0700) << folder.toStdString();
    EXPECT_FALSE(QFileInfo::exists(table)) << "only the folder is made, the table is written by the first start";

    ASSERT_TRUE(QFile::setPermissions(userDataDir.path(), kWritableFolder | QFile::ReadOther | QFile::ExeOther));
    ensureTableFolder(userDataDir.filePath(QStringLiteral("HexTable.txt")));
    EXPECT_EQ(modeOf(userDataDir.path()), 0705) << "a folder that is there keeps its mode";
}

}  // namespace
}  // namespace harfcode
