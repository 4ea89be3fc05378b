#pragma once

#include <QString>

#include <variant>

namespace harfcode {

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
