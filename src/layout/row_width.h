#pragma once

namespace harfcode {

// How wide a display's rows are: a number of glyphs (0: the whole text is one row) or of pixels.
struct RowWidth {
    int count = 0;
    bool pixels = false;
};

}  // namespace harfcode
