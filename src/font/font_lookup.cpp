#include "font/font_lookup.h"

#include "font/font_face.h"

#include <QDir>
#include <QFileInfo>

#include <fontconfig/fontconfig.h>

#include <memory>
#include <optional>

namespace harfcode {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// A configuration of its own, released after the one look-up: fontconfig's global one is never
// freed, which a leak checker would count against the program.
struct ConfigDeleter {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
using Config = std::unique_ptr<FcConfig, ConfigDeleter>;

struct Match {
    QString file;
    QStringList families;
};

// What fontconfig offers for `family`: the best installed match, whatever its family.
std::optional<Match> fontconfigMatch(const QString& family)
{
    const Config config(FcInitLoadConfigAndFonts());
    if (!config)
        return std::nullopt;
    Pattern pattern(FcPatternCreate());
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.constData()));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const Pattern match(FcFontMatch(config.get(), pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch)
        return std::nullopt;
    Match found{QString::fromUtf8(reinterpret_cast<const char*>(file)), {}};
    FcChar8* offered = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &offered) == FcResultMatch; ++i)
        found.families.append(QString::fromUtf8(reinterpret_cast<const char*>(offered)));
    return found;
}

// The regular face of `family` among the font files in `folder`, if one is there.
std::optional<QString> fontInFolder(const QString& family, const QString& folder)
{
    std::optional<QString> anyStyle;
    const QStringList files = QDir(folder).entryList({"*.ttf", "*.otf", "*.ttc"}, QDir::Files, QDir::Name);
    for (const QString& name : files) {
        const QString path = QDir(folder).filePath(name);
        auto opened = FontFace::open(path, 12);
        const auto* face = std::get_if<std::unique_ptr<FontFace>>(&opened);
        if (!face || (*face)->family().compare(family, Qt::CaseInsensitive) != 0)
            continue;
        if ((*face)->isRegular())
            return path;
        if (!anyStyle)
            anyStyle = path;
    }
    return anyStyle;
}

}  // namespace

std::variant<FontFile, QString> findFont(const QString& name, const QString& extraFolder)
{
    if (QFileInfo(name).isFile())
        return FontFile{name};
    if (name.contains(u'/'))
        return QStringLiteral("there is no font file \"%1\"").arg(name);
    const std::optional<Match> match = fontconfigMatch(name);
    if (match && match->families.contains(name, Qt::CaseInsensitive))
        return FontFile{match->file};
    if (const std::optional<QString> path = fontInFolder(name, extraFolder))
        return FontFile{*path};
    if (!match || match->families.isEmpty())
        return QStringLiteral("no font of the family \"%1\" is installed").arg(name);
    return QStringLiteral("no font of the family \"%1\" is installed (fontconfig offers \"%2\" instead); "
                          "give a font file or another family")
        .arg(name, match->families.first());
}

QString UnusableFont::description() const
{
    return QStringLiteral("cannot use the font \"%1\": %2").arg(font, reason);
}

std::variant<OpenedFont, UnusableFont> openFont(const QString& name, std::optional<int> pixelSize,
                                                const QString& extraFolder)
{
    const auto found = findFont(name, extraFolder);
    if (const QString* reason = std::get_if<QString>(&found))
        return UnusableFont{name, *reason};
    const QString path = std::get<FontFile>(found).path;
    auto opened = FontFace::open(path, pixelSize);
    if (const QString* reason = std::get_if<QString>(&opened))
        return UnusableFont{path, *reason};
    return OpenedFont{path, std::get<std::unique_ptr<FontFace>>(std::move(opened))};
}

}  // namespace harfcode
