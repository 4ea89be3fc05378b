#include "files/file_access.h"
#include "files/file_refusals.h"

#include <cstring>

namespace harfcode {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString sameFileRefusal(const QString& input)
{
    return QStringLiteral("it is the same file as \"%1\", which is read to make it").arg(input);
}

}  // namespace harfcode
