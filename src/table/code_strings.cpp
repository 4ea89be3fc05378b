#include "table/code_strings.h"

#include <algorithm>

namespace harfcode {

CodeStrings defaultCodeStrings()
{
    CodeStrings codes;
    codes.fill(QStringLiteral("00"));
    return codes;
}

bool isUnfilled(const CodeStrings& codes)
{
    return codes == defaultCodeStrings();
}

void overlayCodes(CodeStrings& table, const QList<QString>& codes)
{
    const auto count = std::min<qsizetype>(codes.size(), kSlotCount);
    std::copy_n(codes.cbegin(), count, table.begin());
}

}  // namespace harfcode
