#pragma once

#include <QIcon>

namespace harfcode {

// The program's icon, 64 x 64: the letter beh lit on an LED dot matrix, the kind of display
// the glyph codes are made for. Rendered at build time from the SVG that the installed icons
// come from, and embedded, so that the windows show it wherever the program runs.
QIcon appIcon();

}  // namespace harfcode
