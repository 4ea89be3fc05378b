#include "cli/conversion_warnings.h"

#include "conversion/character_names.h"
#include "conversion/slot_selection.h"

#include <algorithm>
#include <utility>

namespace harfcode {

ConversionWarnings::ConversionWarnings(Printer print)
    : m_print(std::move(print))
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
    qsizetype character = charactersBefore;
    for (qsizetype i = 0; i < text.size(); ++i) {
        ++character;
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t codePoint = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const bool hasSlot = typingSlots[static_cast<std::size_t>(i)] != kNoSlot;
        i += pair;
        if (hasSlot || QChar::category(codePoint) == QChar::Other_Format || m_charactersTold.contains(codePoint))
            continue;
        m_charactersTold.insert(codePoint);
        const QString shown = QChar::isPrint(codePoint) ? QStringLiteral(" \"%1\"").arg(QString::fromUcs4(&codePoint, 1)) : QString();
        m_print(QStringLiteral("warning: line %1, character %2: %3%4 has no glyph; it is left out.")
                    .arg(line)
                    .arg(character)
                    .arg(codePointName(codePoint), shown));
    }
}

void ConversionWarnings::noteZeroInCString()
{
    if (std::exchange(m_zeroInCStringTold, true))
        return;
    m_print(QStringLiteral("warning: a code \"00\" is written into a C string, where the byte 0x00 ends the string "
                           "early; --format c-array keeps every byte."));
}

void ConversionWarnings::noteTable(const CodeStrings& codes)
{
    if (m_unfilledTableTold || !isUnfilled(codes))
        return;
    m_unfilledTableTold = true;
    m_print(QStringLiteral("warning: every code of the table is still \"00\": fill in your display's codes "
                           "in the Hex Table window first."));
}

}  // namespace harfcode
