#pragma once

#include "font/display_font.h"
#include "font/font_export.h"

#include <QStringList>

namespace harfcode {

// What an export holds that the display, or the library that draws it, will not show as one may
// expect: glyphs left out or shared, glyphs without ink, codes a library skips, label digits of
// the sheet's own. One sentence a warning, without its full stop, in the order they are told:
// the converter on standard error, the Display window on its status line.
QStringList exportWarnings(const DisplayFont& font, FontFormat format, int pixelSize, const ExportedFont& exported);

}  // namespace harfcode
