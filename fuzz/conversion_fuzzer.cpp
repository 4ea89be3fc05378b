// Reads the input as UTF-16LE text, converts it, and aborts on anything no conversion may
// produce.
#include "conversion/code_output.h"
#include "conversion/slot_selection.h"
#include "conversion/windows1256.h"
#include "table/slot_catalogue.h"

#include "invariant.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace harfcode;
using harfcode::fuzz::require;

// Slot k's code is k in two hexadecimal digits: distinct, never blank.
CodeStrings numberedCodes()
{
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = QStringLiteral("%1").arg(slot, 2, 16, QChar(u'0'));
    return codes;
}

// Codes with blanks at their edges, which the outer trimming must not eat inside the text.
CodeStrings blankEdgedCodes()
{
    CodeStrings codes;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        codes[slot - 1] = QStringLiteral(" %1 ").arg(slot);
    return codes;
}

// The glyph a character of fixed shape must select: digits (Latin or Persian), capitals
// and the four punctuation marks stand for themselves; 0 when the shape depends on context.
char16_t fixedGlyph(char16_t unit)
{
    if ((unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z') || unit == u'.' || unit == u'!' ||
        unit == u'?' || unit == 0x061F)
        return unit;
    if (unit >= 0x06F0 && unit <= 0x06F9)
        return static_cast<char16_t>(u'0' + (unit - 0x06F0));
    return 0;
}

void checkSlots(QStringView text, const std::vector<Slot>& slots)
{
    require(slots.size() == static_cast<std::size_t>(text.size()), "not one slot per unit");
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const Slot slot = slots[static_cast<std::size_t>(i)];
        require(slot <= kSlotCount, "a slot beyond the table");
        // Context picks the form, never whether a character has a glyph at all.
        require((slot != kNoSlot) == (selectSlots(text.sliced(i, 1))[0] != kNoSlot),
                "context decides whether a character has a glyph");
        if (windows1256Value(unit) == kNoWindows1256Value || QChar::isSurrogate(unit) || (unit >= u'a' && unit <= u'z'))
            require(slot == kNoSlot, "a slot for a character without one");
        if (unit == u' ')
            require(slot == 1, "the blank outside slot 1");
        if (const char16_t glyph = fixedGlyph(unit))
            require(slot != kNoSlot && glyphOfSlot(slot) == glyph, "a fixed character in another slot");
    }
    // Transparent characters have no slot, and the others take the slots of the text without them.
    QString opaque;
    std::vector<Slot> opaqueSlots;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t character = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const qsizetype units = pair ? 2 : 1;
        if (isTransparentToJoining(character) && !QChar::isSurrogate(character)) {
            for (qsizetype unit = i; unit < i + units; ++unit)
                require(slots[static_cast<std::size_t>(unit)] == kNoSlot, "a slot for a transparent character");
        } else {
            opaque += text.sliced(i, units);
            opaqueSlots.insert(opaqueSlots.end(), slots.begin() + i, slots.begin() + i + units);
        }
        i += units - 1;
    }
    require(selectSlots(opaque) == opaqueSlots, "a transparent character changes the slot of another");

    // A trailing breaker joins nothing: it leaves every slot before it as it was.
    for (const char16_t breaker : {u' ', u'.', u'!', char16_t(0x061F), char16_t(0x0622), char16_t(0x200C)}) {
        const std::vector<Slot> extended = selectSlots(text.toString() + QChar(breaker));
        require(std::equal(slots.begin(), slots.end(), extended.begin()), "a trailing breaker changes a slot");
    }
}

// The codes of the positions with a slot, those of neighbouring positions i < j joined
// by 2 * (j - i) blanks: the separator per position, an empty code where there is no slot.
QString gapJoined(const std::vector<Slot>& slots, const CodeStrings& codes, bool reversed)
{
    QString joined;
    std::ptrdiff_t previous = -1;
    const auto count = static_cast<std::ptrdiff_t>(slots.size());
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        const std::ptrdiff_t position = reversed ? count - 1 - step : step;
        if (slots[static_cast<std::size_t>(position)] == kNoSlot)
            continue;
        if (previous >= 0)
            joined += QString(2 * std::abs(position - previous), u' ');
        joined += codes[slots[static_cast<std::size_t>(position)] - 1];
        previous = position;
    }
    return joined;
}

void checkOutput(QStringView text, const std::vector<Slot>& slots)
{
    const CodeStrings numbered = numberedCodes();
    const ConversionOutput output = convertText(text, numbered);
    require(output.lengthCaption == QStringLiteral("Length : %1").arg(text.size()), "a wrong length caption");
    require(output.typingOrder == gapJoined(slots, numbered, false), "a wrong typing-order string");
    require(output.reverseOrder == gapJoined(slots, numbered, true), "a wrong reverse-order string");

    // Blanks inside the codes survive except at the very ends of the strings.
    const CodeStrings edged = blankEdgedCodes();
    const ConversionOutput edgedOutput = convertText(text, edged);
    for (const QString* joined : {&edgedOutput.typingOrder, &edgedOutput.reverseOrder}) {
        require(!joined->startsWith(u' ') && !joined->endsWith(u' '), "outer blanks left");
        QString compact = *joined;
        compact.remove(u' ');
        QString expected = gapJoined(slots, edged, joined == &edgedOutput.reverseOrder);
        expected.remove(u' ');
        require(compact == expected, "codes lost or reordered");
    }

    // Codes made only of blanks leave nothing at all.
    CodeStrings blanks;
    blanks.fill(QStringLiteral("  "));
    const ConversionOutput blankOutput = convertText(text, blanks);
    require(blankOutput.typingOrder.isEmpty() && blankOutput.reverseOrder.isEmpty(), "blanks not trimmed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8)));

    const std::vector<Slot> slots = selectSlots(text);
    checkSlots(text, slots);
    checkOutput(text, slots);
    return 0;
}
