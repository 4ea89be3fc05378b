#include "layout/display_order.h"

#include "conversion/slot_selection.h"

#include <QString>

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

// What an opening bracket that never pairs is for ICU: a neutral of the same class, which
// cannot pair.
constexpr char16_t kUnpairedOpening = u'!';

// The layout of `text` as ICU gives it, at a cost linear in its length: ICU is handed the text
// with its opening brackets that never pair made neutrals, unless the pairing cannot say which
// those are.
BidiLayout visualLayout(QStringView text, std::uint16_t heldOpenings)
{
    BracketPairing pairing(heldOpenings);
    std::vector<bool> unpaired(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        switch (pairing.pass(text[i].unicode())) {
        case BracketPairing::Step::Opened:
            unpaired[static_cast<std::size_t>(i)] = true;
            break;
        case BracketPairing::Step::Paired:
            unpaired[static_cast<std::size_t>(pairing.pairedOpening())] = false;
            break;
        case BracketPairing::Step::Other:
            break;
        }
    }
    if (!pairing.followsIcu() || std::find(unpaired.begin(), unpaired.end(), true) == unpaired.end())
        return bidiLayout(text);
    QString neutral = text.toString();
    for (qsizetype i = 0; i < neutral.size(); ++i)
        if (unpaired[static_cast<std::size_t>(i)])
            neutral[i] = kUnpairedOpening;
    return bidiLayout(neutral);
}

}  // namespace

void VisualCutFinder::add(QStringView piece)
{
    const qsizetype pieceStart = m_place.units;
    for (const QChar character : piece) {
        const char16_t unit = character.unicode();
        const TextPlace place = m_place;
        m_place.passUnit(unit);
        if (m_pairing.pass(unit) == BracketPairing::Step::Paired) {
            // The brackets open at the places after the opening one did pair up.
            while (!m_candidates.empty() && m_candidates.back().cut.at.units > m_pairing.pairedOpening())
                m_candidates.pop_back();
        }
        // A letter outside the basic plane is never strong here: no cut next to a surrogate.
        const UCharDirection direction = QChar::isSurrogate(unit) ? U_OTHER_NEUTRAL : u_charDirection(unit);
        // No place after a paragraph separator, which a paragraph of its own follows, nor where
        // the pairing stops following ICU's.
        m_stopped = m_stopped || direction == U_BLOCK_SEPARATOR || !m_pairing.followsIcu();
        if (m_stopped)
            continue;
        const bool leftToRight = direction == U_LEFT_TO_RIGHT;
        const bool strong = m_pairing.atParagraphLevel() &&
                            (leftToRight || direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC);
        if (m_beforeIsStrong && strong) {
            // The piece's last place, and of its places the one inside the fewest brackets.
            const Candidate candidate{{place, m_beforeIsLeftToRight && leftToRight, m_pairing.heldOpenings()},
                                      m_pairing.openBrackets()};
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
    // Brackets still open never pair up now. Where the pairing stopped following ICU's, the
    // last piece reaches ICU as it is: it starts where ICU holds no bracket.
    if (!m_pairing.followsIcu())
        while (!m_candidates.empty() && m_candidates.back().cut.heldOpenings != 0)
            m_candidates.pop_back();
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

VisualPiece visualPiece(const std::vector<Slot>& typingSlots, QStringView text, std::uint16_t heldOpenings)
{
    VisualPiece piece;
    if (text.isEmpty())
        return piece;
    const BidiLayout layout = visualLayout(text, heldOpenings);
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

void joinVisualPiece(qsizetype index, const VisualPiece& piece, bool runGoesOnBefore, bool runGoesOnAfter,
                     std::vector<PiecePart>& held, std::vector<PiecePart>& parts)
{
    parts.clear();
    const auto size = static_cast<qsizetype>(piece.slots.size());
    qsizetype rest = 0;
    if (runGoesOnAfter) {
        if (runGoesOnBefore && piece.oneRun) {
            held.push_back({index, 0, size});
            return;
        }
        // The run's part here, then the parts of it that waited in the pieces after.
        rest = piece.closingRun;
        parts.push_back({index, 0, rest});
        parts.insert(parts.end(), held.crbegin(), held.crend());
        held.clear();
    }
    const qsizetype restEnd = runGoesOnBefore ? std::max(rest, size - piece.openingRun) : size;
    parts.push_back({index, rest, restEnd});
    if (runGoesOnBefore)
        held.push_back({index, restEnd, size});
}

}  // namespace harfcode
