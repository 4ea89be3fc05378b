#pragma once

#include <QFont>

namespace harfcode {

// The font every window asks for: a system font on Windows. On Linux, where Tahoma itself is
// missing, Wine's Tahoma (Debian's fonts-wine, outside fontconfig's folders) stands in with
// Tahoma's metrics, so that the captions fit the controls they were made for; DejaVu Sans
// gives the glyphs that either lacks.
// Registered on first use, so that every window, test and benchmark sees the same fonts.
QFont tahomaFont(qreal pointSize, bool bold = false);

}  // namespace harfcode
