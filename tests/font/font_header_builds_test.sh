#!/usr/bin/env bash
# harfcode-cli --font-format c and gfx as a firmware build meets them: each header compiles
# without a warning in C99 and C++11, a program of two files holds the font once whichever file
# implements it, the C header, the GFX font, strings headers and the shaper stand in one file
# with their default names and with names of their own, the arrays are in flash on AVR
# (the C header's with --progmem, the GFX font's always), the GFX font builds without the
# library, an error leaves the output alone; and the README shows the header's drawing loop.
#
# Usage: font_header_builds_test.sh HARFCODE_CLI SOURCE_DIR
set -uo pipefail
# shellcheck source=../support/header_builds.sh
source "$(dirname "$0")/../support/header_builds.sh"

# The file rather than the family: fontconfig leaks under the sanitizers (the family lookup is
# tested on its own).
readonly tahoma=/usr/share/wine/fonts/tahoma.ttf
readonly font=(--font "$tahoma" --size 12 --table table.txt)
font() { succeeds "font $*" "$cli" "${font[@]}" "$@"; }

succeeds "new table" "$cli" --new-table table.txt
font --font-format c --output font.h
font --output font.bdf

# What the BDF font of the same glyphs says: the advance (DWIDTH) of a code, and the height.
bdf_advance() { awk -v code="$1" '$1 == "ENCODING" { found = ($2 == code) } found && $1 == "DWIDTH" { print $2; exit }' font.bdf; }
bdf_height=$(awk '$1 == "FONT_ASCENT" { a = $2 } $1 == "FONT_DESCENT" { d = $2 } END { print a + d }' font.bdf)

# --- The C header: C and C++ files of one program, either implementing it --------------------
write_program c_font $'#define HARFCODE_FONT_IMPLEMENTATION\n#include "font.h"' \
    '"%u %u %d\n", probe(), (unsigned)harfcode_font_index[0x20].advance, HARFCODE_FONT_HEIGHT' \
    '#include "font.h"' 'harfcode_font_index[0x41].advance'
builds_both_ways c_font c++11 "$(bdf_advance 65) $(bdf_advance 32) $bdf_height"
stored_once c_font_c_cpp harfcode_font_index harfcode_font_bits
stored_once c_font_cpp_c harfcode_font_index harfcode_font_bits
step_ok "the C header builds without warnings in C99 and C++11, its arrays stored once"

# --- The GFX font: C and C++ without the library, either file implementing it ----------------
font --font-format gfx --output gfx.h
write_program gfx $'#define HARFCODE_GFX_FONT_IMPLEMENTATION\n#include "gfx.h"' \
    '"%02X %02X %u\n", (unsigned)harfcode_gfx_font.first, (unsigned)harfcode_gfx_font.last, probe()' '#include "gfx.h"' \
    'harfcode_gfx_font.yAdvance'
# The new table's codes: the blank (20) first, "؟" (BE) last; a line of Tahoma 12 px is 15 rows.
builds_both_ways gfx c++11 "20 BE 15"
stored_once gfx_c_cpp harfcode_gfx_font
stored_once gfx_cpp_c harfcode_gfx_font
step_ok "the GFX font builds without the library in C99 and C++11, stored once"

# --- Every kind of header in one file: with their default names, and two of each by name ----
printf 'GREETING=سلام\n' >strings.txt
printf 'TITLE=منو\n' >menu.txt
succeeds "strings header" "$cli" --header strings.txt --table table.txt --output strings.h
succeeds "menu header" "$cli" --header menu.txt --table table.txt --output menu.h
# A strings header written to font.h, beside the C header of that name, takes a guard of its own.
mkdir texts && printf 'FOOTER=نو\n' >texts/footer.txt
succeeds "strings header as font.h" "$cli" --header texts/footer.txt --table table.txt --output texts/font.h
succeeds "shaper" "$cli" --shaper --table table.txt --output shaper.h
readonly implementations=$'#define HARFCODE_STRINGS_IMPLEMENTATION\n#define HARFCODE_FONT_IMPLEMENTATION\n#define HARFCODE_GFX_FONT_IMPLEMENTATION'
write_program defaults "$implementations"$'\n#define HARFCODE_SHAPER_IMPLEMENTATION\n#include "strings.h"\n#include "font.h"\n#include "gfx.h"\n#include "shaper.h"' \
    '"%u %u %u %u\n", probe(), (unsigned)GREETING_LENGTH, (unsigned)harfcode_gfx_font.yAdvance, (unsigned)harfcode_codes("AB", 2, HARFCODE_REVERSE, 0, 0, 0, 0)' \
    $'#include "strings.h"\n#include "font.h"\n#include "gfx.h"\n#include "shaper.h"' 'harfcode_font_index[0x41].advance'
builds_both_ways defaults c++11 "$(bdf_advance 65) 4 15 2"
stored_once defaults_c_cpp GREETING harfcode_font_index harfcode_gfx_font harfcode_slot_codes
step_ok "the strings header, the C header, the GFX font and the shaper of default names build in one file"

font --font-format c --bits columns --name small_font --output small.h
font --font-format c --name big_font --output big.h
font --font-format gfx --name small_gfx --output small_gfx.h
font --font-format gfx --name big_gfx --output big_gfx.h
grep -q '^#ifndef SMALL_FONT_H$' small.h || fail "small.h is not guarded by SMALL_FONT_H"
readonly named=(strings.h menu.h texts/font.h font.h small.h big.h small_gfx.h big_gfx.h)
write_program named "$implementations"$'\n#define SMALL_FONT_IMPLEMENTATION\n#define BIG_FONT_IMPLEMENTATION\n#define SMALL_GFX_IMPLEMENTATION\n#define BIG_GFX_IMPLEMENTATION\n'"$(printf '#include "%s"\n' "${named[@]}")" \
    '"%u %d %u %u\n", probe(), SMALL_FONT_HEIGHT - BIG_FONT_HEIGHT, (unsigned)(TITLE_LENGTH + GREETING_LENGTH + FOOTER_LENGTH), (unsigned)(small_gfx.last - big_gfx.last)' \
    "$(printf '#include "%s"\n' "${named[@]}")" 'small_font_index[0x41].advance + big_font_index[0x41].advance'
builds_both_ways named c++11 "$(($(bdf_advance 65) * 2)) 0 9 0"
stored_once named_c_cpp GREETING TITLE FOOTER harfcode_font_index small_font_index big_font_index small_gfx big_gfx
step_ok "strings headers and two fonts of each kind, each of its own name, build in one file"

# --- In flash on AVR --------------------------------------------------------------------------
font --font-format c --progmem --output font.h
cat >avr_c.c <<'EOT'
#define HARFCODE_FONT_IMPLEMENTATION
#include "font.h"

#include <string.h>

int main(void)
{
    harfcode_font_glyph glyph;
    memcpy_P(&glyph, &harfcode_font_index[0x41], sizeof glyph);
    volatile uint8_t first_byte = pgm_read_byte(&harfcode_font_bits[glyph.offset]);
    (void)first_byte;
    return 0;
}
EOT
succeeds "avr-gcc, C header" avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_c.c -o avr_c.o
succeeds "avr-g++, C header" avr-g++ "${avr_flags[@]}" -std=c++11 -x c++ -c avr_c.c -o avr_c_cpp.o
in_progmem avr_c.o harfcode_font_index harfcode_font_bits
succeeds "AVR link" avr-gcc -mmcu=atmega328p avr_c.o -o avr_c.elf
in_avr_flash avr_c.elf harfcode_font_bits
font --font-format c --output font.h
sed -e 's/memcpy_P/memcpy/; s/pgm_read_byte(&\(.*\));/\1;/' avr_c.c >avr_ram.c
in_avr_ram avr_ram.c harfcode_font_bits

cat >avr_gfx.c <<'EOT'
#define HARFCODE_GFX_FONT_IMPLEMENTATION
#include "gfx.h"

int main(void)
{
    volatile uint8_t line_height = pgm_read_byte(&harfcode_gfx_font.yAdvance);
    (void)line_height;
    return 0;
}
EOT
succeeds "avr-gcc, GFX font" avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_gfx.c -o avr_gfx.o
in_progmem avr_gfx.o harfcode_gfx_font harfcode_gfx_font_bitmaps harfcode_gfx_font_glyphs
succeeds "avr-g++, GFX font" avr-g++ "${avr_flags[@]}" -std=c++11 -x c++ -c avr_gfx.c -o avr_gfx_cpp.o
# --progmem changes nothing but the command line that the comment names.
font --font-format gfx --progmem --output gfx_progmem.h
diff <(grep -v '^ \* Command:' gfx.h) <(grep -v '^ \* Command:' gfx_progmem.h) >/dev/null ||
    fail "--progmem changes the GFX font: $(diff gfx.h gfx_progmem.h)"
step_ok "the arrays are in flash on AVR: the C header's with --progmem, the GFX font's always"

# --- Errors: nothing written -----------------------------------------------------------------
writes_nothing "a field that does not fit" gfx.h --font "$tahoma" --size 200 --table table.txt --font-format gfx
grep -q 'yOffset -[0-9]* does not fit its int8_t' err.txt || fail "the field is not named: $(cat err.txt)"
step_ok "a field that does not fit exits 1 and leaves the output as it was"

# --- The README's loop is the header's ----------------------------------------------------------
# The loop of the comment: from "for (" to its closing brace, without the comment's " *     ".
sed -n '/^ \*     for (/,/^ \*     }$/s/^ \*     //p' font.h >header_loop.c
[[ -s header_loop.c ]] || fail "the header's comment shows no loop"
awk '
    /^### / { section = ($0 == "### C and GFX headers") }
    /^## / { section = 0 }
    section && fence && /^```/ { exit }
    section && fence { print }
    section && /^```c$/ { fence = 1 }
' "$source_dir/README.md" >readme_loop.c
[[ -s readme_loop.c ]] || fail "the README's section on the C and GFX headers shows no loop"
diff readme_loop.c header_loop.c >loop.diff || fail "the README's loop is not the header's: $(cat loop.diff)"
step_ok "the README shows the header's drawing loop"
