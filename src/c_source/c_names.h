#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace harfcode {

// Why `name` cannot be declared by a header beside `headerMacros`, the header's own macros: it
// is not a C identifier usable in C and C++ alike, or a name that the standard C headers or GCC
// take. None where it can.
std::optional<QString> nameProblem(const QString& name, const QStringList& headerMacros);

}  // namespace harfcode
