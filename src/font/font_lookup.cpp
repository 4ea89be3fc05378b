#include "font/font_lookup.h"

#include "font/family_in_folders.h"
#include "font/family_lookup.h"
#include "font/font_face.h"

#include <QDir>
#include <QFileInfo>

#include <memory>
#include <optional>

namespace harfcode {
namespace {

// The endings of the font files FreeType opens.
constexpr const char* kFontFileEndings[] = {".ttf", ".otf", ".ttc", ".otc", ".woff", ".woff2", ".pfa", ".pfb", ".t1",
                                            ".cff", ".dfont", ".fon", ".fnt", ".bdf", ".pcf", ".pcf.gz", ".pcf.Z",
                                            ".pcf.bz2"};

}  // namespace

bool namesAFontFile(const QString& name)
{
    if (name.contains(u'/') || name.contains(QDir::separator()))
        return true;
    for (const char* ending : kFontFileEndings)
        if (name.endsWith(QLatin1StringView(ending), Qt::CaseInsensitive))
            return true;
    return false;
}

std::variant<FontFile, QString> findFont(const QString& name, const QString& extraFolder)
{
    if (namesAFontFile(name))
        return FontFile{name};
    const InstalledFamily installed = installedFamily(name);
    if (installed.file)
        return *installed.file;
    if (!extraFolder.isEmpty())
        if (const std::optional<FontFile> file = familyInFolders(name, {extraFolder}))
            return *file;
    QString reason = installed.offered.isEmpty()
                         ? QStringLiteral("no font of the family \"%1\" is installed").arg(name)
                         : QStringLiteral("no font of the family \"%1\" is installed (fontconfig offers \"%2\" instead); "
                                          "give a font file or another family")
                               .arg(name, installed.offered);
    if (QFileInfo::exists(name))
        reason += QStringLiteral("; for the file \"%1\" in this folder, write ./%1").arg(name);
    return reason;
}

QString UnusableFont::description() const
{
    return QStringLiteral("cannot use the font \"%1\": %2").arg(font, reason);
}

std::variant<ReadFont, UnusableFont> readFont(const QString& name, const QString& extraFolder)
{
    const auto found = findFont(name, extraFolder);
    if (const QString* reason = std::get_if<QString>(&found))
        return UnusableFont{name, *reason};
    const FontFile& file = std::get<FontFile>(found);
    auto read = readFontFile(file.path);
    if (const QString* reason = std::get_if<QString>(&read))
        return UnusableFont{file.path, *reason};
    FontFileBytes& font = std::get<FontFileBytes>(read);
    return ReadFont{file, std::move(font.bytes), font.identity};
}

std::variant<OpenedFont, UnusableFont> openReadFont(const ReadFont& font, std::optional<int> pixelSize)
{
    auto opened = FontFace::fromBytes(font.bytes, pixelSize, font.file.faceIndex);
    if (const QString* reason = std::get_if<QString>(&opened))
        return UnusableFont{font.file.path, *reason};
    return OpenedFont{font.file.path, std::get<std::unique_ptr<FontFace>>(std::move(opened))};
}

std::variant<OpenedFont, UnusableFont> openFont(const QString& name, std::optional<int> pixelSize,
                                                const QString& extraFolder)
{
    const auto read = readFont(name, extraFolder);
    if (const auto* unusable = std::get_if<UnusableFont>(&read))
        return *unusable;
    return openReadFont(std::get<ReadFont>(read), pixelSize);
}

}  // namespace harfcode
