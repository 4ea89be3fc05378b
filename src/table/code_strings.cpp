#include "table/code_strings.h"

#include <algorithm>

namespace harfcode {

CodeStrings defaultCodeStrings()
{
    CodeStrings codes;
    codes.fill(QString::fromLatin1(kUnfilledCode));
    return codes;
}

QString quotedUnfilledCode()
{
    return u'"' + QString::fromLatin1(kUnfilledCode) + u'"';
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
