#include "table/atomic_file.h"

#include <QSaveFile>

namespace harfcode {

std::optional<QString> replaceFileAtomically(const QString& path, QByteArrayView bytes)
{
    // QSaveFile writes a temporary file beside the target and renames it over the old one
    // only when every byte is on disk, so a failure never leaves a truncated file.
    // Unbuffered, because a buffered QSaveFile commits even when flushing its buffer failed;
    // and written until every byte is taken, because a short write (disk full) sets no
    // error: only the next write is refused, with the system's reason.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 count = file.write(bytes.data() + written, bytes.size() - written);
        if (count <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        written += count;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

}  // namespace harfcode
