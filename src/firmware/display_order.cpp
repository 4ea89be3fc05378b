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

// The pairs of brackets that the bidirectional algorithm knows: canonically equivalent
// brackets pair as the same.
char32_t canonicalBracket(char32_t bracket)
{
    return bracket == 0x3008 ? 0x2329 : bracket == 0x3009 ? 0x232A : bracket;
}

// What the bidirectional algorithm leaves out before it resolves levels: the embedding marks
// and the boundary neutrals (the joiners, for one).
bool removedFromLevels(UCharDirection direction)
{
    switch (direction) {
    case U_LEFT_TO_RIGHT_EMBEDDING:
    case U_LEFT_TO_RIGHT_OVERRIDE:
    case U_RIGHT_TO_LEFT_EMBEDDING:
    case U_RIGHT_TO_LEFT_OVERRIDE:
    case U_POP_DIRECTIONAL_FORMAT:
    case U_BOUNDARY_NEUTRAL:
        return true;
    default:
        return false;
    }
}

}  // namespace

void VisualCutFinder::add(QStringView piece)
{
    // The algorithm pairs brackets only up to this depth, and none after it.
    constexpr std::size_t kBracketDepth = 63;
    // Embeddings and isolates deeper than this are not followed.
    constexpr std::size_t kExplicitDepth = 60;
    const qsizetype pieceStart = m_place.units;
    for (const QChar character : piece) {
        const char16_t unit = character.unicode();
        // A letter outside the basic plane is never strong here: no cut next to a surrogate.
        const UCharDirection direction = QChar::isSurrogate(unit) ? U_OTHER_NEUTRAL : u_charDirection(unit);
        const TextPlace place = m_place;
        m_place.passUnit(unit);
        if (m_stopped)
            continue;
        switch (direction) {
        case U_BLOCK_SEPARATOR:
            // A paragraph of its own follows.
            m_stopped = true;
            continue;
        case U_LEFT_TO_RIGHT_EMBEDDING:
        case U_LEFT_TO_RIGHT_OVERRIDE:
        case U_RIGHT_TO_LEFT_EMBEDDING:
        case U_RIGHT_TO_LEFT_OVERRIDE:
            m_embeddingMayPart = m_embeddingMayPart || m_explicit.empty();
            m_explicit.push_back(Explicit::Embedding);
            m_stopped = m_explicit.size() > kExplicitDepth;
            break;
        case U_LEFT_TO_RIGHT_ISOLATE:
        case U_RIGHT_TO_LEFT_ISOLATE:
        case U_FIRST_STRONG_ISOLATE:
            m_explicit.push_back(Explicit::Isolate);
            m_stopped = m_explicit.size() > kExplicitDepth;
            break;
        case U_POP_DIRECTIONAL_ISOLATE:
            // Ends the last isolate with every embedding inside it; alone, it ends nothing.
            if (const auto isolate = std::find(m_explicit.rbegin(), m_explicit.rend(), Explicit::Isolate);
                isolate != m_explicit.rend())
                m_explicit.erase(isolate.base() - 1, m_explicit.end());
            break;
        case U_POP_DIRECTIONAL_FORMAT:
            // Ends the last embedding, but no isolate.
            if (!m_explicit.empty() && m_explicit.back() == Explicit::Embedding)
                m_explicit.pop_back();
            break;
        default:
            break;
        }
        if (m_explicit.empty()) {
            m_embeddingMayPart = false;
        } else {
            if (m_embeddingMayPart && !removedFromLevels(direction)) {
                // An embedding that holds text parts what precedes it from what follows: no
                // bracket pairs across it, so the brackets open now never close, and the places
                // inside them stay.
                m_embeddingMayPart = false;
                m_closingBrackets.clear();
                for (Candidate& candidate : m_candidates)
                    candidate.openBrackets = 0;
            }
            m_beforeIsStrong = false;
            continue;
        }
        switch (u_getIntPropertyValue(unit, UCHAR_BIDI_PAIRED_BRACKET_TYPE)) {
        case U_BPT_OPEN:
            if (m_closingBrackets.size() == kBracketDepth) {
                m_stopped = true;
                continue;
            }
            m_closingBrackets.push_back(canonicalBracket(u_getBidiPairedBracket(unit)));
            break;
        case U_BPT_CLOSE:
            if (const auto match = std::find(m_closingBrackets.rbegin(), m_closingBrackets.rend(), canonicalBracket(unit));
                match != m_closingBrackets.rend()) {
                const auto depth = static_cast<std::size_t>(m_closingBrackets.rend() - match) - 1;
                m_closingBrackets.resize(depth);
                // The brackets open at these places did pair up.
                std::erase_if(m_candidates, [&](const Candidate& candidate) { return candidate.openBrackets > depth; });
            }
            break;
        default:
            break;
        }
        const bool leftToRight = direction == U_LEFT_TO_RIGHT;
        const bool strong = leftToRight || direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
        if (m_beforeIsStrong && strong) {
            // The piece's last place, and of its places the one inside the fewest brackets.
            const Candidate candidate{{place, m_beforeIsLeftToRight && leftToRight}, m_closingBrackets.size()};
            const bool pieceHasOne = !m_candidates.empty() && m_candidates.back().cut.at.units >= pieceStart;
            if (!pieceHasOne)
                m_candidates.push_back(candidate);
            else if (candidate.openBrackets <= m_candidates.back().openBrackets)
                m_candidates.back() = candidate;
        }
        m_beforeIsStrong = strong;
        m_beforeIsLeftToRight = leftToRight;
    }
}

std::vector<VisualCut> VisualCutFinder::finish()
{
    // Brackets still open never pair up now.
    std::vector<VisualCut> cuts;
    cuts.reserve(m_candidates.size());
    for (const Candidate& candidate : m_candidates)
        cuts.push_back(candidate.cut);
    return cuts;
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
