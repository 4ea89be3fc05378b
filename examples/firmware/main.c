/* Shows the greeting. Here the display is standard output, which prints the codes it gets. */
#include "strings.h"

#include <stddef.h>
#include <stdio.h>

static void display_write(const uint8_t *codes, size_t count)
{
    size_t i;
    for (i = 0; i < count; ++i)
        printf(i + 1 < count ? "%02X " : "%02X\n", codes[i]);
}

int main(void)
{
    display_write(GREETING, GREETING_LENGTH);
    return 0;
}
