#include "shell/app_icon.h"

namespace harfcode {

QIcon appIcon()
{
    return QIcon(QStringLiteral(":/icons/app_icon.png"));
}

}  // namespace harfcode
