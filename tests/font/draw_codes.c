/* Draws one line of codes with the loop of the header's comment (and of the README), from a
 * header of harfcode-cli --font-format c, and prints it as a plain PBM (P1): HARFCODE_FONT_HEIGHT
 * rows, from the leftmost ink or pen position to the rightmost ink or the pen's last position.
 * The codes are the arguments, in hexadecimal: draw_codes B3 C4 80 20 41
 *
 * Build: cc -std=c99 -include font.h -DHARFCODE_FONT_IMPLEMENTATION draw_codes.c -o draw_codes,
 * with -DDRAW_COLUMNS for a header of --bits columns. */
#include "plain_pbm.h"

#include <stdlib.h>

static unsigned char *pixels;
static int image_left;
static int image_width;

static void set_pixel(int x, int y)
{
    pixels[y * image_width + x - image_left] = 1;
}

static void draw_codes(const uint8_t *codes, int count, int x, int y)
{
    int i, row, column;
    for (i = 0; i < count; ++i) {
        const harfcode_font_glyph *glyph = &harfcode_font_index[codes[i]];
        const uint8_t *bits = &harfcode_font_bits[glyph->offset];
        for (row = 0; row < HARFCODE_FONT_HEIGHT; ++row)
            for (column = 0; column < glyph->columns; ++column)
#ifdef DRAW_COLUMNS
                if (bits[column * ((HARFCODE_FONT_HEIGHT + 7) / 8) + row / 8] & (1 << (row % 8)))
#else
                if (bits[row * ((glyph->columns + 7) / 8) + column / 8] & (0x80 >> (column % 8)))
#endif
                    set_pixel(x - glyph->origin + column, y + row);
        x += glyph->advance;
    }
}

int main(int argc, char **argv)
{
    uint8_t *codes = malloc((size_t)argc);
    int count = argc - 1, i, pen = 0, right = 0;
    if (!codes)
        return 1;
    for (i = 0; i < count; ++i) {
        char *end;
        const unsigned long code = strtoul(argv[i + 1], &end, 16);
        if (*argv[i + 1] == '\0' || *end != '\0' || code > 0xFF) {
            fprintf(stderr, "draw_codes: \"%s\" is not a code (two hexadecimal digits)\n", argv[i + 1]);
            return 2;
        }
        codes[i] = (uint8_t)code;
    }
    /* Every bitmap spans its glyph's ink and the pen, so the line spans the bitmaps and the pen. */
    for (i = 0; i < count; ++i) {
        const harfcode_font_glyph *glyph = &harfcode_font_index[codes[i]];
        if (pen - glyph->origin < image_left)
            image_left = pen - glyph->origin;
        if (pen - glyph->origin + glyph->columns > right)
            right = pen - glyph->origin + glyph->columns;
        pen += glyph->advance;
        if (pen > right)
            right = pen;
    }
    image_width = right - image_left;
    pixels = calloc((size_t)image_width * HARFCODE_FONT_HEIGHT + 1, 1);
    if (!pixels)
        return 1;
    draw_codes(codes, count, 0, 0);

    print_plain_pbm(pixels, image_width, HARFCODE_FONT_HEIGHT);
    free(pixels);
    free(codes);
    return 0;
}
