#pragma once

#include <QString>

#include <variant>

namespace harfcode {

// Where a family that fontconfig does not know is looked for: Wine's fonts, among them the
// Tahoma with Tahoma's metrics that the windows use.
inline constexpr char kWineFontFolder[] = "/usr/share/wine/fonts";

// The font file that a name stands for.
struct FontFile {
    QString path;
};

// The font that `name` means: a font file where one is at that path; otherwise a family name
// (`Tahoma`), found through fontconfig, or where fontconfig offers only another family, among
// the fonts in `extraFolder` (Wine's, where the windows find Tahoma). Or why there is none,
// naming the family fontconfig offered instead.
std::variant<FontFile, QString> findFont(const QString& name, const QString& extraFolder);

}  // namespace harfcode
