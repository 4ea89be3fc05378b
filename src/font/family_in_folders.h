#pragma once

#include "font/font_lookup.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace harfcode {

// A face of `family` among the TrueType and OpenType files in `folders` (collections too),
// matched by any name of its family (FaceFamily), in any case: the first regular face, folder
// by folder and file by file in the order of their names, else the first face of any style.
std::optional<FontFile> familyInFolders(const QString& family, const QStringList& folders);

}  // namespace harfcode
