#include "firmware/display_order.h"

#include "conversion/slot_selection.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <tuple>

namespace harfcode {
namespace {

struct BidiCloser {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

// The Unicode bidirectional algorithm over `text` as one right-to-left paragraph: the logical
// position shown at each visual position, left to right, and the level of every position.
struct BidiLayout {
    std::vector<int32_t> visualMap;
    std::vector<UBiDiLevel> levels;
};

BidiLayout bidiLayout(QStringView text)
{
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBiDi, BidiCloser> bidi(ubidi_openSized(length, 0, &status));
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(text.utf16()), length, UBIDI_RTL, nullptr, &status);
    BidiLayout layout{std::vector<int32_t>(static_cast<std::size_t>(length)), {}};
    ubidi_getVisualMap(bidi.get(), layout.visualMap.data(), &status);
    const UBiDiLevel* levels = ubidi_getLevels(bidi.get(), &status);
    // Only memory can fail here, for a text this program could hold.
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    layout.levels.assign(levels, levels + length);
    return layout;
}

enum class Strength { Weak, LeftToRight, RightToLeft };

Strength strengthOf(UCharDirection direction)
{
    switch (direction) {
    case U_LEFT_TO_RIGHT:
        return Strength::LeftToRight;
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
        return Strength::RightToLeft;
    default:
        return Strength::Weak;
    }
}

bool opensOrClosesEmbedding(UCharDirection direction)
{
    switch (direction) {
    case U_LEFT_TO_RIGHT_EMBEDDING:
    case U_LEFT_TO_RIGHT_OVERRIDE:
    case U_RIGHT_TO_LEFT_EMBEDDING:
    case U_RIGHT_TO_LEFT_OVERRIDE:
    case U_POP_DIRECTIONAL_FORMAT:
    case U_LEFT_TO_RIGHT_ISOLATE:
    case U_RIGHT_TO_LEFT_ISOLATE:
    case U_FIRST_STRONG_ISOLATE:
    case U_POP_DIRECTIONAL_ISOLATE:
    case U_BLOCK_SEPARATOR:
        return true;
    default:
        return false;
    }
}

}  // namespace

VisualCut lastVisualCut(QStringView text)
{
    // The closing brackets that would pair with the brackets still open, innermost last: the
    // pair's direction depends on what lies between them, so no cut falls inside a pair. The
    // algorithm pairs brackets only up to this depth and none after it.
    constexpr std::size_t kBracketDepth = 63;
    std::vector<UChar32> openBrackets;
    VisualCut cut;
    Strength before = Strength::Weak;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A letter outside the basic plane is never strong here: no cut next to a surrogate.
        const char16_t unit = text[i].unicode();
        const UCharDirection direction = QChar::isSurrogate(unit) ? U_OTHER_NEUTRAL : u_charDirection(unit);
        if (opensOrClosesEmbedding(direction)) {
            cut.embeddingMet = true;
            return cut;
        }
        switch (u_getIntPropertyValue(unit, UCHAR_BIDI_PAIRED_BRACKET_TYPE)) {
        case U_BPT_OPEN:
            if (openBrackets.size() == kBracketDepth) {
                cut.embeddingMet = true;
                return cut;
            }
            openBrackets.push_back(u_getBidiPairedBracket(unit));
            break;
        case U_BPT_CLOSE:
            if (const auto match = std::find(openBrackets.rbegin(), openBrackets.rend(), UChar32(unit)); match != openBrackets.rend())
                openBrackets.erase(match.base() - 1, openBrackets.end());
            break;
        default:
            break;
        }
        const Strength strength = strengthOf(direction);
        if (before != Strength::Weak && strength != Strength::Weak && openBrackets.empty()) {
            cut.at = i;
            cut.withinLeftToRightRun = before == Strength::LeftToRight && strength == Strength::LeftToRight;
        }
        before = strength;
    }
    return cut;
}

std::vector<Slot> slotsInOrder(QStringView text, DisplayOrder order)
{
    return slotsInOrder(selectSlots(text), text, order);
}

std::vector<Slot> slotsInOrder(std::vector<Slot> slots, QStringView text, DisplayOrder order)
{
    if (slots.empty())
        return slots;
    switch (order) {
    case DisplayOrder::Typing:
        break;
    case DisplayOrder::Reverse:
        std::reverse(slots.begin(), slots.end());
        break;
    case DisplayOrder::Visual:
        return visualPiece(slots, text).slots;
    }
    return slots;
}

VisualPiece visualPiece(const std::vector<Slot>& typingSlots, QStringView text)
{
    VisualPiece piece;
    if (text.isEmpty())
        return piece;
    const BidiLayout layout = bidiLayout(text);
    piece.slots.reserve(typingSlots.size());
    for (const int32_t logical : layout.visualMap)
        if (typingSlots[static_cast<std::size_t>(logical)] != kNoSlot)
            piece.slots.push_back(typingSlots[static_cast<std::size_t>(logical)]);
    // The paragraph's level is 1: a left-to-right run is 2 or above.
    const auto glyphsOfRun = [&](auto first, auto last) {
        qsizetype glyphs = 0;
        for (; first != last && *first >= 2; ++first)
            glyphs += typingSlots[static_cast<std::size_t>(&*first - layout.levels.data())] != kNoSlot;
        return std::pair(glyphs, first == last);
    };
    std::tie(piece.openingRun, piece.oneRun) = glyphsOfRun(layout.levels.begin(), layout.levels.end());
    piece.closingRun = glyphsOfRun(layout.levels.rbegin(), layout.levels.rend()).first;
    return piece;
}

}  // namespace harfcode
