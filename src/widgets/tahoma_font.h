#pragma once

#include <QFont>

namespace harfcode {

// Every window asks for Tahoma; where it is missing, DejaVu Sans takes its place because
// it has every presentation-form glyph of the table. Call once, before any widget exists.
void substituteMissingTahoma();

QFont tahomaFont(qreal pointSize, bool bold = false);

}  // namespace harfcode
