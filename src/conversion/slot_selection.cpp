#include "conversion/slot_selection.h"

#include "conversion/letter_classes.h"
#include "conversion/windows1256.h"

namespace harfcode {
namespace {

// The class of every UTF-16 unit, paged like the Windows-1256 lookup it folds in: one
// lookup less per character in the loop below.
constexpr auto kClassPages = [] {
    using windows1256_detail::kPageOfHighByte;
    std::array<std::array<LetterClass, 256>, windows1256_detail::kPageCount> pages{};
    pages[0].fill(letterClass(kNoWindows1256Value));
    for (int high = 0; high < 256; ++high) {
        if (const std::uint8_t page = kPageOfHighByte[high])
            for (int low = 0; low < 256; ++low)
                pages[page][low] = letterClass(windows1256Value(static_cast<char16_t>(high << 8 | low)));
    }
    return pages;
}();

const LetterClass& classOf(QChar character)
{
    const char16_t unit = character.unicode();
    return kClassPages[windows1256_detail::kPageOfHighByte[unit >> 8]][unit & 0xFF];
}

}  // namespace

std::vector<Slot> selectSlots(QStringView text)
{
    std::vector<Slot> slots(static_cast<std::size_t>(text.size()));
    SelectionState state;
    selectSlots(text, std::nullopt, state, slots.data());
    return slots;
}

void selectSlots(QStringView piece, std::optional<QChar> following, SelectionState& state, Slot* slots)
{
    const qsizetype length = piece.size();
    if (length == 0)
        return;

    // Both flags persist from one position to the next. Branch-free, as this loop is the
    // whole cost of selection.
    bool previousJoins = state.previousJoins;
    bool nextJoins = state.nextJoins;
    const LetterClass* previous = state.previous ? state.previous : &kTextEdge;
    const LetterClass* current = &classOf(piece[0]);
    const auto step = [&](qsizetype i, const LetterClass* next) {
        previousJoins = (previousJoins & previous->keepsPreviousJoin) | previous->setsPreviousJoin;
        nextJoins = (nextJoins & next->keepsNextJoin) | next->setsNextJoin;
        slots[i] = current->forms[formIndex(previousJoins, nextJoins)];
        previous = current;
        current = next;
    };
    for (qsizetype i = 0; i + 1 < length; ++i)
        step(i, &classOf(piece[i + 1]));
    step(length - 1, following ? &classOf(*following) : &kTextEdge);
    state = {previousJoins, nextJoins, previous};
}

}  // namespace harfcode
