#include "unifont_reference.h"

#include "font/display_font.h"

#include <QFile>

namespace harfcode {

std::set<char32_t> inkedSlotCharacters()
{
    std::set<char32_t> characters;
    for (int slot = 2; slot <= kSlotCount; ++slot)
        characters.insert(characterOfSlot(static_cast<Slot>(slot)));
    return characters;
}

std::map<char32_t, UnifontGlyph> readUnifontHex(const QString& path, const std::set<char32_t>& wanted)
{
    std::map<char32_t, UnifontGlyph> glyphs;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return glyphs;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype colon = line.indexOf(':');
        bool number = false;
        const auto character = static_cast<char32_t>(line.first(std::max<qsizetype>(colon, 0)).toUInt(&number, 16));
        if (colon < 0 || !number || !wanted.contains(character))
            continue;
        const QByteArray bits = QByteArray::fromHex(line.sliced(colon + 1));
        UnifontGlyph glyph;
        glyph.width = static_cast<int>(bits.size()) * 8 / UnifontGlyph::kRows;
        const int bytesPerRow = glyph.width / 8;
        for (int row = 0; row < UnifontGlyph::kRows; ++row)
            for (int byte = 0; byte < bytesPerRow; ++byte)
                glyph.rows[static_cast<std::size_t>(row)] = static_cast<std::uint16_t>(
                    glyph.rows[static_cast<std::size_t>(row)] << 8 | static_cast<unsigned char>(bits[row * bytesPerRow + byte]));
        glyphs[character] = glyph;
    }
    return glyphs;
}

std::optional<std::string> differenceFromUnifont(const RenderedGlyph& glyph, const UnifontGlyph& reference)
{
    if (glyph.advance != reference.width)
        return "advance " + std::to_string(glyph.advance) + ", designed " + std::to_string(reference.width);
    // The grid's row of the glyph's first row, and every pixel of the grid and of the glyph.
    const int firstRow = UnifontGlyph::kRowsAboveBaseline - glyph.top;
    for (int row = std::min(0, firstRow); row < std::max(UnifontGlyph::kRows, firstRow + glyph.rows); ++row)
        for (int column = std::min(0, glyph.left); column < std::max(reference.width, glyph.left + glyph.width); ++column) {
            const int x = column - glyph.left;
            const int y = row - firstRow;
            const bool rendered = x >= 0 && x < glyph.width && y >= 0 && y < glyph.rows && glyph.inkAt(x, y);
            const bool designed = column >= 0 && column < reference.width && row >= 0 && row < UnifontGlyph::kRows
                                  && reference.inkAt(column, row);
            if (rendered != designed)
                return "pixel " + std::to_string(column) + "," + std::to_string(row) + (rendered ? " inked" : " blank");
        }
    return std::nullopt;
}

}  // namespace harfcode
