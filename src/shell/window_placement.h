#pragma once

class QWidget;

namespace harfcode {

// Places a window that has not been shown yet in the middle of its screen.
void centreOnScreen(QWidget& window);

}  // namespace harfcode
