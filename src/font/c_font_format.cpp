#include "font/c_font_format.h"

#include <algorithm>
#include <utility>

namespace harfcode {
namespace {

constexpr int kCodes = 256;

// Where a glyph's bitmap lies: from the leftmost of its ink and the pen's origin to the
// rightmost, so that the origin's column is never negative.
struct Span {
    int columns = 0;
    int origin = 0;  // at most `columns`
};

Span spanOf(const RenderedGlyph& glyph)
{
    if (glyph.width == 0 || glyph.rows == 0)
        return {};
    const int first = std::min(0, glyph.left);
    return {std::max(glyph.left + glyph.width, 0) - first, -first};
}

QByteArray bitmapOf(const DisplayFont& font, const RenderedGlyph& glyph, const Span& span, BitmapBits bits)
{
    const int rowBytes = (span.columns + 7) / 8;
    const int columnBytes = (font.height + 7) / 8;
    QByteArray bytes(bits == BitmapBits::Rows ? font.height * rowBytes : span.columns * columnBytes, '\0');
    const int firstRow = font.baseline - glyph.top;
    const int firstColumn = span.origin + glyph.left;
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x) {
            if (!glyph.inkAt(x, y))
                continue;
            const int row = firstRow + y;
            const int column = firstColumn + x;
            const auto [at, bit] = bits == BitmapBits::Rows ? std::pair(row * rowBytes + column / 8, 0x80 >> column % 8)
                                                            : std::pair(column * columnBytes + row / 8, 1 << row % 8);
            bytes[at] = static_cast<char>(bytes[at] | bit);
        }
    return bytes;
}

// The names of the header for `prefix`.
struct CHeaderNames {
    explicit CHeaderNames(const QString& prefix)
        : glyph((prefix + QLatin1StringView("_glyph")).toLatin1())
        , index((prefix + QLatin1StringView("_index")).toLatin1())
        , bits((prefix + QLatin1StringView("_bits")).toLatin1())
        , height(fontMacro(prefix, "HEIGHT"))
        , baseline(fontMacro(prefix, "BASELINE"))
        , left(fontMacro(prefix, "LEFT"))
        , implementation(fontMacro(prefix, "IMPLEMENTATION"))
    {
    }
    QByteArray glyph, index, bits, height, baseline, left, implementation;
};

QByteArray layoutText(BitmapBits bits)
{
    return bits == BitmapBits::Rows
               ? " * Its bits go row by row from the top, each row in whole bytes, the leftmost pixel in the most\n"
                 " * significant bit (as Adafruit GFX's drawBitmap() takes them).\n"
               : " * Its bits go column by column from the left, each column in whole bytes of eight rows from the\n"
                 " * top, the topmost pixel in the least significant bit (as an SSD1306's pages and a MAX7219's\n"
                 " * digits hold them).\n";
}

QByteArray inkTest(BitmapBits bits, const CHeaderNames& names)
{
    return bits == BitmapBits::Rows ? "bits[row * ((glyph->columns + 7) / 8) + column / 8] & (0x80 >> (column % 8))"
                                    : "bits[column * ((" + names.height + " + 7) / 8) + row / 8] & (1 << (row % 8))";
}

QByteArray comment(const FontExportSource& source, const CFontSettings& settings, const CHeaderNames& names)
{
    QByteArray text = fontHeaderSourceLines("as C arrays", source);
    text += " *\n"
            " * Every glyph is " + names.height + " rows high, " + names.baseline + " of them above the baseline.\n"
            " * " + names.index + " has an entry for each of the 256 codes: where the glyph's bitmap starts in\n"
            " * " + names.bits + " (offset), its columns, how far the pen moves after it (advance; 0 where the\n"
            " * code has no glyph) and the bitmap's column where the pen stands (origin). A bitmap spans the\n"
            " * glyph's ink and the pen, so that ink left of the pen, such as a final form's tail, is drawn too.\n";
    text += layoutText(settings.bits);
    text += " *\n"
            " * To draw codes[0] to codes[count - 1] with the pen at x and the top row at y:\n"
            " * start a line at x = " + names.left + ", the most columns any glyph draws left of its pen,\n"
            " * so that none is cut at the display's left edge.\n"
            " *\n"
            " *     for (i = 0; i < count; ++i) {\n"
            " *         const " + names.glyph + " *glyph = &" + names.index + "[codes[i]];\n"
            " *         const uint8_t *bits = &" + names.bits + "[glyph->offset];\n"
            " *         for (row = 0; row < " + names.height + "; ++row)\n"
            " *             for (column = 0; column < glyph->columns; ++column)\n"
            " *                 if (" + inkTest(settings.bits, names) + ")\n"
            " *                     set_pixel(x - glyph->origin + column, y + row);\n"
            " *         x += glyph->advance;\n"
            " *     }\n"
            " *\n";
    if (settings.progmem)
        text += " * On AVR the arrays are in flash: copy an entry with memcpy_P() and read the bits with\n"
                " * pgm_read_byte().\n"
                " *\n";
    return text + " * Include it wherever text is drawn. Exactly one file of the program defines\n"
                  " * " + names.implementation + " before including it: that file holds the arrays.\n"
                  " */\n";
}

}  // namespace

QStringList cFontNames(const QString& prefix)
{
    const CHeaderNames names(prefix);
    return QStringList{QString::fromLatin1(names.glyph), QString::fromLatin1(names.index), QString::fromLatin1(names.bits)}
           + fontLineMacroNames(prefix);
}

std::variant<QByteArray, FieldOverflow> cFont(const DisplayFont& font, const FontExportSource& source,
                                              const QString& prefix, const CFontSettings& settings)
{
    FieldCheck fields;
    std::vector<GlyphBits> bitmaps;
    QByteArrayList entries(kCodes, "{0, 0, 0, 0}");
    long offset = 0;
    for (const DisplayGlyph& glyph : font.glyphs) {
        const Span span = spanOf(glyph.bitmap);
        fields.check(&glyph, "offset", offset, kUint16Field);
        fields.check(&glyph, "columns", span.columns, kUint8Field);  // and so the origin, at most the columns
        fields.check(&glyph, "advance", glyph.bitmap.advance, kUint8Field);
        if (fields.overflow())
            return *fields.overflow();
        entries[glyph.code] = QString::asprintf("{%ld, %d, %d, %d}", offset, span.columns, glyph.bitmap.advance, span.origin).toLatin1();
        bitmaps.push_back({&glyph, bitmapOf(font, glyph.bitmap, span, settings.bits)});
        offset += bitmaps.back().bytes.size();
    }
    const BitmapElements bits = bitmapElements(bitmaps);

    const CHeaderNames names(prefix);
    const QByteArray progmem = settings.progmem ? " PROGMEM" : "";
    const QByteArray indexDeclarator = "const " + names.glyph + ' ' + names.index + '[' + QByteArray::number(kCodes) + ']' + progmem;
    const QByteArray bitsDeclarator = "const uint8_t " + names.bits + '[' + QByteArray::number(bits.count) + ']' + progmem;

    CHeaderParts parts = fontHeaderFrame(prefix, settings.progmem);
    parts.comment = comment(source, settings, names);
    parts.declarations = fontLineMacros(font, prefix) + "\ntypedef struct {\n"
                         + "    uint16_t offset;  /* where the bitmap starts in " + names.bits + " */\n"
                         + "    uint8_t columns;\n"
                           "    uint8_t advance;  /* 0: no glyph at this code */\n"
                           "    uint8_t origin;   /* the bitmap's column where the pen stands */\n"
                           "} " + names.glyph + ";\n\n"
                         + "extern " + indexDeclarator + ";\nextern " + bitsDeclarator + ";\n";
    parts.definitions = '\n' + indexDeclarator + " = {\n";
    for (int code = 0; code < kCodes; ++code) {
        const DisplayGlyph* glyph = font.glyphAt(static_cast<std::uint8_t>(code));
        parts.definitions += "    " + entries[code] + (code + 1 < kCodes ? "," : "") + " /* "
                             + (glyph ? glyphComment(*glyph) : hexCode(static_cast<std::uint8_t>(code)))
                             + " */\n";
    }
    parts.definitions += "};\n\n" + bitsDeclarator + " = {\n" + bits.lines + "};\n";
    return cHeader(parts);
}

}  // namespace harfcode
