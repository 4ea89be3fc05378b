/* Prints `pixels` (width × height, row by row, non-zero for ink) as a plain PBM (P1), whose
 * lines are at most 70 characters. For the drawing programs of this folder. */
#include <stdio.h>

static void print_plain_pbm(const unsigned char *pixels, int width, int height)
{
    int i, printed = 0;
    printf("P1\n%d %d\n", width, height);
    for (i = 0; i < width * height; ++i) {
        putchar(pixels[i] ? '1' : '0');
        if (++printed == 70 || (i + 1) % width == 0) {
            putchar('\n');
            printed = 0;
        }
    }
}
