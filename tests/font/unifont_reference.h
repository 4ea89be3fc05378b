#pragma once

#include "font/font_face.h"

#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace harfcode {

// GNU Unifont's designed bitmaps, as Debian's unifont package ships them in text: the reference
// that rendered glyphs are checked against, drawn by nobody here.
inline constexpr char kUnifontHex[] = "/usr/share/unifont/unifont.hex";
inline constexpr char kUnifontFont[] = "/usr/share/fonts/opentype/unifont/unifont.otf";

// One glyph of the 16-pixel grid: 8 or 16 columns, the baseline under row 14 (rows 0 to 13
// stand above it).
struct UnifontGlyph {
    static constexpr int kRows = 16;
    static constexpr int kRowsAboveBaseline = 14;
    int width = 0;
    std::array<std::uint16_t, kRows> rows{};  // the leftmost column in the top bit of `width` bits

    bool inkAt(int column, int row) const { return (rows[static_cast<std::size_t>(row)] >> (width - 1 - column)) & 1; }
};

// The characters of the slots that have ink: every slot but the blank.
std::set<char32_t> inkedSlotCharacters();

// The glyphs of `wanted` that `path` (a unifont.hex) holds.
std::map<char32_t, UnifontGlyph> readUnifontHex(const QString& path, const std::set<char32_t>& wanted);

// Where `glyph`, drawn with its origin at the grid's left edge on the grid's baseline, differs
// from `reference`, its ink or its advance; none where it is the same.
std::optional<std::string> differenceFromUnifont(const RenderedGlyph& glyph, const UnifontGlyph& reference);

}  // namespace harfcode
