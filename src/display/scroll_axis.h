#pragma once

#include <QtGlobal>

class QScrollBar;

namespace harfcode {

// One axis of a picture that may be longer than an int counts: the first pixel the view shows
// is kept in 64 bits, and the scroll bar moves in units of a power of two pixels, the smallest
// that keeps its range within an int. Its last position shows the picture's last pixels.
class ScrollAxis {
public:
    // Follows a new length of the picture or of the view, keeping the same first pixel where it
    // still can; a picture shorter than the view is centred in it.
    void fit(QScrollBar& bar, qint64 length, int view);
    // Follows the bar moved to `value`.
    void scrollTo(int value);
    // The picture's pixel at the view's first; negative while the picture is centred.
    qint64 origin() const { return m_origin; }

private:
    qint64 m_length = 0;
    int m_view = 0;
    int m_shift = 0;
    qint64 m_origin = 0;
};

}  // namespace harfcode
