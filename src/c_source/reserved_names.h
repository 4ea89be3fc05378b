#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace harfcode {

// Why an entry of the strings header cannot be called `name`, as the sentence "NAME is ..."
// ends (e.g. "a macro of <limits.h>"), or nothing when it can. A name is reserved when its
// header breaks a file that includes the standard C headers before it, in C99, GNU C99 or
// GNU C++17 with GCC and glibc, or in GNU C99 with avr-gcc and avr-libc.
std::optional<QString> reservedNameReason(QStringView name);

}  // namespace harfcode
