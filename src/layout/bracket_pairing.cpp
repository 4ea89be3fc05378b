#include "layout/bracket_pairing.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

namespace harfcode {
namespace {

constexpr std::uint8_t kParagraphLevel = 1;  // right to left
constexpr std::uint8_t kOverride = UBIDI_LEVEL_OVERRIDE;  // ICU's mark on the level of an override
constexpr std::uint32_t kListSize = 0x10000;  // ICU counts its list in 16 bits

std::uint8_t withoutOverride(std::uint8_t level)
{
    return level & ~kOverride;
}

// The least greater even or odd level, which an embedding or isolate of that direction opens.
std::uint8_t leftToRightAbove(std::uint8_t level)
{
    return (withoutOverride(level) + 2) & ~1;
}

std::uint8_t rightToLeftAbove(std::uint8_t level)
{
    return (withoutOverride(level) + 1) | 1;
}

bool isLeftToRight(std::uint8_t level)
{
    return (level & 1) == 0;
}

// An angle bracket pairs with either of two canonically equivalent closing brackets.
constexpr char16_t kAngleClosings[] = {0x232A, 0x3009};

bool isAngleClosing(char16_t closing)
{
    return std::find(std::begin(kAngleClosings), std::end(kAngleClosings), closing) != std::end(kAngleClosings);
}

char16_t otherAngleClosing(char16_t closing)
{
    return closing == kAngleClosings[0] ? kAngleClosings[1] : kAngleClosings[0];
}

char16_t closingOf(char16_t opening)
{
    return static_cast<char16_t>(u_getBidiPairedBracket(opening));
}

}  // namespace

BracketPairing::BracketPairing(std::uint16_t heldOpenings)
{
    startParagraph();
    m_limit = heldOpenings;
}

BracketPairing::Step BracketPairing::pass(char16_t unit)
{
    m_step = Step::Other;
    if (const char16_t lead = std::exchange(m_leadSurrogate, 0)) {
        if (U16_IS_TRAIL(unit)) {
            // ICU gives the pair's class to its second unit and leaves out the first.
            passCharacter(u_charDirection(U16_GET_SUPPLEMENTARY(lead, unit)), 0);
            ++m_position;
            return m_step;
        }
        passCharacter(u_charDirection(lead), lead);
    }
    if (U16_IS_LEAD(unit))
        m_leadSurrogate = unit;  // its class depends on the next unit
    else
        passCharacter(u_charDirection(unit), unit);
    ++m_position;
    return m_step;
}

void BracketPairing::passCharacter(int direction, char16_t unit)
{
    if (!m_followsIcu)
        return;
    if (direction == U_BLOCK_SEPARATOR) {
        startParagraph();
        return;
    }
    if (direction == U_BOUNDARY_NEUTRAL)
        return;
    if (m_isolateDepth > 0) {
        passIsolated(direction, unit);
        return;
    }
    switch (direction) {
    case U_LEFT_TO_RIGHT_EMBEDDING:
    case U_LEFT_TO_RIGHT_OVERRIDE:
    case U_RIGHT_TO_LEFT_EMBEDDING:
    case U_RIGHT_TO_LEFT_OVERRIDE:
        pushEmbedding(direction);
        break;
    case U_POP_DIRECTIONAL_FORMAT:
        if (m_overflowIsolates > 0)
            break;
        if (m_overflowEmbeddings > 0)
            --m_overflowEmbeddings;
        else if (m_levels.size() > 1)
            m_levels.pop_back();
        break;
    case U_LEFT_TO_RIGHT_ISOLATE:
    case U_RIGHT_TO_LEFT_ISOLATE:
    case U_FIRST_STRONG_ISOLATE:
        startIsolate(direction);
        break;
    case U_POP_DIRECTIONAL_ISOLATE:
        // No isolate is open here: it ends one that the levels could not hold, or nothing.
        crossBoundary();
        if (m_overflowIsolates > 0)
            --m_overflowIsolates;
        m_previousLevel = m_levels.back();
        break;
    default: {
        crossBoundary();
        const std::uint8_t level = m_levels.back();
        m_previousLevel = level;
        const std::uint16_t listed = m_limit;
        const std::optional<std::uint16_t> pairedWith =
            direction == U_OTHER_NEUTRAL ? passNeutral(unit) : std::nullopt;
        if (level & kOverride)
            passOverridden(isLeftToRight(level), listed, pairedWith);
        else
            passStrong(direction);
        break;
    }
    }
}

void BracketPairing::pushEmbedding(int direction)
{
    const bool leftToRight = direction == U_LEFT_TO_RIGHT_EMBEDDING || direction == U_LEFT_TO_RIGHT_OVERRIDE;
    const std::uint8_t level = leftToRight ? leftToRightAbove(m_levels.back()) : rightToLeftAbove(m_levels.back());
    if (level <= UBIDI_MAX_EXPLICIT_LEVEL && m_overflowIsolates == 0 && m_overflowEmbeddings == 0) {
        const bool override = direction == U_LEFT_TO_RIGHT_OVERRIDE || direction == U_RIGHT_TO_LEFT_OVERRIDE;
        m_levels.push_back(override ? level | kOverride : level);
    } else if (m_overflowIsolates == 0) {
        ++m_overflowEmbeddings;
    }
}

void BracketPairing::startIsolate(int direction)
{
    crossBoundary();
    const std::uint8_t level = m_levels.back();
    m_previousLevel = level;
    const bool overflow = m_overflowIsolates > 0 || m_overflowEmbeddings > 0;
    const bool roomLeftToRight = leftToRightAbove(level) <= UBIDI_MAX_EXPLICIT_LEVEL;
    const bool roomRightToLeft = rightToLeftAbove(level) <= UBIDI_MAX_EXPLICIT_LEVEL;
    if (direction == U_FIRST_STRONG_ISOLATE && !overflow && roomLeftToRight != roomRightToLeft) {
        // Whether it opens depends on the direction of a letter further on.
        m_followsIcu = false;
        return;
    }
    if (!overflow && (direction == U_LEFT_TO_RIGHT_ISOLATE ? roomLeftToRight : roomRightToLeft)) {
        m_isolateDepth = 1;
        m_isolatedOpenings = 0;
    } else {
        ++m_overflowIsolates;
    }
}

void BracketPairing::passIsolated(int direction, char16_t unit)
{
    switch (direction) {
    case U_LEFT_TO_RIGHT_ISOLATE:
    case U_RIGHT_TO_LEFT_ISOLATE:
    case U_FIRST_STRONG_ISOLATE:
        ++m_isolateDepth;
        break;
    case U_POP_DIRECTIONAL_ISOLATE:
        if (--m_isolateDepth == 0)
            m_previousLevel = m_levels.back();
        break;
    case U_OTHER_NEUTRAL:
        // ICU lists them above those outside: more than its count holds would wrap it there.
        if (u_getIntPropertyValue(unit, UCHAR_BIDI_PAIRED_BRACKET_TYPE) == U_BPT_OPEN) {
            m_isolatedOpenings += isAngleClosing(closingOf(unit)) ? 2 : 1;
            m_followsIcu = m_limit + m_isolatedOpenings < kListSize;
        }
        break;
    default:
        break;
    }
}

// A strong letter, or a number, which counts as one for the brackets, lies after every opening
// bracket listed. A nonspacing mark takes the class of the letter before it, which has marked
// them already.
void BracketPairing::passStrong(int direction)
{
    switch (direction) {
    case U_LEFT_TO_RIGHT:
        m_lastStrongIsLeftToRight = true;
        m_leftToRightBelow = m_limit;
        break;
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
        m_lastStrongIsLeftToRight = false;
        m_rightToLeftBelow = m_limit;
        break;
    case U_EUROPEAN_NUMBER:
        (m_lastStrongIsLeftToRight ? m_leftToRightBelow : m_rightToLeftBelow) = m_limit;
        break;
    case U_ARABIC_NUMBER:
        m_rightToLeftBelow = m_limit;
        break;
    default:
        break;
    }
}

// Inside an override every character is strong in its direction for the brackets listed
// before it; a closing bracket that pairs, only for those outside its pair.
void BracketPairing::passOverridden(bool leftToRight, std::uint16_t listed, std::optional<std::uint16_t> pairedWith)
{
    m_lastStrongIsLeftToRight = leftToRight;
    std::uint16_t& below = leftToRight ? m_leftToRightBelow : m_rightToLeftBelow;
    if (pairedWith)
        below = std::min(std::max(below, *pairedWith), m_limit);
    else if (m_step == Step::Opened)
        below = m_limit > listed ? listed : 0;  // none when ICU's count wrapped here
    else
        below = m_limit;
}

std::optional<std::uint16_t> BracketPairing::passNeutral(char16_t unit)
{
    switch (u_getIntPropertyValue(unit, UCHAR_BIDI_PAIRED_BRACKET_TYPE)) {
    case U_BPT_OPEN: {
        m_step = Step::Opened;
        const char16_t closing = closingOf(unit);
        if (isAngleClosing(closing)) {
            // ICU lists the other closing bracket first; its count may wrap between the two.
            if (addOpening(otherAngleClosing(closing), false))
                m_halvedAngle = m_position;
            addOpening(closing, true);
        } else {
            addOpening(closing, false);
        }
        break;
    }
    case U_BPT_CLOSE:
        if (const std::size_t innermost = m_innermostByClosing[unit]) {
            m_step = Step::Paired;
            m_pairedOpening = m_openings[innermost - 1].position;
            return pair(innermost - 1);
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

bool BracketPairing::addOpening(char16_t closing, bool secondEntry)
{
    const std::uint16_t index = m_limit++;
    if (m_limit == 0) {
        // Where an angle bracket stays listed in the text without the brackets that never
        // pair, that text's list is longer than ICU's now, and may wrap elsewhere.
        if (m_anglePairLingers)
            m_followsIcu = false;
        popOpenings(m_openings.size());
        m_leftToRightBelow = m_rightToLeftBelow = 0;
        return true;
    }
    std::size_t& innermost = m_innermostByClosing[closing];
    m_openings.push_back({m_position, closing, index, secondEntry, innermost});
    innermost = m_openings.size();
    return false;
}

std::optional<std::uint16_t> BracketPairing::pair(std::size_t index)
{
    const Opening opening = m_openings[index];
    // The other entry lies below, unless ICU's count wrapped between the two.
    const bool firstEntryBelow = opening.secondEntry && opening.index > 0;
    if (opening.position == m_halvedAngle)
        m_followsIcu = false;  // the text without the brackets that never pair has its first entry
    const bool leftToRightInside = opening.index < m_leftToRightBelow;
    const bool rightToLeftInside = opening.index < m_rightToLeftBelow;
    // It and the brackets opened after it pair no more.
    popOpenings(m_openings.size() - index);
    if (!leftToRightInside && !rightToLeftInside) {
        // Nothing strong inside (N0d): ICU drops them from its list, but not the other entry.
        forgetOpenings(opening.index);
        return std::nullopt;
    }
    if (firstEntryBelow)
        popOpenings(1);
    // Settled for good (N0b, or N0c with nothing listed below), ICU drops them from its list.
    const bool ofRunDirection = isLeftToRight(m_runLevel) ? leftToRightInside : rightToLeftInside;
    if (ofRunDirection || opening.index == 0)
        forgetOpenings(firstEntryBelow ? opening.index - 1 : opening.index);
    else if (opening.secondEntry)
        // ICU keeps the pair listed (N0c: the direction before the brackets may change yet),
        // and its first entry below it, which only the end of the run takes away.
        m_anglePairLingers = true;
    return opening.index;
}

void BracketPairing::popOpenings(std::size_t count)
{
    for (; count > 0; --count) {
        m_innermostByClosing[m_openings.back().closing] = m_openings.back().below;
        m_openings.pop_back();
    }
}

void BracketPairing::forgetOpenings(std::uint16_t limit)
{
    m_limit = limit;
    m_leftToRightBelow = std::min(m_leftToRightBelow, limit);
    m_rightToLeftBelow = std::min(m_rightToLeftBelow, limit);
}

void BracketPairing::crossBoundary()
{
    // A character at another level than the last ends ICU's run, and its list with it. (The
    // start or end of an isolate between the two would keep it, but leaves both at one level.)
    const std::uint8_t level = m_levels.back();
    if (withoutOverride(level) != withoutOverride(m_previousLevel))
        startRun(level, isLeftToRight(withoutOverride(level) > withoutOverride(m_previousLevel) ? level : m_previousLevel));
}

void BracketPairing::startParagraph()
{
    m_levels.assign(1, kParagraphLevel);
    m_overflowIsolates = 0;
    m_overflowEmbeddings = 0;
    m_previousLevel = kParagraphLevel;
    m_isolateDepth = 0;
    startRun(kParagraphLevel, false);
}

void BracketPairing::startRun(std::uint8_t level, bool leftToRightBefore)
{
    popOpenings(m_openings.size());
    forgetOpenings(0);
    m_anglePairLingers = false;
    m_runLevel = level;
    m_lastStrongIsLeftToRight = leftToRightBefore;
}

}  // namespace harfcode
