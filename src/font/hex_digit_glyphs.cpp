#include "font/hex_digit_glyphs.h"

#include <string_view>

namespace harfcode {
namespace {

constexpr std::string_view kDigitCharacters = "0123456789ABCDEF";

// 3 × 5 pixels each, row by row from the top; "#" is ink.
constexpr std::string_view kSmallDigits[16] = {
    "###" "#.#" "#.#" "#.#" "###",  // 0
    ".#." "##." ".#." ".#." "###",  // 1
    "###" "..#" "###" "#.." "###",  // 2
    "###" "..#" "###" "..#" "###",  // 3
    "#.#" "#.#" "###" "..#" "..#",  // 4
    "###" "#.." "###" "..#" "###",  // 5
    "###" "#.." "###" "#.#" "###",  // 6
    "###" "..#" "..#" "..#" "..#",  // 7
    "###" "#.#" "###" "#.#" "###",  // 8
    "###" "#.#" "###" "..#" "###",  // 9
    "###" "#.#" "###" "#.#" "#.#",  // A
    "##." "#.#" "##." "#.#" "##.",  // B
    "###" "#.." "#.." "#.." "###",  // C
    "##." "#.#" "#.#" "#.#" "##.",  // D
    "###" "#.." "###" "#.." "###",  // E
    "###" "#.." "###" "#.." "#..",  // F
};

RenderedGlyph smallDigit(std::string_view pixels)
{
    RenderedGlyph glyph{3, 5, 0, 5, 4, {}};
    for (const char pixel : pixels)
        glyph.ink.push_back(pixel == '#');
    return glyph;
}

}  // namespace

HexDigitGlyphs hexDigitGlyphs(const FontFace& face, Hinting hinting)
{
    HexDigitGlyphs labels;
    for (std::size_t value = 0; value < labels.digits.size(); ++value) {
        auto rendered = face.render(char32_t(kDigitCharacters[value]), hinting);
        if (auto* glyph = std::get_if<RenderedGlyph>(&rendered); glyph && !glyph->fromNoData)
            labels.digits[value] = std::move(*glyph);
        else
            labels.missing += QChar(kDigitCharacters[value]);
    }
    if (!labels.missing.isEmpty())
        for (std::size_t value = 0; value < labels.digits.size(); ++value)
            labels.digits[value] = smallDigit(kSmallDigits[value]);
    return labels;
}

}  // namespace harfcode
