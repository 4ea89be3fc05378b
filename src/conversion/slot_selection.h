#pragma once

#include "table/slot_catalogue.h"

#include <QStringView>

#include <vector>

namespace harfcode {

// The slot of every UTF-16 unit of `text`, in typing order: the contextual glyph each
// letter takes from the joining of its neighbours, or kNoSlot for a character the glyph
// set lacks.
std::vector<Slot> selectSlots(QStringView text);

}  // namespace harfcode
