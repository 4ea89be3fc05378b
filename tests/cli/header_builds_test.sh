#!/usr/bin/env bash
# harfcode-cli --header as a firmware build meets it: the header compiles without a warning in
# C and C++ programs that use a few entries each, links whichever file implements it and reads
# the table's codes in visual order, puts its arrays in flash on AVR, leaves the output alone
# on an error; and the example project regenerates it, as the README shows it.
#
# Usage: header_builds_test.sh HARFCODE_CLI SOURCE_DIR
set -uo pipefail
# shellcheck source=../support/header_builds.sh
source "$(dirname "$0")/../support/header_builds.sh"
require_tools iconv:libc-bin cmake:cmake

# Writes a table as the windows do (UTF-16LE with byte-order mark, CR LF) in which the code of
# slot k is k itself, so that every byte of a header reads as a slot number; SLOT=CODE
# arguments put other codes into single slots.
write_table() {
    local file=$1 slot
    shift
    declare -A codes=()
    for slot in "$@"; do codes[${slot%%=*}]=${slot#*=}; done
    {
        printf '\xFF\xFE'
        for ((slot = 1; slot <= 103; slot++)); do
            if [[ -v codes[$slot] ]]; then printf '%s=\r\n' "${codes[$slot]}"; else printf '%02X=\r\n' "$slot"; fi
        done | iconv -f UTF-8 -t UTF-16LE
    } >"$file"
}

# The codes of TEXT in typing order with the slot-number table: its slot numbers, as
# `harfcode-cli --slots` prints them, in hexadecimal; characters without a glyph add nothing.
typing_codes() {
    local slot codes=()
    for slot in $("$cli" --slots "$1"); do
        [[ $slot == - ]] || codes+=("$(printf '%02X' "$slot")")
    done
    echo "${codes[*]}"
}
reversed() { local words=($1) i out=(); for ((i = ${#words[@]} - 1; i >= 0; i--)); do out+=("${words[i]}"); done; echo "${out[*]}"; }
header() { succeeds "header of $1" "$cli" --header "$1" --table table.txt "${@:2}"; }

write_table table.txt
cat >strings.txt <<'EOT'
# The entries every program below uses.

GREETING=سلام دنیا
MIXED=سلام 123
PROMPT=OK
EOT
printf 'MENU_TITLE=منو\n' >menu.txt

# --- The header compiles and links in C and C++, whichever file implements it ---------------
header strings.txt --output strings.h
header menu.txt >menu.h
grep -q '^#ifndef HARFCODE_STRINGS_MENU_H$' menu.h || fail "the header on standard output is not guarded by HARFCODE_STRINGS_MENU_H"

# The implementing file got the header earlier through another include, and includes a second
# header beside it; the other file reads one entry.
write_program strings $'#include "strings.h"\n#include "menu.h"\n#define HARFCODE_STRINGS_IMPLEMENTATION\n#include "strings.h"\n#include "menu.h"' \
    '"%02X %02X %02X\n", GREETING[0], probe(), MENU_TITLE[MENU_TITLE_LENGTH - 1]' '#include "strings.h"' 'PROMPT[0]'
greeting_visual=$(reversed "$(typing_codes 'سلام دنیا')")
expected_run="${greeting_visual%% *} $(typing_codes O) $(typing_codes 'منو' | cut -d' ' -f1)"
for std in c++11 c++17; do
    builds_both_ways strings "$std" "$expected_run"
done
stored_once strings_c_cpp GREETING
# The order and the width reach the header: "سلام" in typing order, the row filled up with the blank.
header strings.txt --order typing --width 6 >typing.h
first_row="0x$(typing_codes 'سلام' | sed 's/ /, 0x/g'), 0x$(typing_codes ' '), 0x$(typing_codes ' ')"
grep -qxF "    {$first_row}," typing.h || fail "--order typing --width 6 gives $(grep -A2 'GREETING\[' typing.h | tail -n 2)"
step_ok "the header builds without warnings in C and C++, either file implementing it"

# --- --progmem: the arrays are in flash on AVR, and the same header builds on a host ---------
header strings.txt --progmem --output strings.h
cat >avr_implements.c <<'EOT'
#include "strings.h"
#define HARFCODE_STRINGS_IMPLEMENTATION
#include "strings.h"

int main(void)
{
    volatile uint8_t shown = (uint8_t)(pgm_read_byte(&GREETING[0]) + pgm_read_byte(&PROMPT[0]));
    (void)shown;
    return 0;
}
EOT
succeeds avr-gcc avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_implements.c -o avr_implements.o
succeeds avr-g++ avr-g++ "${avr_flags[@]}" -std=c++17 -x c++ -c avr_implements.c -o avr_implements_cpp.o
succeeds "AVR link" avr-gcc -mmcu=atmega328p avr_implements.o -o avr_program.elf
in_progmem avr_implements.o GREETING MIXED PROMPT
in_avr_flash avr_program.elf GREETING
builds_both_ways strings c++17 "$expected_run"  # the same header on a host
header strings.txt --output strings.h
sed -e 's/pgm_read_byte(&\([A-Z]*\[0\]\))/\1/g' avr_implements.c >avr_ram.c
in_avr_ram avr_ram.c GREETING
step_ok "--progmem puts the arrays in flash on AVR and builds on a host"

# --- Rows in pixels: their arrays build in C and C++, stay in flash on AVR ------------------
pixel_rows=(--font /usr/share/wine/fonts/tahoma.ttf --size 12 --width 40px)
header strings.txt "${pixel_rows[@]}" --output pixels.h
write_program pixels $'#include "pixels.h"\n#define HARFCODE_STRINGS_IMPLEMENTATION\n#include "pixels.h"' \
    '"%d %d %d\n", GREETING_ROWS, GREETING_ROW_START[GREETING_ROWS] == GREETING_LENGTH, GREETING[GREETING_ROW_START[1]]' \
    '#include "pixels.h"' 'GREETING_ROW_X[0] <= 40'
# "سلام" and "دنیا" take a row each at 40 px; the second row opens with the last letter of "دنیا".
expected_pixels="2 1 $((16#$(reversed "$(typing_codes 'دنیا')" | cut -d' ' -f1)))"
builds_both_ways pixels c++11 "$expected_pixels"
header strings.txt "${pixel_rows[@]}" --progmem --output pixels.h
sed 's/"strings.h"/"pixels.h"/' avr_implements.c >avr_pixels.c
succeeds "avr-gcc, rows in pixels" avr-gcc "${avr_flags[@]}" -std=c99 -pedantic -c avr_pixels.c -o avr_pixels.o
in_progmem avr_pixels.o GREETING GREETING_ROW_START GREETING_ROW_X
step_ok "a header of rows in pixels builds in C and C++ and keeps its rows in flash on AVR"

# --- Errors: every line named, nothing written ----------------------------------------------
printf 'GOOD=سلام\nint=A\nGREETING=A\nGREETING_LENGTH=B\n\xD8\nEMPTY=\nNO EQUALS\n' >bad.txt
writes_nothing "an invalid strings file" strings.h --header bad.txt --table table.txt
for line in 2 4 5 6 7; do grep -q "bad.txt:$line: " err.txt || fail "line $line is not named: $(cat err.txt)"; done
! grep -q 'bad.txt:[13]:' err.txt || fail "a valid line is named: $(cat err.txt)"

write_table broken_table.txt 26=G1
writes_nothing "a code that is not a byte" strings.h --header strings.txt --table broken_table.txt
grep -q 'strings.txt:3: slot 26 .* has the code "G1", which is not two hexadecimal digits' err.txt ||
    fail "the code that is not a byte is not named: $(cat err.txt)"
grep -q 'strings.txt:4: slot 26' err.txt || fail "the second entry with the code is not named: $(cat err.txt)"
step_ok "errors name every line, exit 1 and leave the output as it was"

# --- Names: the header builds after every standard header; names that would break it are refused
c11_headers=(assert complex ctype errno fenv float inttypes iso646 limits locale math setjmp signal stdalign stdarg
             stdatomic stdbool stddef stdint stdio stdlib stdnoreturn string tgmath threads time uchar wchar wctype)
# Those avr-libc has, and its header for flash.
avr_headers=(assert ctype errno float inttypes iso646 limits locale math setjmp signal stdalign stdarg stdatomic
             stdbool stddef stdint stdio stdlib stdnoreturn string time avr/pgmspace)
# Every header, then strings.h, declared and then implemented.
implemented='#include "strings.h"\n#define HARFCODE_STRINGS_IMPLEMENTATION\n#include "strings.h"\n'
{ printf '#include <%s.h>\n' "${c11_headers[@]}"; printf "$implemented"; } >after_c11.c
{ printf '#include <%s.h>\n' "${avr_headers[@]}"; printf "$implemented"; } >after_avr.c
readonly builds=(
    "cc -std=c99 -pedantic -x c after_c11.c"
    "cc -std=gnu99 -x c after_c11.c"
    "c++ -std=gnu++17 -x c++ after_c11.c"
    "avr-gcc -std=gnu99 -mmcu=atmega328p -x c after_avr.c"
)
for build in "${builds[@]}"; do
    succeeds "after every standard header, $build" $build -Wall -Wextra -Werror -c -o after.o
done

printf 'GOOD=سلام\nprintf=A\nlinux=A\nINT_MAX=A\nindex=A\n' >reserved.txt
writes_nothing "names the standard headers take" strings.h --header reserved.txt --table table.txt
expected='reserved.txt:2: "printf" is a C library function, which every program may use
reserved.txt:3: "linux" is predefined by GCC
reserved.txt:4: "INT_MAX" is a macro of <limits.h>
reserved.txt:5: "index" is a C library function, which every program may use'
[[ $(sed 's/^[^:]*: //' err.txt) == "$expected" ]] || fail "names the standard headers take: $(cat err.txt)"
# They are refused for good reason: GOOD renamed to each breaks one of the builds above.
printf 'GOOD=سلام\n' >good.txt
header good.txt --output good.h
for refused in printf:0 linux:1 INT_MAX:0 index:1; do
    name=${refused%%:*}
    sed "s/GOOD/$name/g" good.h >strings.h
    ! ${builds[${refused##*:}]} -Wall -Wextra -Werror -c -o after.o 2>err.txt || fail "$name builds with ${builds[${refused##*:}]}"
    grep -q "$name" err.txt || fail "$name: another error: $(cat err.txt)"
done
step_ok "the header builds after every standard header, and names they take are refused"

# A name that is already a macro where the header is included stops the build, naming it; the
# direction controls of a text are spelt out in the comments, which GCC checks for them.
printf 'GREETING=\xe2\x80\x8fسلام\xe2\x80\x8e A\xd8\x9c\nMENU=A\n' >marks.txt
header marks.txt --output marks.h
printf '#include "marks.h"\n' >uses_marks.c
succeeds "a text with direction marks" cc "${c_flags[@]}" -Wbidi-chars=any -c -o uses_marks.o uses_marks.c
header marks.txt "${pixel_rows[@]}" --output pixel_marks.h
printf '#include "pixel_marks.h"\n' >uses_pixel_marks.c
for macro in GREETING GREETING_LENGTH MENU_LENGTH pixel_marks:MENU_ROWS pixel_marks:GREETING_ROW_START pixel_marks:MENU_ROW_X; do
    user=uses_marks.c
    [[ $macro == pixel_marks:* ]] && user=uses_pixel_marks.c macro=${macro#*:}
    ! cc "${c_flags[@]}" -D"$macro"=1 -c -o uses_marks.o "$user" 2>err.txt || fail "$macro as a macro builds"
    grep -q "#error \"$macro is already a macro where this header is included" err.txt ||
        fail "$macro as a macro: $(cat err.txt)"
done
step_ok "entries that are macros already stop the build by name; direction marks are spelt out"

# --- The example project, as the README shows it ---------------------------------------------
example_source=$source_dir/examples/firmware
cp -r "$example_source" example
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S example -B example-build "${generator[@]}" -DHARFCODE_CLI="$cli" -DHARFCODE_TABLE="$work/table.txt" >cmake.log 2>&1 ||
    fail "configuring the example: $(cat cmake.log)"
build_example() { cmake --build example-build >build.log 2>&1 || fail "building the example$1: $(cat build.log)"; }
header_identity() { stat -c '%i %Y' example-build/strings.h; }
build_example ""
[[ $(example-build/display) == "$greeting_visual" ]] ||
    fail "the example shows $(example-build/display), expected $greeting_visual"
before=$(header_identity)
build_example " again"
[[ $(header_identity) == "$before" ]] || fail "the header was generated again with nothing changed"
touch example/strings.txt
build_example " after touching strings.txt"
after_strings=$(header_identity)
[[ $after_strings != "$before" ]] || fail "touching strings.txt did not generate the header again"
touch table.txt
build_example " after touching the table"
[[ $(header_identity) != "$after_strings" ]] || fail "touching the table did not generate the header again"
step_ok "the example project builds and regenerates its header when its inputs change"

# Every code block of the README section that shows a file ("... `examples/firmware/NAME`:"
# just before it) is that file; the header excerpt ("... gives:") is part of what the
# example generates, its lines in the same order ("..." stands for lines left out).
mkdir readme
awk -v dir=readme '
    /^## / { section = ($0 == "## Using the codes in firmware") }
    !section { next }
    fence && /^```/ { fence = 0; next }
    fence { if (name != "") print > (dir "/" name); next }
    /^```/ { fence = 1; name = pending; pending = ""; if (name != "") printf "" > (dir "/" name); next }
    NF {
        pending = ""
        if (match($0, /`examples\/firmware\/[^`]+`:$/)) pending = substr($0, RSTART + 19, RLENGTH - 21)
        else if ($0 ~ /gives:$/) pending = "header-excerpt"
    }
' "$source_dir/README.md"
for file in strings.txt CMakeLists.txt strings.c main.c; do
    [[ -f readme/$file ]] || fail "the README does not show examples/firmware/$file"
    cmp -s "readme/$file" "$example_source/$file" || fail "the README shows examples/firmware/$file otherwise than it is:
$(diff "readme/$file" "$example_source/$file")"
done
[[ -s readme/header-excerpt ]] || fail "the README does not show the header"
position=0
while IFS= read -r line; do
    [[ $line == ... ]] && continue
    found=$(tail -n +$((position + 1)) example-build/strings.h | grep -nxF -m1 -- "$line" | cut -d: -f1)
    [[ -n $found ]] || fail "the README's header excerpt has a line the header lacks (or out of order): $line"
    position=$((position + found))
done <readme/header-excerpt
step_ok "the README shows the example's files as they are"
