#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace harfcode {

// Replaces the file at `path` with `bytes` atomically: on any failure the previous file stays
// whole and the system's reason is returned.
std::optional<QString> replaceFileAtomically(const QString& path, QByteArrayView bytes);

}  // namespace harfcode
