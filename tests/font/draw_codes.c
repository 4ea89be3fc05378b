/* Draws codes from a header of harfcode-cli --font-format c (-DDRAW_COLUMNS for --bits columns)
 * with the loop of the header's comment and of the README, or from one of --font-format gfx
 * (-DDRAW_GFX) as Adafruit GFX does: each glyph's bits one after the other, row by row from
 * (x + xOffset, y + yOffset), the cursor's y on the row above the baseline, a line yAdvance
 * below the one before as '\n' puts it. Each argument is a line of codes in hexadecimal
 * (draw_codes "B3 C4 80 20 41" "31"): the lines are printed as a plain PBM, a row a line, from
 * the leftmost ink or pen position to the rightmost. Without lines, it prints the C header's
 * height or the GFX font's yAdvance and the header's HARFCODE_FONT_LEFT, then every code's glyph:
 * the code, its advance, its box (left and top from the pen on the baseline, width, rows) and
 * the box's ink.
 * With -DDRAW_ROWS="X(NAME) X(OTHER)" and a strings header of rows in pixels included after the
 * font, it draws each entry NAME as a display N pixels wide shows it (draw_codes N): row r's
 * codes NAME[NAME_ROW_START[r]] up to NAME[NAME_ROW_START[r + 1]] with the pen at
 * (NAME_ROW_X[r], r times the height), a plain PBM an entry; it fails where a row's ink or pen
 * reaches beyond the display's edges.
 * Build: cc -std=c99 -include font.h -DHARFCODE_FONT_IMPLEMENTATION draw_codes.c -o draw_codes */
#include <stdio.h>
#include <stdlib.h>

struct box {
    int advance, left, top, width, rows;
};

/* Bit `mask` of bytes[at], or a failure where the bitmap reaches past its array. */
static int bit(const uint8_t *bytes, size_t size, size_t at, unsigned mask)
{
    if (at >= size) {
        fprintf(stderr, "a bitmap reaches past its array\n");
        exit(3);
    }
    return (bytes[at] & mask) != 0;
}

#ifdef DRAW_GFX
#define FONT_HEIGHT harfcode_font.yAdvance
#define GLYPH (&harfcode_font.glyph[code - harfcode_font.first])

/* The glyph of `code` in `box`: 0 where it has none. */
static int glyph_box(unsigned code, struct box *box)
{
    if (code < harfcode_font.first || code > harfcode_font.last)
        return 0;
    *box = (struct box){GLYPH->xAdvance, GLYPH->xOffset, 1 - GLYPH->yOffset, GLYPH->width, GLYPH->height};
    return box->advance || box->width || box->rows;
}

static int ink(unsigned code, int column, int row)
{
    const unsigned at = (unsigned)(row * GLYPH->width + column);
    return bit(harfcode_font_bitmaps, sizeof harfcode_font_bitmaps, GLYPH->bitmapOffset + at / 8, 0x80 >> (at % 8));
}
#else
#define FONT_HEIGHT HARFCODE_FONT_HEIGHT
#define GLYPH (&harfcode_font_index[code])

static int glyph_box(unsigned code, struct box *box)
{
    *box = (struct box){GLYPH->advance, -GLYPH->origin, HARFCODE_FONT_BASELINE, GLYPH->columns, HARFCODE_FONT_HEIGHT};
    return box->advance || box->width;
}

static int ink(unsigned code, int column, int row)
{
#ifdef DRAW_COLUMNS
    return bit(harfcode_font_bits, sizeof harfcode_font_bits,
               GLYPH->offset + column * ((HARFCODE_FONT_HEIGHT + 7) / 8) + row / 8, 1 << (row % 8));
#else
    return bit(harfcode_font_bits, sizeof harfcode_font_bits, GLYPH->offset + row * ((GLYPH->columns + 7) / 8) + column / 8,
               0x80 >> (column % 8));
#endif
}
#endif

static unsigned char *pixels;
static int image_left, image_right, image_width, image_rows;

/* Draws, or only measures while `pixels` is null, the glyph of `code` at `pen` on `baseline`;
 * moves the pen on. */
static void draw_code(unsigned long code, int *pen, int baseline)
{
    int row, column;
    struct box box;
    if (code > 0xFF || !glyph_box((unsigned)code, &box))
        return;
    for (row = 0; row < box.rows; ++row)
        for (column = 0; column < box.width; ++column)
            if (ink((unsigned)code, column, row)) {
                const int x = *pen + box.left + column, y = baseline - box.top + row;
                if (pixels && y >= 0 && y < image_rows && x >= image_left && x - image_left < image_width)
                    pixels[y * image_width + x - image_left] = 1;
                image_left = x < image_left ? x : image_left;
                image_right = x + 1 > image_right ? x + 1 : image_right;
            }
    *pen += box.advance;
    image_right = *pen > image_right ? *pen : image_right;
}

static void print_image(void)
{
    int x, y;
    printf("P1\n%d %d\n", image_width, image_rows);
    for (y = 0; y < image_rows; ++y, putchar('\n'))
        for (x = 0; x < image_width; ++x)
            putchar(pixels[y * image_width + x] ? '1' : '0');
}

/* Draws, or only measures, a line of codes with the pen at 0 on `baseline`. */
static void draw_line(const char *codes, int baseline)
{
    int pen = 0;
    char *end;
    for (unsigned long code = strtoul(codes, &end, 16); end != codes; code = strtoul(codes = end, &end, 16))
        draw_code(code, &pen, baseline);
}

#ifdef DRAW_ROWS
/* An entry's rows on a display `width` pixels wide, as a PBM. */
static void draw_entry(const uint8_t *codes, const uint16_t *starts, const uint16_t *pens, int rows, int width)
{
    int row;
    image_left = 0;
    image_right = image_width = width;
    image_rows = FONT_HEIGHT * rows;
    free(pixels);
    if (!(pixels = calloc((size_t)(image_width * image_rows) + 1, 1)))
        exit(1);
    for (row = 0; row < rows; ++row) {
        int pen = pens[row];
        for (unsigned at = starts[row]; at < starts[row + 1]; ++at)
            draw_code(codes[at], &pen, row * FONT_HEIGHT + HARFCODE_FONT_BASELINE);
    }
    if (image_left < 0 || image_right > width) {
        fprintf(stderr, "the rows reach from x = %d to %d, beyond a display %d pixels wide\n", image_left, image_right,
                width);
        exit(3);
    }
    print_image();
}
#endif

int main(int argc, char **argv)
{
    int line, x, y;
    struct box box;
#ifdef DRAW_ROWS
#define X(name) draw_entry(name, name##_ROW_START, name##_ROW_X, name##_ROWS, atoi(argv[1]));
    if (argc == 2) {
        DRAW_ROWS
        return 0;
    }
#endif
    if (argc <= 1) {
        printf("%d %d\n", (int)FONT_HEIGHT, HARFCODE_FONT_LEFT);
        for (unsigned code = 0; code < 256; ++code)
            if (glyph_box(code, &box)) {
                printf("%u %d %d %d %d %d\n", code, box.advance, box.left, box.top, box.width, box.rows);
                for (y = 0; y < box.rows; ++y, putchar('\n'))
                    for (x = 0; x < box.width; ++x)
                        putchar(ink(code, x, y) ? '1' : '0');
            }
        return 0;
    }
    for (line = 1; line < argc; ++line)
        draw_line(argv[line], 0);
    image_width = image_right - image_left;
    image_rows = FONT_HEIGHT * (argc - 1);
    if (!(pixels = calloc((size_t)(image_width * image_rows) + 1, 1)))
        return 1;
    for (line = 1; line < argc; ++line)
        draw_line(argv[line], (line - 1) * FONT_HEIGHT + HARFCODE_FONT_BASELINE);
    print_image();
    return 0;
}
