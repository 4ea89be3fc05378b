#include "lines/conversion_warnings.h"

#include "conversion/slot_selection.h"

#include <QChar>

#include <algorithm>
#include <utility>

namespace harfcode {

ConversionWarnings::ConversionWarnings(Sink sink)
    : m_sink(std::move(sink))
{
}

void ConversionWarnings::noteCharactersWithoutSlot(QStringView text, long line, qsizetype charactersBefore)
{
    noteCharactersWithoutSlot(text, selectSlots(text), line, charactersBefore);
}

void ConversionWarnings::noteCharactersWithoutSlot(QStringView text, const std::vector<Slot>& typingSlots, long line,
                                                   qsizetype charactersBefore)
{
    // Only the units without a slot are looked at, and a position is counted only for a
    // character told: most lines repeat characters told before, or have none.
    const auto begin = typingSlots.begin();
    for (auto found = std::find(begin, typingSlots.end(), kNoSlot); found != typingSlots.end();
         found = std::find(found + 1, typingSlots.end(), kNoSlot)) {
        const qsizetype i = found - begin;
        if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
            continue;  // the second unit of a character met at its first
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t character = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        if (QChar::category(character) == QChar::Other_Format || m_charactersTold.contains(character))
            continue;
        m_charactersTold.insert(character);
        qsizetype pairsBefore = 0;
        for (qsizetype unit = 1; unit < i; ++unit)
            pairsBefore += text[unit].isLowSurrogate() && text[unit - 1].isHighSurrogate();
        m_sink({ConversionWarning::Kind::CharacterWithoutGlyph, line, charactersBefore + i - pairsBefore + 1, character});
    }
}

void ConversionWarnings::noteZeroInCString()
{
    if (!std::exchange(m_zeroInCStringTold, true))
        m_sink({ConversionWarning::Kind::ZeroInCString});
}

}  // namespace harfcode
