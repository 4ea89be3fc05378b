#pragma once

#include <QIcon>

namespace harfcode {

// The program's icon, 64 x 64: the letter beh lit on an LED dot matrix, the kind of display
// the glyph codes are made for.
QIcon appIcon();

}  // namespace harfcode
