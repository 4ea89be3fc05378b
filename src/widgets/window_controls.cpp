#include "widgets/window_controls.h"

#include <QPushButton>

namespace harfcode {

QPushButton* createPlainButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry)
{
    auto* button = placeControl(new QPushButton(caption, parent), name, geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace harfcode
