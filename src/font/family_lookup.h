#pragma once

#include "font/font_lookup.h"

#include <QString>

#include <optional>

namespace harfcode {

// What the system's fonts hold for a family name, as the system's own way of finding fonts
// tells it: fontconfig on Linux, the fonts folders on Windows.
struct InstalledFamily {
    std::optional<FontFile> file;  // a font of that family
    QString offered;  // where there is none, the family the system would take instead, if any
};

InstalledFamily installedFamily(const QString& family);

}  // namespace harfcode
