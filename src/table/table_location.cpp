#include "table/table_location.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace harfcode {
namespace {

constexpr QLatin1StringView kTableFileName("HexTable.txt");
constexpr QLatin1StringView kUserTableFolder("harfcode");

bool isUnderUsr(const QString& dir)
{
    const QString clean = QDir::cleanPath(dir);
    return clean == QLatin1StringView("/usr") || clean.startsWith(QLatin1StringView("/usr/"));
}

// A dangling symbolic link is an entry too: the reading rules say what is wrong with it.
bool holdsEntry(const QString& path)
{
    const QFileInfo entry(path);
    return entry.exists() || entry.isSymLink();
}

}  // namespace

QString tableLocation(const QString& programDir, const QString& userDataDir)
{
    if (!programDir.isEmpty() && !isUnderUsr(programDir)) {
        const QString besideProgram = programDir + u'/' + kTableFileName;
        if (holdsEntry(besideProgram) || QFileInfo(programDir).isWritable())
            return besideProgram;
    }
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
    for (const QString& folder : std::as_const(missing))
        if (!QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return;
}

}  // namespace harfcode
