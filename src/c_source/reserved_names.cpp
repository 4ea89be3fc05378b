#include "c_source/reserved_names.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <string_view>

namespace harfcode {
namespace {

struct ReservedName {
    std::string_view name;
    const char* reason;
};

constexpr ReservedName kReservedNames[] = {
#include "c_source/reserved_names.inc"
};

static_assert(std::ranges::adjacent_find(kReservedNames, std::ranges::greater_equal(), &ReservedName::name)
                  == std::end(kReservedNames),
              "the binary search needs the names sorted, each once");

}  // namespace

std::optional<QString> reservedNameReason(QStringView name)
{
    const QByteArray utf8 = name.toUtf8();
    const std::string_view key(utf8.constData(), utf8.size());
    const auto found = std::ranges::lower_bound(kReservedNames, key, std::ranges::less(), &ReservedName::name);
    if (found == std::end(kReservedNames) || found->name != key)
        return std::nullopt;
    return QString::fromLatin1(found->reason);
}

}  // namespace harfcode
