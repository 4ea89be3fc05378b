#pragma once

#include <QString>
#include <QStringView>

namespace harfcode {

// `text` as it can stand inside a C comment: no "*/" to end it, no "/*" that -Wcomment flags,
// no trigraph, no control character or direction override; each of those is spelt out.
QString commentText(QStringView text);

}  // namespace harfcode
