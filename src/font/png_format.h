#pragma once

#include "font/bdf_format.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <variant>

namespace harfcode {

// A picture of the display's font as a PNG file, the notes of `source` in its text chunks; or
// why the PNG writer failed. The same picture and notes give the same bytes.
std::variant<QByteArray, QString> pngFile(QImage picture, const FontExportSource& source);

}  // namespace harfcode
