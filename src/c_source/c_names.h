#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace harfcode {

// Why `name` cannot be declared by a header beside `headerMacros`, the header's own macros: it
// is not a C identifier usable in C and C++ alike, or a name that the standard C headers or GCC
// take. None where it can.
std::optional<QString> nameProblem(const QString& name, const QStringList& headerMacros);

// Why `prefix` cannot name a header that defines `names`, made of it: the prefix or one of the
// names breaks those rules (a prefix that ends in "_" gives names with "__", and a name that the
// standard headers take may come of a prefix that is not one). None where it can.
std::optional<QString> prefixProblem(const QString& prefix, const QStringList& names);

}  // namespace harfcode
