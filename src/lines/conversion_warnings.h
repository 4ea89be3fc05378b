#pragma once

#include "table/slot_catalogue.h"

#include <QSet>
#include <QStringView>

#include <functional>
#include <vector>

namespace harfcode {

// Something the converter leaves out or writes in a way that may surprise; it never stops it.
struct ConversionWarning {
    enum class Kind {
        CharacterWithoutGlyph,  // `character` of `line` has no slot: it is left out
        ZeroInCString,          // a code "00" is written into a C string, which it ends early
    };
    Kind kind;
    long line = 0;
    qsizetype position = 0;  // of the character in its line, in characters (code points) from 1
    char32_t character = 0;

    bool operator==(const ConversionWarning&) const = default;
};

// The converter's warnings, each given at most once per run.
class ConversionWarnings {
public:
    using Sink = std::function<void(const ConversionWarning& warning)>;
    explicit ConversionWarnings(Sink sink);

    // Every character of `text` without a slot that this run has not met before, at its first
    // occurrence, where `text` starts after `charactersBefore` characters of line `line`. Format
    // characters (category Cf: the half-space, the joiner, the direction marks) are left to
    // themselves.
    void noteCharactersWithoutSlot(QStringView text, long line, qsizetype charactersBefore);
    // The same, given the slots of `text` in typing order.
    void noteCharactersWithoutSlot(QStringView text, const std::vector<Slot>& typingSlots, long line,
                                   qsizetype charactersBefore = 0);
    void noteZeroInCString();

private:
    Sink m_sink;
    QSet<char32_t> m_charactersTold;
    bool m_zeroInCStringTold = false;
};

}  // namespace harfcode
