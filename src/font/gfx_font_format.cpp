#include "font/gfx_font_format.h"

#include "font/font_header.h"

namespace harfcode {
namespace {

// The library's own structures, as its gfxfont.h declares them.
const char kGfxStructures[] =
    "\n/* The font structures of Adafruit GFX, as its gfxfont.h declares them, for a program without it. */\n"
    "#ifndef _GFXFONT_H_\n"
    "#define _GFXFONT_H_\n"
    "typedef struct {\n"
    "    uint16_t bitmapOffset;\n"
    "    uint8_t width;\n"
    "    uint8_t height;\n"
    "    uint8_t xAdvance;\n"
    "    int8_t xOffset;\n"
    "    int8_t yOffset;\n"
    "} GFXglyph;\n"
    "\n"
    "typedef struct {\n"
    "    uint8_t *bitmap;\n"
    "    GFXglyph *glyph;\n"
    "    uint16_t first;\n"
    "    uint16_t last;\n"
    "    uint8_t yAdvance;\n"
    "} GFXfont;\n"
    "#endif\n";

// Row by row, one bit a pixel and no padding between rows, the leftmost pixel in the top bit.
QByteArray packedBits(const RenderedGlyph& glyph)
{
    QByteArray bytes((glyph.width * glyph.rows + 7) / 8, '\0');
    for (std::size_t pixel = 0; pixel < glyph.ink.size(); ++pixel)
        if (glyph.ink[pixel])
            bytes[pixel / 8] = static_cast<char>(bytes[pixel / 8] | (0x80 >> pixel % 8));
    return bytes;
}

QByteArray hexByte(int code)
{
    return "0x" + hexCode(static_cast<std::uint8_t>(code));
}

QByteArray comment(const FontExportSource& source, const QString& prefix, int first, int last)
{
    const QByteArray name = prefix.toLatin1();
    const QByteArray left = fontMacro(prefix, "LEFT");
    const QByteArray baseline = fontMacro(prefix, "BASELINE");
    return fontHeaderSourceLines("for Adafruit GFX", source)
           + " *\n"
             " * An Adafruit GFX font whose glyphs stand at the display's codes, " + hexByte(first) + " to " + hexByte(last) + ".\n"
             " * With the library:\n"
             " *\n"
             " *     display.setFont(&" + name + ");\n"
             " *     display.setTextWrap(false);\n"
             " *     // The top line's pen:\n"
             " *     display.setCursor(" + left + ", " + baseline + " - 1);\n"
             " *     display.write(codes, count);\n"
             " *\n"
             " * A line is " + fontMacro(prefix, "HEIGHT") + " rows, the font's yAdvance: '\\n' moves the cursor down\n"
             " * by it and back to x = 0. " + left + " is the most columns any glyph draws left of its\n"
             " * pen: where a line may start with such a glyph, set the cursor's x to it for each line\n"
             " * instead, so that no ink is cut at the left edge.\n"
             " *\n"
             " * Adafruit_GFX::write() takes code 0A as a line end and skips 0D: a glyph there is never drawn.\n"
             " * The arrays are in flash on AVR (PROGMEM).\n"
             " *\n"
             " * Include it wherever text is drawn. Exactly one file of the program defines\n"
             " * " + fontMacro(prefix, "IMPLEMENTATION") + " before including it: that file holds the font.\n"
             " */\n";
}

}  // namespace

QStringList gfxFontNames(const QString& prefix)
{
    return QStringList{prefix, prefix + QLatin1StringView("_bitmaps"), prefix + QLatin1StringView("_glyphs")}
           + fontLineMacroNames(prefix);
}

std::variant<QByteArray, FieldOverflow> gfxFont(const DisplayFont& font, const FontExportSource& source,
                                                const QString& prefix)
{
    const int first = font.glyphs.front().code;
    const int last = font.glyphs.back().code;
    FieldCheck fields;
    std::vector<GlyphBits> bitmaps;
    QByteArray glyphLines;
    long offset = 0;
    for (int code = first; code <= last; ++code) {
        const DisplayGlyph* glyph = font.glyphAt(static_cast<std::uint8_t>(code));
        const char* end = code < last ? "," : "";
        if (!glyph) {
            glyphLines += "    {0, 0, 0, 0, 0, 0}" + QByteArray(end) + " /* " + hexCode(static_cast<std::uint8_t>(code)) + " */\n";
            continue;
        }
        const RenderedGlyph& bitmap = glyph->bitmap;
        fields.check(glyph, "bitmapOffset", offset, kUint16Field);
        fields.check(glyph, "width", bitmap.width, kUint8Field);
        fields.check(glyph, "height", bitmap.rows, kUint8Field);
        fields.check(glyph, "xAdvance", bitmap.advance, kUint8Field);
        fields.check(glyph, "xOffset", bitmap.left, kInt8Field);
        fields.check(glyph, "yOffset", 1 - bitmap.top, kInt8Field);
        if (fields.overflow())
            return *fields.overflow();
        glyphLines += QString::asprintf("    {%ld, %d, %d, %d, %d, %d}", offset, bitmap.width, bitmap.rows, bitmap.advance,
                                        bitmap.left, 1 - bitmap.top)
                          .toLatin1()
                      + end + " /* " + glyphComment(*glyph) + " */\n";
        bitmaps.push_back({glyph, packedBits(bitmap)});
        offset += bitmaps.back().bytes.size();
    }
    // A line as the C header and the PNG sample stand it: '\n' moves the cursor down by it.
    fields.check(nullptr, "yAdvance", font.height, kUint8Field);
    if (fields.overflow())
        return *fields.overflow();
    const BitmapElements bits = bitmapElements(bitmaps);

    const QByteArray name = prefix.toLatin1();
    const QByteArray bitmapsArray = name + "_bitmaps";
    const QByteArray glyphsArray = name + "_glyphs";
    // Every array in flash, as the library reads them with pgm_read_*() on AVR.
    CHeaderParts parts = fontHeaderFrame(prefix, true);
    parts.comment = comment(source, prefix, first, last);
    parts.declarations = fontLineMacros(font, prefix) + kGfxStructures + QByteArray("\nextern const GFXfont ") + name
                         + " PROGMEM;\n";
    parts.definitions = "\nstatic const uint8_t " + bitmapsArray + '[' + QByteArray::number(bits.count) + "] PROGMEM = {\n"
                        + bits.lines + "};\n\nstatic const GFXglyph " + glyphsArray + '['
                        + QByteArray::number(last - first + 1) + "] PROGMEM = {\n" + glyphLines + "};\n\nconst GFXfont "
                        + name + " PROGMEM = {(uint8_t *)" + bitmapsArray + ", (GFXglyph *)" + glyphsArray + ", "
                        + hexByte(first) + ", " + hexByte(last) + ", " + fontMacro(prefix, "HEIGHT") + "};\n";
    return cHeader(parts);
}

}  // namespace harfcode
