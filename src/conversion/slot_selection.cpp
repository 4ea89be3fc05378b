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
    const qsizetype length = text.size();
    std::vector<Slot> slots(static_cast<std::size_t>(length));
    if (length == 0)
        return slots;

    // Both flags persist from one position to the next. Branch-free, as this loop is the
    // whole cost of selection.
    bool previousJoins = false;
    bool nextJoins = false;
    const LetterClass* previous = &kTextEdge;
    const LetterClass* current = &classOf(text[0]);
    const auto step = [&](qsizetype i, const LetterClass* next) {
        previousJoins = (previousJoins & previous->keepsPreviousJoin) | previous->setsPreviousJoin;
        nextJoins = (nextJoins & next->keepsNextJoin) | next->setsNextJoin;
        slots[static_cast<std::size_t>(i)] = current->forms[formIndex(previousJoins, nextJoins)];
        previous = current;
        current = next;
    };
    for (qsizetype i = 0; i + 1 < length; ++i)
        step(i, &classOf(text[i + 1]));
    step(length - 1, &kTextEdge);
    return slots;
}

}  // namespace harfcode
