/* Draws one line of codes from a header of harfcode-cli --font-format gfx as Adafruit GFX draws
 * a custom font's characters (each glyph's bits row by row from (x + xOffset, y + yOffset), the
 * cursor's y on the row above the baseline), and prints it as a plain PBM (P1): HEIGHT rows, the
 * baseline under row BASELINE - 1, from the leftmost ink or pen position to the rightmost ink or
 * the pen's last position. The codes follow in hexadecimal: draw_gfx_codes 15 12 B3 C4 80 20 41
 *
 * Build: cc -std=c99 -include font.h -DHARFCODE_FONT_IMPLEMENTATION draw_gfx_codes.c */
#include "plain_pbm.h"

#include <stdlib.h>

static unsigned char *pixels;
static int image_left;
static int image_width;
static int image_height;
static int measuring = 1;
static int ink_left;
static int ink_right;

static void write_pixel(int x, int y)
{
    if (measuring) {
        ink_left = x < ink_left ? x : ink_left;
        ink_right = x + 1 > ink_right ? x + 1 : ink_right;
    } else if (y >= 0 && y < image_height) {
        pixels[y * image_width + x - image_left] = 1;
    }
}

/* The cursor's x after the line. */
static int draw_codes(const uint8_t *codes, int count, int x, int y)
{
    const GFXfont *font = &harfcode_font;
    int i, xx, yy;
    for (i = 0; i < count; ++i) {
        const GFXglyph *glyph;
        const uint8_t *bitmap;
        unsigned bits = 0, bit = 0;
        if (codes[i] < font->first || codes[i] > font->last)
            continue;
        glyph = &font->glyph[codes[i] - font->first];
        bitmap = &font->bitmap[glyph->bitmapOffset];
        for (yy = 0; yy < glyph->height; ++yy)
            for (xx = 0; xx < glyph->width; ++xx) {
                if (!(bit++ & 7))
                    bits = *bitmap++;
                if (bits & 0x80)
                    write_pixel(x + glyph->xOffset + xx, y + glyph->yOffset + yy);
                bits <<= 1;
            }
        x += glyph->xAdvance;
    }
    return x;
}

int main(int argc, char **argv)
{
    int count = argc - 3, i, pen;
    uint8_t *codes;
    if (argc < 3)
        return 2;
    image_height = atoi(argv[1]);
    codes = malloc((size_t)argc);
    if (!codes)
        return 1;
    for (i = 0; i < count; ++i)
        codes[i] = (uint8_t)strtoul(argv[i + 3], NULL, 16);
    /* The cursor stands on the row above the baseline, as in the library's own fonts. */
    pen = draw_codes(codes, count, 0, atoi(argv[2]) - 1);
    image_left = ink_left < 0 ? ink_left : 0;
    image_width = (ink_right > pen ? ink_right : pen) - image_left;
    pixels = calloc((size_t)(image_width * image_height) + 1, 1);
    if (!pixels)
        return 1;
    measuring = 0;
    draw_codes(codes, count, 0, atoi(argv[2]) - 1);
    print_plain_pbm(pixels, image_width, image_height);
    free(pixels);
    free(codes);
    return 0;
}
