#include "shell/window_placement.h"

#include <QScreen>
#include <QWidget>

namespace harfcode {

void centreOnScreen(QWidget& window)
{
    const QRect available = window.screen()->availableGeometry();
    QRect frame(QPoint(), window.size());
    frame.moveCenter(available.center());
    window.move(frame.topLeft());
}

}  // namespace harfcode
