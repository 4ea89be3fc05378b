#include "conversion/slot_selection.h"

#include "conversion/letter_classes.h"
#include "conversion/windows1256.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstddef>
#include <vector>

namespace harfcode {
namespace {

constexpr LetterClass kTransparentClass = {1, 0, 1, 0, {}, Transparency::Transparent};

// The class of every UTF-16 unit, in pages of 256 units that the high byte selects; page 0
// is the page of units without a value that join as any other such character. Built once,
// as the marks' joining type comes from Qt's Unicode tables.
struct ClassPages {
    static constexpr std::size_t kCapacity = 64;  // about 45 are needed
    std::array<std::uint8_t, 256> pageOfHighByte{};
    std::array<std::array<LetterClass, 256>, kCapacity> pages{};
};

const ClassPages kClassPages = [] {
    ClassPages table;
    std::size_t count = 1;
    table.pages[0].fill(letterClass(kNoWindows1256Value));
    for (int high = 0; high < 256; ++high) {
        std::array<LetterClass, 256>& page = table.pages[count];
        for (int low = 0; low < 256; ++low) {
            const auto unit = static_cast<char16_t>(high << 8 | low);
            page[low] = letterClass(windows1256Value(unit));
            if (QChar::isHighSurrogate(unit))
                page[low].transparency = Transparency::PairLead;
            else if (!QChar::isLowSurrogate(unit) && isTransparentToJoining(unit))
                page[low] = kTransparentClass;
        }
        if (page == table.pages[0])
            continue;
        Q_ASSERT(count + 1 < ClassPages::kCapacity);
        table.pageOfHighByte[high] = static_cast<std::uint8_t>(count++);
    }
    return table;
}();

const LetterClass& classOf(QChar character)
{
    const char16_t unit = character.unicode();
    return kClassPages.pages[kClassPages.pageOfHighByte[unit >> 8]][unit & 0xFF];
}

// How many units of the transparent character at `at` there are; 0 when it joins.
qsizetype transparentUnitsAt(QStringView text, qsizetype at, Transparency transparency)
{
    if (transparency == Transparency::Transparent)
        return 1;
    const bool pair = at + 1 < text.size() && text[at + 1].isLowSurrogate();
    return pair && isTransparentToJoining(QChar::surrogateToUcs4(text[at], text[at + 1])) ? 2 : 0;
}

}  // namespace

bool isTransparentToJoining(char32_t character)
{
    return QChar::joiningType(character) == QChar::Joining_Transparent;
}

std::optional<QChar> firstJoiningUnit(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Transparency transparency = classOf(text[i]).transparency;
        const qsizetype units = transparency == Transparency::Joins ? 0 : transparentUnitsAt(text, i, transparency);
        if (units == 0)
            return text[i];
        i += units - 1;
    }
    return std::nullopt;
}

std::vector<Slot> selectSlots(QStringView text)
{
    std::vector<Slot> slots(static_cast<std::size_t>(text.size()));
    SelectionState state;
    selectSlots(text, std::nullopt, state, slots.data());
    return slots;
}

void selectSlots(QStringView piece, std::optional<QChar> following, SelectionState& state, Slot* slots)
{
    // Both flags persist from one letter to the next. A letter's slot is known once the next
    // unit that joins is: until then it waits. Branch-free but for the marks, as this loop is
    // the whole cost of selection.
    bool previousJoins = state.previousJoins;
    bool nextJoins = state.nextJoins;
    const LetterClass* previous = state.previous ? state.previous : &kTextEdge;
    const LetterClass* waiting = nullptr;
    Slot* waitingSlot = nullptr;
    const auto select = [&](const LetterClass* next) {
        previousJoins = (previousJoins & previous->keepsPreviousJoin) | previous->setsPreviousJoin;
        nextJoins = (nextJoins & next->keepsNextJoin) | next->setsNextJoin;
        *waitingSlot = waiting->forms[formIndex(previousJoins, nextJoins)];
        previous = waiting;
    };
    const qsizetype length = piece.size();
    for (qsizetype i = 0; i < length; ++i) {
        const LetterClass* current = &classOf(piece[i]);
        if (current->transparency != Transparency::Joins) [[unlikely]] {
            if (const qsizetype units = transparentUnitsAt(piece, i, current->transparency)) {
                std::fill_n(slots + i, units, kNoSlot);
                i += units - 1;
                continue;
            }
        }
        if (waiting)
            select(current);
        waiting = current;
        waitingSlot = slots + i;
    }
    if (waiting)
        select(following ? &classOf(*following) : &kTextEdge);
    state = {previousJoins, nextJoins, previous};
}

}  // namespace harfcode
