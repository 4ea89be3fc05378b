/* Prints what a header of harfcode-cli --font-format gfx holds, read through its GFXfont as the
 * library reads it: first, last and yAdvance, the glyph of every code from first to last, then
 * the bitmap bytes up to the end of the last glyph's. Built with the header included first
 * (-include) and HARFCODE_FONT_IMPLEMENTATION defined. */
#include <stdio.h>

int main(void)
{
    const GFXfont *font = &harfcode_font;
    unsigned code, i, end = 0;
    printf("%u %u %u\n", (unsigned)font->first, (unsigned)font->last, (unsigned)font->yAdvance);
    for (code = font->first; code <= font->last; ++code) {
        const GFXglyph *glyph = &font->glyph[code - font->first];
        const unsigned glyph_end = glyph->bitmapOffset + (glyph->width * glyph->height + 7u) / 8u;
        printf("%u %u %u %u %d %d\n", (unsigned)glyph->bitmapOffset, (unsigned)glyph->width, (unsigned)glyph->height,
               (unsigned)glyph->xAdvance, (int)glyph->xOffset, (int)glyph->yOffset);
        if (glyph_end > end)
            end = glyph_end;
    }
    for (i = 0; i < end; ++i)
        printf("%u\n", (unsigned)font->bitmap[i]);
    return 0;
}
