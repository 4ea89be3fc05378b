#pragma once

#include "firmware/code_formats.h"
#include "font/font_face.h"
#include "table/code_strings.h"
#include "table/slot_catalogue.h"

#include <QString>

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace harfcode {

// The character whose glyph stands for `slot` on the display: the presentation form, digit,
// capital or mark the slot names; the blank for slot 1.
char32_t characterOfSlot(Slot slot);

// "slot 26 (U+FEB3 "ﺳ")", "slot 1 (the blank)": a slot for messages and comments.
QString slotName(Slot slot);

// One glyph of the display's font, at the code the table gives its slot.
struct DisplayGlyph {
    std::uint8_t code;
    Slot slot;
    RenderedGlyph bitmap;  // the blank's has no ink and the space's advance
};

// Several slots with one code: the display shows one glyph for them.
struct SharedCode {
    std::uint8_t code;
    Slot stored;               // the smallest slot, whose glyph is stored at the code
    std::vector<Slot> others;  // the slots whose glyphs are left out
};

// The display's font: the glyph of every slot whose code is filled in, at that code.
struct DisplayFont {
    std::vector<DisplayGlyph> glyphs;  // by code, one per code
    int height = 0;    // rows of every glyph: the font's ascender and descender, or its ink beyond them
    int baseline = 0;  // rows above the baseline
    int lineHeight = 0;  // from one baseline to the next: the font's, or `height` where it names none
    int unfilledSlots = 0;  // left out, their code still "00"
    std::vector<SharedCode> sharedCodes;

    // The glyph at `code`, or none where no slot has that code.
    const DisplayGlyph* glyphAt(std::uint8_t code) const;
};

// A glyph that the font lacks.
struct MissingGlyph {
    Slot slot;
    std::uint8_t code;
};

// Why no display font can be made: codes that are not bytes, a table with nothing filled in,
// or glyphs the font lacks. Each lists every case at once.
struct DisplayFontError {
    std::vector<InvalidCode> invalidCodes;
    bool unfilledTable = false;
    std::vector<MissingGlyph> missingGlyphs;

    QStringList descriptions() const;
};

std::variant<DisplayFont, DisplayFontError> displayFont(const FontFace& face, const CodeStrings& codes, Hinting hinting);

}  // namespace harfcode
