#!/usr/bin/env bash
# The shaper of `harfcode-cli --shaper` in the builds firmware meets it, in one file beside a
# strings header, the C font header and the GFX font, all of their default names: C99 with
# -pedantic and C++11 on the PC (where the program also runs: its visual order of a text is the
# strings header's), avr-gcc for the atmega328p with and without --progmem, and arm-none-eabi-gcc
# for a Cortex-M0 without a C library; each under -Wall -Wextra -Werror, linked but for AVR
# without --progmem. The flash each chip's program takes is printed on lines starting "figure:".
#
# Usage: shaper_toolchains_test.sh HARFCODE_CLI SOURCE_DIR
set -uo pipefail
# shellcheck source=../support/header_builds.sh
source "$(dirname "$0")/../support/header_builds.sh"
require_tools arm-none-eabi-gcc:gcc-arm-none-eabi arm-none-eabi-size:binutils-arm-none-eabi avr-size:binutils-avr

readonly warnings=(-Wall -Wextra -Werror)
readonly sample='سلام 123 (ABC) دنیا، ۴۵ [دو]'
readonly tahoma=/usr/share/wine/fonts/tahoma.ttf

succeeds "new table" "$cli" --new-table table.txt
printf 'GREETING=%s\n' "$sample" >strings.txt

# The headers, with --progmem (for AVR's flash) or without.
write_headers() {
    succeeds "strings header $*" "$cli" --header strings.txt --table table.txt --output strings.h "$@"
    succeeds "C font $*" "$cli" --font "$tahoma" --size 12 --table table.txt --font-format c --output font.h "$@"
    succeeds "GFX font" "$cli" --font "$tahoma" --size 12 --table table.txt --font-format gfx --output gfx.h
    succeeds "shaper $*" "$cli" --shaper --table table.txt --output shaper.h "$@"
}

# The program lays out the sample at run time and compares it with the strings header's codes of
# it, which the converter wrote; the header's array is in flash where STRINGS_IN_FLASH is defined.
# (Reading it also keeps avr-gcc 5.4 from a false warning of an unused array in flash.)
cat >everything.c <<EOT
#define HARFCODE_STRINGS_IMPLEMENTATION
#define HARFCODE_FONT_IMPLEMENTATION
#define HARFCODE_GFX_FONT_IMPLEMENTATION
#define HARFCODE_SHAPER_IMPLEMENTATION
#include "strings.h"
#include "font.h"
#include "gfx.h"
#include "shaper.h"

#ifdef STRINGS_IN_FLASH
#define READ_STRING_BYTE(address) pgm_read_byte(address)
#else
#define READ_STRING_BYTE(address) (*(address))
#endif

static const char sample[] = "$sample";

/* 0 where the shaper lays out the sample as the converter did, in one row of 64 glyphs. */
int main(void)
{
    uint8_t codes[GREETING_LENGTH];
    unsigned char scratch[HARFCODE_SCRATCH_SIZE(sizeof sample - 1)];
    char forms[4 * sizeof sample];
    size_t count, next, i;
    count = harfcode_codes(sample, sizeof sample - 1, HARFCODE_VISUAL, codes, sizeof codes, scratch, sizeof scratch);
    if (count != GREETING_LENGTH)
        return 1;
    for (i = 0; i < count; ++i)
        if (codes[i] != READ_STRING_BYTE(&GREETING[i]))
            return 2;
    if (harfcode_row(sample, sizeof sample - 1, 64, &next) != sizeof sample - 1 || next != sizeof sample - 1)
        return 3;
    return harfcode_forms(sample, sizeof sample - 1, HARFCODE_VISUAL, forms, sizeof forms, scratch, sizeof scratch)
                   < sizeof forms
               ? 0
               : 4;
}
EOT

# --- The PC: C99 and C++11, run -----------------------------------------------------------------
# Optimised, as firmware is built: some warnings (a value maybe used uninitialised) need it.
write_headers
succeeds "gcc -std=c99 -pedantic" cc -std=c99 -pedantic -O2 "${warnings[@]}" everything.c -o everything_c
succeeds "g++ -std=c++11" c++ -std=c++11 -O2 "${warnings[@]}" -x c++ everything.c -o everything_cpp
for program in everything_c everything_cpp; do
    ./$program || fail "$program lays out the sample otherwise than the converter (exit $?)"
done
step_ok "the shaper builds beside the other headers in C99 and C++11 and lays out the sample as the converter does"

# --- The chips ----------------------------------------------------------------------------------
# Flash of a program: its code and its initialised data.
flash() { "$1" "$2" | awk 'NR == 2 { print $1 + $2 }'; }

# Without --progmem the arrays would be copied to RAM, more than the atmega328p has: compiled only.
succeeds "avr-gcc without --progmem" avr-gcc -mmcu=atmega328p -Os -std=c99 -pedantic "${warnings[@]}" -c everything.c -o avr_ram.o
write_headers --progmem
succeeds "avr-gcc with --progmem" avr-gcc -mmcu=atmega328p -Os -std=c99 -pedantic "${warnings[@]}" -DSTRINGS_IN_FLASH \
    everything.c -o avr.elf
echo "figure: atmega328p, flash of the program of every header with --progmem: $(flash avr-size avr.elf) bytes"
in_ram=$(avr-nm avr.elf | grep -E ' [dDbB] harfcode_')
[[ -z $in_ram ]] || fail "with --progmem these stay in RAM: $in_ram"
step_ok "the shaper builds beside the other headers for the atmega328p, with and without --progmem"

# No C library: the entry is main itself; libgcc's arithmetic is allowed.
succeeds "arm-none-eabi-gcc" arm-none-eabi-gcc -mcpu=cortex-m0 -mthumb -Os -ffreestanding -nostdlib -std=c99 -pedantic \
    "${warnings[@]}" everything.c -Wl,--entry=main -lgcc -o arm.elf
echo "figure: Cortex-M0, flash of the program of every header: $(flash arm-none-eabi-size arm.elf) bytes"
step_ok "the shaper builds beside the other headers for a Cortex-M0 without a C library"
