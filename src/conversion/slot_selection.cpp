#include "conversion/slot_selection.h"

#include "conversion/letter_classes.h"
#include "conversion/windows1256.h"

namespace harfcode {
namespace {

bool applyEffect(JoinEffect effect, bool flag)
{
    switch (effect) {
    case JoinEffect::Joins:
        return true;
    case JoinEffect::Breaks:
        return false;
    case JoinEffect::Keeps:
        break;
    }
    return flag;
}

}  // namespace

std::vector<Slot> selectSlots(QStringView text)
{
    const qsizetype length = text.size();
    std::vector<Slot> slots(static_cast<std::size_t>(length), kNoSlot);
    if (length == 0)
        return slots;

    // Both flags persist from one position to the next: a neighbour in neither joining set
    // leaves the flag as the previous position had it.
    bool previousJoins = false;
    bool nextJoins = false;
    int previous = kNoWindows1256Value;
    int current = windows1256Value(text[0].unicode());
    for (qsizetype i = 0; i < length; ++i) {
        const bool isLast = i + 1 == length;
        const int next = isLast ? kNoWindows1256Value : windows1256Value(text[i + 1].unicode());
        previousJoins = i == 0 ? false : applyEffect(effectAsPrevious(previous), previousJoins);
        nextJoins = isLast ? false : applyEffect(effectAsNext(next), nextJoins);
        slots[static_cast<std::size_t>(i)] = slotOfForm(current, previousJoins, nextJoins);
        previous = current;
        current = next;
    }
    return slots;
}

}  // namespace harfcode
