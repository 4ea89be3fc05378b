#pragma once

#include "table/code_strings.h"

#include <QSet>
#include <QString>
#include <QStringView>

#include <functional>
#include <vector>

namespace harfcode {

// The converter's warnings, each given at most once per run; they never change its exit status.
class ConversionWarnings {
public:
    using Printer = std::function<void(const QString& message)>;  // one message, no line end
    explicit ConversionWarnings(Printer print);

    // Every character of `text` without a slot that this run has not met before, at its first
    // occurrence: `line` and the position in characters (code points, from 1), where `text`
    // starts after `charactersBefore` characters of its line. Format characters (category Cf:
    // the half-space, the joiner, the direction marks) are left to themselves.
    void noteCharactersWithoutSlot(QStringView text, long line, qsizetype charactersBefore);
    // The same, given the slots of `text` in typing order.
    void noteCharactersWithoutSlot(QStringView text, const std::vector<Slot>& typingSlots, long line,
                                   qsizetype charactersBefore = 0);
    // A code "00" written into a C string, where the byte 0x00 would end the string.
    void noteZeroInCString();
    // A table whose codes are all still "00".
    void noteTable(const CodeStrings& codes);

private:
    Printer m_print;
    QSet<char32_t> m_charactersTold;
    bool m_zeroInCStringTold = false;
    bool m_unfilledTableTold = false;
};

}  // namespace harfcode
