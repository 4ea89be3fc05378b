#pragma once

#include <QRect>

namespace harfcode {

// Where the table editor puts its controls, in pixels of the client area. The slot cells
// stand in 7 columns of 15 rows that run from right to left, as a right-to-left reader
// expects the table to start at the top right.
QRect codeFieldRect(int slot);
QRect glyphFieldRect(int slot);  // slot 1 has no glyph: this is the black square's place
QRect saveButtonRect();
QRect cancelButtonRect();

}  // namespace harfcode
