#include "display/scroll_axis.h"

#include <QScrollBar>

#include <algorithm>
#include <climits>

namespace harfcode {
namespace {

// As far as a click on the bar's arrow moves a scroll area's widget.
constexpr qint64 kSingleStep = 20;

}  // namespace

void ScrollAxis::fit(QScrollBar& bar, qint64 length, int view)
{
    const qint64 kept = m_origin;
    m_length = length;
    m_view = view;
    const qint64 excess = std::max<qint64>(length - view, 0);
    m_shift = 0;
    while (((excess + (qint64(1) << m_shift) - 1) >> m_shift) > INT_MAX)
        ++m_shift;
    // Rounded up, so that the last position reaches the last pixels.
    bar.setRange(0, int((excess + (qint64(1) << m_shift) - 1) >> m_shift));
    bar.setPageStep(std::max(int(qint64(view) >> m_shift), 1));
    bar.setSingleStep(int(std::max<qint64>(kSingleStep >> m_shift, 1)));
    bar.setValue(int(std::clamp<qint64>(kept, 0, excess) >> m_shift));
    scrollTo(bar.value());
}

void ScrollAxis::scrollTo(int value)
{
    m_origin = m_length <= m_view ? -(m_view - m_length) / 2 : std::min(qint64(value) << m_shift, m_length - m_view);
}

}  // namespace harfcode
