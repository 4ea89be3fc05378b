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

std::optional<QString> inputThatIs(const FileIdentity& identity, const QStringList& inputs)
{
    for (const QString& input : inputs) {
        const std::optional<FileIdentity> other = identityOf(input);
        if (other && other->device == identity.device && other->inode == identity.inode)
            return input;
    }
    return std::nullopt;
}

}  // namespace harfcode
