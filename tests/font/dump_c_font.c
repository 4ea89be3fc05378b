/* Prints what a header of harfcode-cli --font-format c holds, for the tests to read it back:
 * its height and baseline, the index entry of every code, then every byte of the bits. Built
 * with the header included first (-include) and HARFCODE_FONT_IMPLEMENTATION defined. */
#include <stdio.h>

int main(void)
{
    unsigned i;
    printf("%d %d\n", HARFCODE_FONT_HEIGHT, HARFCODE_FONT_BASELINE);
    for (i = 0; i < sizeof harfcode_font_index / sizeof harfcode_font_index[0]; ++i)
        printf("%u %u %u %u\n", (unsigned)harfcode_font_index[i].offset, (unsigned)harfcode_font_index[i].columns,
               (unsigned)harfcode_font_index[i].advance, (unsigned)harfcode_font_index[i].origin);
    for (i = 0; i < sizeof harfcode_font_bits; ++i)
        printf("%u\n", (unsigned)harfcode_font_bits[i]);
    return 0;
}
