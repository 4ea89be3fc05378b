#include "font/family_lookup.h"

#include <QStringList>

#include <fontconfig/fontconfig.h>

#include <memory>

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
    FontFile file;
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
    // A later face of a collection is a family of its own.
    int faceIndex = 0;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &faceIndex);
    Match found{{QString::fromUtf8(reinterpret_cast<const char*>(file)), faceIndex & 0xFFFF}, {}};
    FcChar8* offered = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &offered) == FcResultMatch; ++i)
        found.families.append(QString::fromUtf8(reinterpret_cast<const char*>(offered)));
    return found;
}

}  // namespace

InstalledFamily installedFamily(const QString& family)
{
    const std::optional<Match> match = fontconfigMatch(family);
    if (!match)
        return {};
    if (match->families.contains(family, Qt::CaseInsensitive))
        return {match->file, {}};
    return {std::nullopt, match->families.value(0)};
}

QString extraFontFolder()
{
    return QString::fromLatin1(kWineFontFolder);
}

}  // namespace harfcode
