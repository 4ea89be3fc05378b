#include "firmware/display_order.h"

#include "conversion/slot_selection.h"

#include <unicode/ubidi.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace harfcode {
namespace {

struct BidiCloser {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

// The logical position shown at each visual position, left to right, of `text` as one
// right-to-left paragraph.
std::vector<int32_t> visualMap(QStringView text)
{
    const auto length = static_cast<int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBiDi, BidiCloser> bidi(ubidi_openSized(length, 0, &status));
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(text.utf16()), length, UBIDI_RTL, nullptr, &status);
    std::vector<int32_t> map(static_cast<std::size_t>(length));
    ubidi_getVisualMap(bidi.get(), map.data(), &status);
    // Only memory can fail here, for a text this program could hold.
    if (U_FAILURE(status))
        throw std::runtime_error(u_errorName(status));
    return map;
}

}  // namespace

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
    case DisplayOrder::Visual: {
        std::vector<Slot> visual;
        visual.reserve(slots.size());
        for (const int32_t logical : visualMap(text))
            if (slots[static_cast<std::size_t>(logical)] != kNoSlot)
                visual.push_back(slots[static_cast<std::size_t>(logical)]);
        return visual;
    }
    }
    return slots;
}

}  // namespace harfcode
