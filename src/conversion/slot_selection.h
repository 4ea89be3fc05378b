#pragma once

#include "table/slot_catalogue.h"

#include <QStringView>

#include <optional>
#include <vector>

namespace harfcode {

struct LetterClass;

// The slot of every UTF-16 unit of `text`, in typing order: the contextual glyph each
// letter takes from the joining of its neighbours, or kNoSlot for a character the glyph
// set lacks. Transparent characters (the vowel marks, the shadda, the direction marks) have
// no slot and are no letter's neighbour: the others take the slots of the text without them.
std::vector<Slot> selectSlots(QStringView text);

// Whether `character` is of Unicode's joining type Transparent: it never stands between two
// letters as far as joining goes.
bool isTransparentToJoining(char32_t character);

// The first unit of `text` that is not part of a transparent character: what selection looks
// at after a piece that `text` follows. None when `text` holds only such characters.
std::optional<QChar> firstJoiningUnit(QStringView text);

// Where the selection of a text stands after some of its units: what a piece that follows
// needs to know of the pieces before it.
struct SelectionState {
    bool previousJoins = false;
    bool nextJoins = false;
    const LetterClass* previous = nullptr;  // of the last unit that is not transparent; none at the start
};

// The slots of `piece`, a piece of a longer text, into `slots` (one per unit of the piece):
// `state` holds where the pieces before it left the selection and is moved on past this one;
// `following` is the first unit after the piece that is not transparent, none where the
// text ends before one. Selecting a
// text piece by piece gives the slots that selectSlots() gives for the whole.
void selectSlots(QStringView piece, std::optional<QChar> following, SelectionState& state, Slot* slots);

}  // namespace harfcode
