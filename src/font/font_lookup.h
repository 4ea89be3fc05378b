#pragma once

#include "font/font_face.h"

#include <QString>

#include <memory>
#include <optional>
#include <variant>

namespace harfcode {

#ifndef Q_OS_WIN
// Where a family that fontconfig does not know is looked for: Wine's fonts, among them the
// Tahoma with Tahoma's metrics that the windows use.
inline constexpr char kWineFontFolder[] = "/usr/share/wine/fonts";
#endif

// The `extraFolder` of the look-ups below that the program gives: kWineFontFolder on Linux;
// none on Windows.
QString extraFontFolder();

// The font file that a name stands for, and the face of it where the file is a collection.
struct FontFile {
    QString path;
    int faceIndex = 0;
};

// Whether `name` is a font file rather than a family: it holds a "/", or ends in an extension
// of the files FreeType opens (".ttf", ".pcf.gz"...), in any case.
bool namesAFontFile(const QString& name);

// The font that `name` means: the file it names (namesAFontFile()); otherwise a family name
// (`Tahoma`), found among the installed fonts (through fontconfig on Linux, in the fonts
// folders on Windows), or where they hold only another family, among the fonts in
// `extraFolder` (Wine's, where the windows find Tahoma; none where empty). Or why there is
// none, naming the family fontconfig offered instead, and "./NAME" where a file has that name.
std::variant<FontFile, QString> findFont(const QString& name, const QString& extraFolder);

// A font found by its name and read: what opens it at any size without reading it again.
struct ReadFont {
    FontFile file;
    QByteArray bytes;
    FileIdentity identity;  // of the file as it was read
};

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

// The font `name` means (findFont()), read.
std::variant<ReadFont, UnusableFont> readFont(const QString& name, const QString& extraFolder);

// `font` opened at `pixelSize`, a bitmap font's own strike where none is given.
std::variant<OpenedFont, UnusableFont> openReadFont(const ReadFont& font, std::optional<int> pixelSize);

// The font `name` means, read and opened at `pixelSize`.
std::variant<OpenedFont, UnusableFont> openFont(const QString& name, std::optional<int> pixelSize,
                                                const QString& extraFolder);

}  // namespace harfcode
