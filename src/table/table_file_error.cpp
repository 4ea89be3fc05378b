#include "table/table_file_error.h"

#include <QDir>

namespace harfcode {

QString TableFileError::message() const
{
    const QString verb = operation == Operation::Read ? QStringLiteral("read") : QStringLiteral("write");
    return QStringLiteral("Could not %1 the glyph code table \"%2\": %3.")
        .arg(verb, QDir::toNativeSeparators(path), reason);
}

}  // namespace harfcode
