#!/usr/bin/env bash
# harfcode-cli --font-format c and gfx as a firmware build meets them: each header compiles
# without a warning in C99 and C++11, a program of two files holds the font once whichever file
# implements it, two fonts of their own --name stand side by side, the arrays are in flash on AVR
# (the C header's with --progmem, the GFX font's always), the GFX font builds without the
# library, an error leaves the output alone; and the README shows the header's drawing loop.
#
# Usage: font_header_builds_test.sh HARFCODE_CLI SOURCE_DIR
set -uo pipefail

if [[ $# -ne 2 ]]; then
    echo "usage: $0 HARFCODE_CLI SOURCE_DIR" >&2
    exit 2
fi
cli=$1
source_dir=$2
# shellcheck source=../support/build_steps.sh
source "$source_dir/tests/support/build_steps.sh"

require_tools cc:gcc c++:g++ nm:binutils avr-gcc:gcc-avr avr-g++:gcc-avr avr-nm:binutils-avr avr-objdump:binutils-avr

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"
export LC_ALL=C.UTF-8

readonly c_flags=(-std=c99 -Wall -Wextra -Werror -pedantic)
readonly cxx_flags=(-std=c++11 -Wall -Wextra -Werror)
readonly avr_flags=(-mmcu=atmega328p -Os -Wall -Wextra -Werror)
# The file rather than the family: fontconfig leaks under the sanitizers (the family lookup is
# tested on its own).
readonly tahoma=/usr/share/wine/fonts/tahoma.ttf
readonly font=(--font "$tahoma" --size 12 --table table.txt)

"$cli" --new-table table.txt 2>err.txt || fail "new table: $(cat err.txt)"
"$cli" "${font[@]}" --font-format c --output font.h 2>err.txt || fail "C header: $(cat err.txt)"
"$cli" "${font[@]}" --output font.bdf 2>err.txt || fail "BDF font: $(cat err.txt)"

# What the BDF font of the same glyphs says: the advance (DWIDTH) of a code, and the height.
bdf_advance() { awk -v code="$1" '$1 == "ENCODING" { found = ($2 == code) } found && $1 == "DWIDTH" { print $2; exit }' font.bdf; }
bdf_height=$(awk '$1 == "FONT_ASCENT" { a = $2 } $1 == "FONT_DESCENT" { d = $2 } END { print a + d }' font.bdf)

# Each symbol of the font stored once in the program, in its data (a GFXfont holds pointers, so
# it may be relocated at start).
stored_once() {
    local program=$1 symbol symbols
    shift
    symbols=$(nm "$program")
    for symbol in "$@"; do
        [[ $(grep -c " [RrDd] $symbol\$" <<<"$symbols") -eq 1 ]] || fail "$program does not hold $symbol once: $(grep "$symbol" <<<"$symbols")"
    done
}

# --- The C header: C and C++ files of one program, either implementing it --------------------
cat >c_implements.c <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#include "font.h"

#include <stdio.h>

unsigned advance_of(unsigned code);

int main(void)
{
    printf("%u %u %d\n", advance_of(0x41), (unsigned)harfcode_font_index[0x20].advance, HARFCODE_FONT_HEIGHT);
    return 0;
}
EOF
cat >c_uses.cpp <<'EOF'
#include "font.h"

extern "C" unsigned advance_of(unsigned code) { return harfcode_font_index[code].advance; }
EOF
cat >c_implements.cpp <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#include "font.h"
EOF
cat >c_uses.c <<'EOF'
#include "font.h"

#include <stdio.h>

int main(void)
{
    printf("%u %u %d\n", (unsigned)harfcode_font_index[0x41].advance, (unsigned)harfcode_font_index[0x20].advance,
           HARFCODE_FONT_HEIGHT);
    return 0;
}
EOF
expected="$(bdf_advance 65) $(bdf_advance 32) $bdf_height"
cc "${c_flags[@]}" -c c_implements.c -o c_implements.o 2>err.txt || fail "C implementation: $(cat err.txt)"
c++ "${cxx_flags[@]}" -c c_uses.cpp -o c_uses_cpp.o 2>err.txt || fail "C++ use: $(cat err.txt)"
c++ c_implements.o c_uses_cpp.o -o c_program 2>err.txt || fail "C implements, C++ uses: link: $(cat err.txt)"
[[ $(./c_program) == "$expected" ]] || fail "C implements: $(./c_program), the BDF font says $expected"
stored_once c_program harfcode_font_index harfcode_font_bits
c++ "${cxx_flags[@]}" -c c_implements.cpp -o c_implements_cpp.o 2>err.txt || fail "C++ implementation: $(cat err.txt)"
cc "${c_flags[@]}" -c c_uses.c -o c_uses.o 2>err.txt || fail "C use: $(cat err.txt)"
c++ c_implements_cpp.o c_uses.o -o cpp_program 2>err.txt || fail "C++ implements, C uses: link: $(cat err.txt)"
[[ $(./cpp_program) == "$expected" ]] || fail "C++ implements: $(./cpp_program), the BDF font says $expected"
stored_once cpp_program harfcode_font_index harfcode_font_bits
step_ok "the C header builds without warnings in C99 and C++11, its arrays stored once"

# --- Two fonts side by side, each of its own --name ------------------------------------------
"$cli" "${font[@]}" --font-format c --bits columns --name small_font --output small.h 2>err.txt ||
    fail "--name small_font: $(cat err.txt)"
grep -q '^#ifndef SMALL_FONT_H$' small.h || fail "small.h is not guarded by SMALL_FONT_H"
cat >two_fonts.c <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#define SMALL_FONT_IMPLEMENTATION
#include "font.h"
#include "small.h"

#include <stdio.h>

int main(void)
{
    printf("%u %d\n", (unsigned)small_font_index[0x41].advance, SMALL_FONT_HEIGHT - HARFCODE_FONT_HEIGHT);
    return 0;
}
EOF
cp two_fonts.c two_fonts.cpp
cc "${c_flags[@]}" two_fonts.c -o two_fonts 2>err.txt || fail "two fonts in C: $(cat err.txt)"
[[ $(./two_fonts) == "$(bdf_advance 65) 0" ]] || fail "two fonts: $(./two_fonts)"
c++ "${cxx_flags[@]}" two_fonts.cpp -o two_fonts_cpp 2>err.txt || fail "two fonts in C++: $(cat err.txt)"
stored_once two_fonts harfcode_font_index small_font_index small_font_bits
step_ok "two fonts of their own names build side by side"

# --- The GFX font: C and C++ without the library, either file implementing it ----------------
"$cli" "${font[@]}" --font-format gfx --output gfx.h 2>err.txt || fail "GFX font: $(cat err.txt)"
cat >gfx_implements.c <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#include "gfx.h"

#include <stdio.h>

unsigned line_height(void);

int main(void)
{
    printf("%02X %02X %u\n", (unsigned)harfcode_font.first, (unsigned)harfcode_font.last, line_height());
    return 0;
}
EOF
cat >gfx_uses.cpp <<'EOF'
#include "gfx.h"

extern "C" unsigned line_height(void) { return harfcode_font.yAdvance; }
EOF
cat >gfx_implements.cpp <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#include "gfx.h"
EOF
sed -e 's/HARFCODE_FONT_IMPLEMENTATION/HARFCODE_FONT_USES/; s/line_height()/harfcode_font.yAdvance/; /^unsigned line_height/d' \
    gfx_implements.c >gfx_uses.c
cc "${c_flags[@]}" -c gfx_implements.c -o gfx_implements.o 2>err.txt || fail "GFX implementation in C: $(cat err.txt)"
c++ "${cxx_flags[@]}" -c gfx_uses.cpp -o gfx_uses_cpp.o 2>err.txt || fail "GFX use in C++: $(cat err.txt)"
c++ gfx_implements.o gfx_uses_cpp.o -o gfx_program 2>err.txt || fail "GFX: link: $(cat err.txt)"
# The new table's codes: the blank (20) first, "؟" (BE) last.
[[ $(./gfx_program) == "20 BE 12" ]] || fail "the GFX font spans $(./gfx_program), expected 20 BE and Tahoma's line height 12"
stored_once gfx_program harfcode_font
c++ "${cxx_flags[@]}" -c gfx_implements.cpp -o gfx_implements_cpp.o 2>err.txt || fail "GFX implementation in C++: $(cat err.txt)"
cc "${c_flags[@]}" -c gfx_uses.c -o gfx_uses.o 2>err.txt || fail "GFX use in C: $(cat err.txt)"
c++ gfx_implements_cpp.o gfx_uses.o -o gfx_cpp_program 2>err.txt || fail "GFX, C++ implements: link: $(cat err.txt)"
[[ $(./gfx_cpp_program) == "20 BE 12" ]] || fail "C++ implements the GFX font: $(./gfx_cpp_program)"
step_ok "the GFX font builds without the library in C99 and C++11, stored once"

# --- In flash on AVR --------------------------------------------------------------------------
# Symbol tables are read whole before matching, so that no early match can cut a pipe.
in_progmem() {
    local object=$1 name symbols
    shift
    symbols=$(avr-objdump -t "$object")
    for name in "$@"; do
        grep -Eq "[[:space:]]\.progmem\.data[[:space:]].*[[:space:]]$name\$" <<<"$symbols" ||
            fail "$name is not in .progmem.data of $object: $(grep "$name" <<<"$symbols")"
    done
}
"$cli" "${font[@]}" --font-format c --progmem --output font.h 2>err.txt || fail "C header, --progmem: $(cat err.txt)"
cat >avr_c.c <<'EOF'
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
EOF
cat >avr_uses.cpp <<'EOF'
#include "font.h"

extern "C" uint8_t advance_of(uint8_t code) { return pgm_read_byte(&harfcode_font_index[code].advance); }
EOF
avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_c.c -o avr_c.o 2>err.txt || fail "avr-gcc, C header: $(cat err.txt)"
avr-g++ "${avr_flags[@]}" -std=c++11 -c avr_uses.cpp -o avr_uses.o 2>err.txt || fail "avr-g++, C header: $(cat err.txt)"
in_progmem avr_c.o harfcode_font_index harfcode_font_bits
avr-gcc -mmcu=atmega328p avr_c.o avr_uses.o -o avr_c.elf 2>err.txt || fail "AVR link: $(cat err.txt)"
program_symbols=$(avr-nm avr_c.elf)
grep -Eq '^[0-9a-f]+ T harfcode_font_bits$' <<<"$program_symbols" ||
    fail "the bits are not in flash (.text) in the program: $(grep harfcode_font_bits <<<"$program_symbols")"
# The check can fail: without --progmem the same program keeps the arrays in RAM.
"$cli" "${font[@]}" --font-format c --output font.h 2>err.txt || fail "C header: $(cat err.txt)"
sed -e 's/memcpy_P/memcpy/; s/pgm_read_byte(&\(.*\));/\1;/' avr_c.c >avr_ram.c
avr-gcc "${avr_flags[@]}" -std=c99 -c avr_ram.c -o avr_ram.o 2>err.txt || fail "avr-gcc without --progmem: $(cat err.txt)"
grep -Eq '\.rodata.*harfcode_font_bits$' <<<"$(avr-objdump -t avr_ram.o)" || fail "without --progmem the bits are not in .rodata"

cat >avr_gfx.c <<'EOF'
#define HARFCODE_FONT_IMPLEMENTATION
#include "gfx.h"

int main(void)
{
    volatile uint8_t line_height = pgm_read_byte(&harfcode_font.yAdvance);
    (void)line_height;
    return 0;
}
EOF
avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_gfx.c -o avr_gfx.o 2>err.txt || fail "avr-gcc, GFX font: $(cat err.txt)"
in_progmem avr_gfx.o harfcode_font harfcode_font_bitmaps harfcode_font_glyphs
avr-g++ "${avr_flags[@]}" -std=c++11 -x c++ -c avr_gfx.c -o avr_gfx_cpp.o 2>err.txt || fail "avr-g++, GFX font: $(cat err.txt)"
# --progmem changes nothing but the command line that the comment names.
"$cli" "${font[@]}" --font-format gfx --progmem --output gfx_progmem.h 2>err.txt || fail "GFX, --progmem: $(cat err.txt)"
diff <(grep -v '^ \* Command:' gfx.h) <(grep -v '^ \* Command:' gfx_progmem.h) >/dev/null ||
    fail "--progmem changes the GFX font: $(diff gfx.h gfx_progmem.h)"
step_ok "the arrays are in flash on AVR: the C header's with --progmem, the GFX font's always"

# --- Errors: nothing written -----------------------------------------------------------------
cp gfx.h gfx_before.h
"$cli" --font "$tahoma" --size 200 --table table.txt --font-format gfx --output gfx.h >out.txt 2>err.txt
status=$?
[[ $status -eq 1 ]] || fail "a field that does not fit exits $status"
grep -q 'yOffset -[0-9]* does not fit its int8_t' err.txt || fail "the field is not named: $(cat err.txt)"
cmp -s gfx.h gfx_before.h || fail "an error changed the existing output file"
"$cli" --font "$tahoma" --size 200 --table table.txt --font-format c >out.txt 2>/dev/null
[[ $? -eq 1 && ! -s out.txt ]] || fail "an error wrote a header to standard output"
step_ok "a field that does not fit exits 1 and leaves the output as it was"

# --- The README's loop is the header's ----------------------------------------------------------
"$cli" "${font[@]}" --font-format c --output font.h 2>err.txt || fail "C header: $(cat err.txt)"
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
