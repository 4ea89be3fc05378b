#pragma once

#include <QRect>
#include <QString>

class QPushButton;
class QWidget;

namespace harfcode {

// Both windows place their controls absolutely: nothing moves when a window is resized.
template <typename Control>
Control* placeControl(Control* control, const QString& name, const QRect& geometry)
{
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// A button that Enter and Escape never press, with a caption without access key.
QPushButton* createPlainButton(QWidget* parent, const QString& name, const QString& caption, const QRect& geometry);

}  // namespace harfcode
