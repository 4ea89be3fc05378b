#pragma once

#include <QString>

namespace harfcode {

// Where a font file came from, for the notes every export carries.
struct FontExportSource {
    QString program;      // name and version
    QString commandLine;  // as typed
    QString fontFile;
    QString family;
    QString copyright;
    int pixelSize = 0;
};

}  // namespace harfcode
