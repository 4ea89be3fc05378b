#pragma once

#include <QString>

namespace harfcode {

// The sentence telling that a table file has lines beyond the last slot; callers add what
// they do about it.
QString surplusLinesSentence(const QString& tablePath);

}  // namespace harfcode
