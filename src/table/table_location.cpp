#include "table/table_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace harfcode {
namespace {

constexpr QLatin1StringView kTableFileName("HexTable.txt");
constexpr QLatin1StringView kUserTableFolder("harfcode");

// A dangling symbolic link is an entry too: the reading rules say what is wrong with it.
bool holdsEntry(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

#ifdef Q_OS_WIN
constexpr QLatin1StringView kPortableMarker("portable.txt");

// Whether writability could decide is unknowable here: Qt does not read NTFS permissions, and
// Wine calls even C:\Program Files writable. So only a table already there, or the marker that
// the portable zip carries, keeps the table beside the program.
bool keepsTableBeside(const QString& programDir)
{
    return holdsEntry(programDir + u'/' + kTableFileName) || QFileInfo::exists(programDir + u'/' + kPortableMarker);
}
#else
bool isUnderUsr(const QString& dir)
{
    const QString clean = QDir::cleanPath(dir);
    return clean == QLatin1StringView("/usr") || clean.startsWith(QLatin1StringView("/usr/"));
}

bool keepsTableBeside(const QString& programDir)
{
    return !isUnderUsr(programDir)
        && (holdsEntry(programDir + u'/' + kTableFileName) || QFileInfo(programDir).isWritable());
}
#endif

}  // namespace

QString tableLocation(const QString& programDir, const QString& userDataDir)
{
    if (!programDir.isEmpty() && keepsTableBeside(programDir))
        return programDir + u'/' + kTableFileName;
    return userDataDir + u'/' + kUserTableFolder + u'/' + kTableFileName;
}

void ensureTableFolder(const QString& tablePath)
{
    // The missing folders, innermost first; each is made with the mode it should have
    // rather than changed after, so that no other user can ever look into it.
    QStringList missing;
    for (QString folder = QFileInfo(tablePath).absolutePath(); !QFileInfo::exists(folder);
         folder = QFileInfo(folder).absolutePath())
        missing.prepend(folder);
    for (const QString& folder : std::as_const(missing)) {
#ifdef Q_OS_WIN
        // The user's own folder (%LOCALAPPDATA%) already keeps others out; its access rules
        // are inherited.
        if (!QDir().mkdir(folder))
#else
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
#endif
            return;
    }
}

}  // namespace harfcode
