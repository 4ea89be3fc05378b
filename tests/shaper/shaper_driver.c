/* Converts every line of a file with a generated shaper header, writing what harfcode-cli writes
   for the same lines: usage  shaper_driver MODE FILE  where the mode is codes, forms or rows-N
   (rows of N glyphs, their codes), then typing, reverse or visual, e.g. rows-5-visual. Lines end
   at LF; a line that is not UTF-8 writes nothing, as the converter skips it. */
#define HARFCODE_SHAPER_IMPLEMENTATION
#include "shaper.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void *scratch;
static size_t scratch_size;

static void print_codes(const char *text, size_t length, harfcode_order order)
{
    const size_t count = harfcode_codes(text, length, order, NULL, 0, scratch, scratch_size);
    uint8_t *codes = (uint8_t *)malloc(count + 1);
    size_t i;
    if (count >= HARFCODE_NO_SCRATCH || !codes
        || harfcode_codes(text, length, order, codes, count, scratch, scratch_size) != count)
        exit(3);
    for (i = 0; i < count; ++i)
        printf(i == 0 ? "0x%02X" : ", 0x%02X", codes[i]);
    putchar('\n');
    free(codes);
}

static void print_forms(const char *text, size_t length, harfcode_order order)
{
    const size_t size = harfcode_forms(text, length, order, NULL, 0, scratch, scratch_size);
    char *forms = (char *)malloc(size + 1);
    if (size >= HARFCODE_NO_SCRATCH || !forms
        || harfcode_forms(text, length, order, forms, size + 1, scratch, scratch_size) != size || strlen(forms) != size)
        exit(3);
    /* The converter wraps reverse and visual rows in LEFT-TO-RIGHT OVERRIDE ... POP DIRECTIONAL
       FORMATTING. */
    printf(order != HARFCODE_TYPING ? "\xE2\x80\xAD%s\xE2\x80\xAC\n" : "%s\n", forms);
    free(forms);
}

int main(int argc, char **argv)
{
    static char line[1 << 20];
    FILE *file;
    harfcode_order order;
    unsigned width = 0;
    if (argc != 3 || !(file = fopen(argv[2], "rb")))
        return 2;
    order = strstr(argv[1], "reverse") ? HARFCODE_REVERSE : strstr(argv[1], "visual") ? HARFCODE_VISUAL : HARFCODE_TYPING;
    if (strncmp(argv[1], "rows-", 5) == 0)
        width = (unsigned)atoi(argv[1] + 5);
    while (fgets(line, sizeof line, file)) {
        size_t length = strlen(line);
        if (length > 0 && line[length - 1] == '\n')
            --length;
        free(scratch);
        scratch_size = order == HARFCODE_VISUAL ? HARFCODE_SCRATCH_SIZE(length) : 0;
        scratch = scratch_size ? malloc(scratch_size) : NULL;
        if (harfcode_codes(line, length, order, NULL, 0, scratch, scratch_size) == HARFCODE_INVALID_TEXT)
            continue;
        if (width > 0) {
            size_t start = 0, next = 0;
            do {
                const size_t row = harfcode_row(line + start, length - start, width, &next);
                print_codes(line + start, row, order);
                start += next;
            } while (start < length);
        } else if (strncmp(argv[1], "forms", 5) == 0) {
            print_forms(line, length, order);
        } else {
            print_codes(line, length, order);
        }
    }
    return 0;
}
