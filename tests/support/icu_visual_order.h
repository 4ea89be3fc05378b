#pragma once

// Shared by the display order's test and the firmware fuzzer: ICU's visual order of a whole,
// unchanged text, which visual order must give whatever text it hands ICU and wherever it cuts.

#include "table/slot_catalogue.h"

#include <QStringView>

#include <unicode/ubidi.h>

#include <memory>
#include <vector>

namespace harfcode::testing {

// The position that ICU shows at each place of the text as one right-to-left paragraph, from
// the left; nothing when ICU fails.
inline std::vector<int32_t> icuVisualMap(QStringView text)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBiDi, void (*)(UBiDi*)> bidi(ubidi_open(), ubidi_close);
    const auto length = static_cast<int32_t>(text.size());
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar*>(text.utf16()), length, UBIDI_RTL, nullptr, &status);
    std::vector<int32_t> map(static_cast<std::size_t>(length));
    ubidi_getVisualMap(bidi.get(), map.data(), &status);
    return U_SUCCESS(status) ? map : std::vector<int32_t>{};
}

// A slot for every position, its own within 255 positions, so that the order of every
// character shows, the brackets' too.
inline Slot markOf(qsizetype position)
{
    return static_cast<Slot>(1 + position % 255);
}

inline std::vector<Slot> marks(qsizetype from, qsizetype to)
{
    std::vector<Slot> marks;
    for (qsizetype position = from; position < to; ++position)
        marks.push_back(markOf(position));
    return marks;
}

// The marks of the positions from `from` to `to`, in the order of `visualMap`.
inline std::vector<Slot> marksInOrder(const std::vector<int32_t>& visualMap, qsizetype from, qsizetype to)
{
    std::vector<Slot> marks;
    for (const int32_t position : visualMap)
        if (position >= from && position < to)
            marks.push_back(markOf(position));
    return marks;
}

}  // namespace harfcode::testing
