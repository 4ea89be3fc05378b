#pragma once

#include "conversion/code_output.h"
#include "font/font_face.h"
#include "table/code_strings.h"
#include "table/slot_catalogue.h"

#include <QString>

#include <array>
#include <cstdint>
#include <variant>
#include <vector>

namespace harfcode {

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

    // "slots 5, 6 and 7 share the code 0B, which holds the glyph of slot 5"
    QString description() const;
};

// The display's font: the glyph of every slot whose code is filled in, at that code.
struct DisplayFont {
    std::vector<DisplayGlyph> glyphs;  // by code, one per code
    int height = 0;    // rows of every glyph: the font's ascender and descender, or its ink beyond them
    int baseline = 0;  // rows above the baseline
    int unfilledSlots = 0;  // left out, their code still "00"
    std::vector<SharedCode> sharedCodes;
    // Slots whose outline has points but no ink at this size and hinting ("." at 3 px): drawn
    // as they are, empty.
    std::vector<Slot> inklessSlots;

    // The glyph at `code`, or none where no slot has that code.
    const DisplayGlyph* glyphAt(std::uint8_t code) const;
};

// A glyph that the font lacks, or holds in a form that cannot be drawn.
struct MissingGlyph {
    Slot slot;
    std::uint8_t code;
    GlyphFault fault;

    // e.g. the font has no glyph for slot 26 (U+FEB3 "ﺳ"), code 5A
    QString description() const;
};

// Why no display font can be made: codes that are not bytes, a table with nothing filled in,
// or glyphs the font lacks or holds empty. Each lists every case at once.
struct DisplayFontError {
    std::vector<InvalidCode> invalidCodes;
    bool unfilledTable = false;
    std::vector<MissingGlyph> missingGlyphs;

    // One line a problem; a table with nothing filled in ends with `unfilledAdvice`, what the
    // front end offers to fill it in.
    QStringList descriptions(const QString& unfilledAdvice) const;
};

std::variant<DisplayFont, DisplayFontError> displayFont(const FontFace& face, const CodeStrings& codes, Hinting hinting);

// The display's font as far as it can be made, for a preview that shows what is wrong where it
// stands: the glyphs displayFont() would hold of every code that is a byte and filled in and
// whose glyph the font has; `problems` holds what displayFont() would refuse the font for.
struct PartialDisplayFont {
    DisplayFont font;
    DisplayFontError problems;

    bool whole() const { return problems.invalidCodes.empty() && !problems.unfilledTable && problems.missingGlyphs.empty(); }
};
PartialDisplayFont partialDisplayFont(const FontFace& face, const CodeStrings& codes, Hinting hinting);

// What the display shows for one slot of a text.
struct SlotGlyph {
    enum class Mark {
        None,
        InvalidCode,   // the code is not a byte: nothing is shown
        Unfilled,      // the code is still "00": nothing is shown
        MissingGlyph,  // the font lacks the glyph at the code: nothing is shown
        SharedCode,    // other slots have the code too: one glyph stands for them all
        TooWide,       // wider than a row of pixels even alone: it stands alone and overflows
    };
    const DisplayGlyph* glyph = nullptr;  // none where nothing is shown
    Mark mark = Mark::None;
};
SlotGlyph slotGlyph(const DisplayFont& font, const CodeStrings& codes, Slot slot);

}  // namespace harfcode
