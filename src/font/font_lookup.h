#pragma once

#include "font/font_face.h"

#include <QString>

#include <memory>
#include <optional>
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

// A font found by its name and opened at a pixel size.
struct OpenedFont {
    QString path;
    std::unique_ptr<FontFace> face;
};

// Why a named font cannot be used: none is found for the name, or the file found is no font
// that FreeType opens at the size.
struct UnusableFont {
    QString font;  // the name where none is found, the file where it does not open
    QString reason;

    // cannot use the font "Tahoma": …
    QString description() const;
};

// The font `name` means (findFont()), opened at `pixelSize`, a bitmap font's own strike where
// none is given.
std::variant<OpenedFont, UnusableFont> openFont(const QString& name, std::optional<int> pixelSize,
                                                const QString& extraFolder);

}  // namespace harfcode
