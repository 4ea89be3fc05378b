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
    if (std::find(typingSlots.begin(), typingSlots.end(), kNoSlot) == typingSlots.end())
        return;  // the usual line: every character has its glyph
    qsizetype position = charactersBefore;
    for (qsizetype i = 0; i < text.size(); ++i) {
        ++position;
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t character = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const bool hasSlot = typingSlots[static_cast<std::size_t>(i)] != kNoSlot;
        i += pair;
        if (hasSlot || QChar::category(character) == QChar::Other_Format || m_charactersTold.contains(character))
            continue;
        m_charactersTold.insert(character);
        m_sink({ConversionWarning::Kind::CharacterWithoutGlyph, line, position, character});
    }
}

void ConversionWarnings::noteZeroInCString()
{
    if (!std::exchange(m_zeroInCStringTold, true))
        m_sink({ConversionWarning::Kind::ZeroInCString});
}

}  // namespace harfcode
