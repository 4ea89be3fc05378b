#pragma once

#include <QString>

namespace harfcode {

// Qt's own dialogs remember things in the user's settings (the file dialog its last folder, on
// closing). The program keeps nothing but the table file, so what Qt remembers goes to `folder`,
// which lasts as long as the program. Call it before any dialog opens.
void keepQtSettingsIn(const QString& folder);

}  // namespace harfcode
