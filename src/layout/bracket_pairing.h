#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace harfcode {

// Follows, unit by unit, how ICU's bidirectional algorithm (ubidi) pairs the brackets of a
// right-to-left paragraph outside isolates, in ICU's own way: a bracket pairs across any
// number of brackets open, and ICU's list of the opening brackets that may still pair counts
// only to 65535, then starts again from nothing, forgetting what it held. ICU walks that list
// at every strong letter, so that a text with many brackets that never close costs it the
// square of its length; in a text where those brackets are neutrals of the same class, which
// cannot pair, ICU finds the same levels at a cost linear in the length.
class BracketPairing {
public:
    enum class Step {
        Other,
        Opened,  // an opening bracket outside isolates
        Paired,  // a closing bracket paired with an opening one: pairedOpening()
    };

    // `heldOpenings`: ICU's count of the brackets in its list where the text starts (as
    // heldOpenings() gave it at that place of a longer text), none of which pairs in the text.
    explicit BracketPairing(std::uint16_t heldOpenings = 0);

    Step pass(char16_t unit);

    // The unit where the opening bracket stands that the last Paired step paired with.
    qsizetype pairedOpening() const { return m_pairedOpening; }
    // Outside every embedding, override and isolate.
    bool atParagraphLevel() const { return m_levels.size() == 1 && m_isolateDepth == 0; }
    std::uint16_t heldOpenings() const { return m_limit; }
    // The opening brackets that may still pair.
    std::size_t openBrackets() const { return m_openings.size(); }
    // False from where the text may put ICU out of step with this class: the text from there
    // must reach ICU as it is, from a place where ICU holds no bracket. Only lines made to
    // break it do that: 65536 brackets in an isolate, an isolate that only its own direction
    // keeps within the 125 levels, or ICU's count wrapping between the two entries of an
    // angle bracket or over an angle bracket that stays listed after pairing.
    bool followsIcu() const { return m_followsIcu; }

private:
    // An opening bracket in ICU's list that may still pair. An angle bracket has two entries,
    // one for each of the two canonically equivalent closing brackets it pairs with.
    struct Opening {
        qsizetype position;
        char16_t closing;
        std::uint16_t index;  // in ICU's list
        bool secondEntry;     // of an angle bracket
        std::size_t below;    // 1 + index in m_openings of the next one down with the same closing bracket; 0: none
    };

    void passCharacter(int direction, char16_t unit);
    void passIsolated(int direction, char16_t unit);
    void passStrong(int direction);
    void passOverridden(bool leftToRight, std::uint16_t listed, std::optional<std::uint16_t> pairedWith);
    // The list index of the opening bracket that a closing one pairs with, when the pair takes
    // a direction.
    std::optional<std::uint16_t> passNeutral(char16_t unit);
    void pushEmbedding(int direction);
    void startIsolate(int direction);
    void crossBoundary();
    void startParagraph();
    void startRun(std::uint8_t level, bool leftToRightBefore);
    // Lists an entry; true when ICU's count wraps there, which leaves the list empty.
    bool addOpening(char16_t closing, bool secondEntry);
    // The closing bracket pairs with m_openings[index]; its list index when the pair takes a
    // direction.
    std::optional<std::uint16_t> pair(std::size_t index);
    void popOpenings(std::size_t count);
    void forgetOpenings(std::uint16_t limit);

    qsizetype m_position = 0;  // of the unit being passed
    char16_t m_leadSurrogate = 0;
    bool m_followsIcu = true;
    qsizetype m_pairedOpening = -1;
    Step m_step = Step::Other;

    // The explicit levels (X1 to X8) outside isolates.
    std::vector<std::uint8_t> m_levels;  // of the paragraph and the embeddings open, with ICU's override mark
    int m_overflowIsolates = 0;
    int m_overflowEmbeddings = 0;
    std::uint8_t m_previousLevel = 0;  // of the last character that took part in levels
    int m_isolateDepth = 0;            // isolates open: their brackets pair apart, and are only counted
    std::uint32_t m_isolatedOpenings = 0;

    // ICU's list of opening brackets, for its outermost isolating run.
    std::uint8_t m_runLevel = 0;
    bool m_lastStrongIsLeftToRight = false;
    std::uint16_t m_limit = 0;
    std::vector<Opening> m_openings;
    std::unordered_map<char16_t, std::size_t> m_innermostByClosing;  // 1 + index in m_openings
    // Every opening bracket below these in ICU's list has a strong character of the direction
    // after it.
    std::uint16_t m_leftToRightBelow = 0;
    std::uint16_t m_rightToLeftBelow = 0;
    bool m_anglePairLingers = false;  // an angle bracket stays listed after pairing
    qsizetype m_halvedAngle = -1;     // where an angle bracket stands that ICU's count wrapped within
};

}  // namespace harfcode
