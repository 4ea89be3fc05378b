#pragma once

// Fonts for tests whose every pixel the tests know: BDF, with Unicode's registry so that
// FreeType maps characters to glyphs.

#include <QByteArray>

#include <string_view>
#include <vector>

namespace harfcode {

struct TestGlyph {
    char32_t character;
    int left;     // from the origin to the bitmap's left column
    int bottom;   // from the baseline up to the bitmap's bottom row
    int advance;
    std::vector<std::string_view> rows;  // from the top; "#" is ink
};

inline QByteArray bdfTestFont(int pixelSize, int ascent, int descent, const std::vector<TestGlyph>& glyphs)
{
    const auto number = [](int value) { return QByteArray::number(value); };
    QByteArray out = "STARTFONT 2.1\nFONT -Test-Tiny-Medium-R-Normal--" + number(pixelSize) + "-" + number(pixelSize * 10)
                     + "-72-72-P-30-ISO10646-1\nSIZE " + number(pixelSize) + " 72 72\nFONTBOUNDINGBOX 8 8 -2 -2\n"
                     + "STARTPROPERTIES 6\nFAMILY_NAME \"Tiny\"\nPIXEL_SIZE " + number(pixelSize) + "\nFONT_ASCENT " + number(ascent)
                     + "\nFONT_DESCENT " + number(descent)
                     + "\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS "
                     + number(int(glyphs.size())) + "\n";
    for (const TestGlyph& glyph : glyphs) {
        const int width = glyph.rows.empty() ? 0 : int(glyph.rows.front().size());
        out += "STARTCHAR U" + QByteArray::number(uint(glyph.character), 16) + "\nENCODING "
               + number(int(glyph.character)) + "\nSWIDTH 500 0\nDWIDTH " + number(glyph.advance) + " 0\nBBX "
               + number(width) + " " + number(int(glyph.rows.size())) + " " + number(glyph.left) + " "
               + number(glyph.bottom) + "\nBITMAP\n";
        for (const std::string_view row : glyph.rows) {
            QByteArray bytes((width + 7) / 8, '\0');
            for (int column = 0; column < width; ++column)
                if (row[std::size_t(column)] == '#')
                    bytes[column / 8] = char(bytes[column / 8] | (0x80 >> (column % 8)));
            out += bytes.toHex().toUpper() + "\n";
        }
        out += "ENDCHAR\n";
    }
    return out + "ENDFONT\n";
}

// 4 pixels: 3 above the baseline, 1 below. The 'A' inks a column left of its origin, the
// initial seen a column beyond its advance; the meem reaches below the baseline.
inline QByteArray tinyTestFont()
{
    return bdfTestFont(4, 3, 1, {
        {U' ', 0, 0, 2, {"."}},
        {U'\uFEB3', 0, 0, 2, {"#.#", "###"}},       // seen, initial
        {U'\uFEDF', 0, 0, 2, {"#", "#", "#"}},      // lam, initial
        {U'\uFE8E', 0, 0, 3, {"#.", "#.", "##"}},   // alef, final
        {U'\uFEE1', 0, -1, 3, {"##", "#."}},        // meem, isolated
        {U'1', 0, 0, 3, {".#", "##", ".#"}},
        {U'2', 0, 0, 3, {"##", ".#", "##"}},
        {U'4', 0, 0, 3, {"#.", "##", ".#"}},
        {U'A', -1, 0, 2, {"##", "#."}},
    });
}

}  // namespace harfcode
