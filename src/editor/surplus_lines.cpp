#include "editor/surplus_lines.h"

#include "table/slot_catalogue.h"

#include <QDir>

namespace harfcode {

QString surplusLinesSentence(const QString& tablePath)
{
    return QStringLiteral("The glyph code table \"%1\" has more than %2 lines.")
        .arg(QDir::toNativeSeparators(tablePath))
        .arg(kSlotCount);
}

}  // namespace harfcode
