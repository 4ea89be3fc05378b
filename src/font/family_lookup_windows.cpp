#include "font/family_lookup.h"

#include "font/family_in_folders.h"

#include <QDir>
#include <QStringList>

#include <windows.h>

namespace harfcode {
namespace {

// Where Windows keeps the fonts installed for every user, and those installed for the user
// alone (%LOCALAPPDATA%\Microsoft\Windows\Fonts).
QStringList fontFolders()
{
    QStringList folders;
    wchar_t windows[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        folders.append(QString::fromWCharArray(windows, int(length)) + QStringLiteral("\\Fonts"));
    const QString userData = qEnvironmentVariable("LOCALAPPDATA");
    if (!userData.isEmpty())
        folders.append(userData + QStringLiteral("\\Microsoft\\Windows\\Fonts"));
    return folders;
}

}  // namespace

InstalledFamily installedFamily(const QString& family)
{
    std::optional<FontFile> found = familyInFolders(family, fontFolders());
    if (found)
        found->path = QDir::toNativeSeparators(found->path);
    return {found, {}};
}

// None: Tahoma is a system font here, and Wine's folder, reached through Z: under Wine, would
// only hide a font that is missing.
QString extraFontFolder()
{
    return {};
}

}  // namespace harfcode
