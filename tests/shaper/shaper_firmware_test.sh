#!/usr/bin/env bash
# The example firmware of examples/shaper, built for the PC and, with its lines in flash, for a
# simulated atmega328p and atmega1284p: it writes each of 200 lines (Persian with three kinds of
# digits, Latin, brackets, punctuation, blanks, TABs, one ending in CR LF, two longer than its
# buffer) in rows of 16 codes exactly as `harfcode-cli --order visual --width 16 --format c-array`
# does, a line longer than its buffer cut before the first character that does not fit. On the
# chips it converts fast enough (cycles a character), in little stack (painted, and summed from
# -fstack-usage along the deepest calls) and, with its tables, in little flash, none of it in
# RAM. Every figure measured is printed on a line of its own starting "figure:".
#
# Usage: shaper_firmware_test.sh HARFCODE_CLI SOURCE_DIR
set -uo pipefail
# shellcheck source=../support/build_steps.sh
source "$(dirname "$0")/../support/build_steps.sh"

[[ $# -eq 2 ]] || { echo "usage: $0 HARFCODE_CLI SOURCE_DIR" >&2; exit 2; }
cli=$1 source_dir=$2
here=$(cd "$(dirname "$0")" && pwd)
require_tools cmake:cmake cc:gcc avr-gcc:gcc-avr avr-nm:binutils-avr avr-objdump:binutils-avr simavr:simavr od:coreutils
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"
# Bytes, not characters, in awk and sed: the lines are cut and counted by their bytes.
export LC_ALL=C

readonly width=16
readonly limit_cycles_a_character=2000 limit_long_line_ratio=1.5 limit_stack=256 limit_flash=6144
# The lines the test looks at first; 191 random ones follow.
readonly plan=(64 64 64 256 256 256 1024 cut crlf)
line_of() { local i; for i in "${!plan[@]}"; do [[ ${plan[i]} == "$1" ]] && echo $((i + 1)); done; }

"$cli" --new-table table.txt 2>/dev/null || fail "cannot write a table"
awk -v plan="${plan[*]}" -v random=$((200 - ${#plan[@]})) -f "$here/firmware_lines.awk" >lines.txt
od -An -v -tx1 lines.txt | awk -f "$here/lines_to_c.awk" >lines.c

# Builds the example into BUILD with the C compiler and flags that follow.
build_example() {
    local build=$1 compiler=$2 flags=$3
    shift 3
    cmake -S "$source_dir/examples/shaper" -B "$build" -DHARFCODE_CLI="$cli" -DHARFCODE_TABLE="$work/table.txt" \
        -DSHAPER_LINES="$work/lines.c" -DCMAKE_C_COMPILER="$compiler" -DCMAKE_C_FLAGS="-Wall -Wextra -Werror $flags" \
        "$@" >"$build.log" 2>&1 || fail "configuring the example for $build: $(cat "$build.log")"
    cmake --build "$build" >>"$build.log" 2>&1 || fail "building the example for $build: $(cat "$build.log")"
}

# Runs the example built for MCU in the simulator; what the firmware wrote to its serial port
# goes to standard output. simavr prints each line the firmware ends with LF in green, the LF
# as ".", among lines of its own (on standard error, and its own on standard output as well).
simulate() {
    timeout 60 simavr -m "$1" -f 16000000 "$1/show_lines" >"$1.simavr" 2>&1 ||
        fail "simavr $1: exit $?: $(tail -n 5 "$1.simavr")"
    sed -n 's/^\x1b\[0m//; s/^\x1b\[32m\(.*\)\.$/\1/p' "$1.simavr"
}

# The output of a build against the lines: each line reported ("# line N: B bytes, C
# characters") with the bytes it keeps (without its ending, cut where the line buffer ends
# before the character that does not fit whole) and its characters, and its rows those that
# the converter writes for the text kept. Leaves in BUILD.kept each line's number, bytes and
# kept bytes.
matches_converter() {
    local build=$1 output=$2 capacity
    capacity=$(sed -n 's/^# line buffer: \([0-9]*\) bytes$/\1/p' "$output")
    [[ -n $capacity ]] || fail "$build does not say its line buffer: $(head -n 3 "$output")"
    ! grep -E '^# (not UTF-8|too little scratch)' "$output" >&2 || fail "$build did not convert every line"
    grep '^# line [0-9]' "$output" | awk -v capacity="$capacity" -v kept="$build.kept" -v build="$build" '
        function bad(message) { print build ", line " FNR ": " message > "/dev/stderr"; failed = 1; exit 1 }
        BEGIN { for (i = 128; i < 192; ++i) continuation = continuation sprintf("%c", i) }
        FNR == NR { reported[$3 + 0] = $4 " " $6; reports = FNR; next }
        {
            text = $0
            sub(/\r$/, "", text)
            bytes = length(text)
            if (bytes > capacity)
                for (bytes = capacity; bytes > 0 && index(continuation, substr(text, bytes + 1, 1)); --bytes) {}
            characters = 0
            for (i = 1; i <= bytes; ++i)
                characters += !index(continuation, substr(text, i, 1))
            if (reported[FNR] != bytes " " characters)
                bad("reported \"" reported[FNR] "\" (bytes, characters), expected \"" bytes " " characters "\"")
            print FNR, length(text), bytes > kept
            print (bytes < length(text) ? substr(text, 1, bytes) : $0)
        }
        END { if (!failed && reports != FNR) bad("reported " reports " lines of " FNR) }
    ' - lines.txt >"$build.converter-input" || fail "$build does not keep the lines as expected"
    "$cli" --table table.txt --order visual --width "$width" --format c-array <"$build.converter-input" \
        >"$build.expected" 2>/dev/null || fail "the converter fails on the lines"
    grep -v '^#' "$output" >"$build.rows"
    diff "$build.expected" "$build.rows" >"$build.diff" || fail "$build writes other rows than the converter:
$(head -n 20 "$build.diff")"
}

# --- The PC build ------------------------------------------------------------------------------
build_example pc cc "-pedantic"
pc/show_lines >pc.output || fail "the PC build exits $?"
matches_converter pc pc.output
step_ok "the PC build writes each line's rows as the converter does"

# --- The chips, in the simulator -------------------------------------------------------------
for mcu in atmega328p atmega1284p; do
    build_example "$mcu" avr-gcc "-mmcu=$mcu -Os -pedantic -fstack-usage" -DCMAKE_SYSTEM_NAME=Generic
    simulate "$mcu" >"$mcu.output"
    matches_converter "$mcu" "$mcu.output"
done
read -r number bytes kept < <(awk -v line="$(line_of cut)" '$1 == line' atmega328p.kept)
[[ $kept -lt $(sed -n 's/^# line buffer: \([0-9]*\) bytes$/\1/p' atmega328p.output) && $kept -lt $bytes ]] ||
    fail "line $number ($bytes bytes) is not cut within a character on the atmega328p: it keeps $kept"
echo "figure: line $number of $bytes bytes is cut to $kept on the atmega328p"
step_ok "the atmega328p and atmega1284p write each line's rows as the converter does, a long line cut whole"

# Every figure is printed before any limit decides, so that a run shows them all.
exceeded=()
# FIGURE (a description and its value) against LIMIT: printed, and recorded where the awk
# condition HOLDS (over `value` and `limit`) fails.
figure() {
    local description=$1 value=$2 holds=$3 limit=$4
    echo "figure: $description: $value"
    awk -v value="$value" -v limit="$limit" "BEGIN { exit !($holds) }" ||
        exceeded+=("$description: $value, limit $limit")
}

# Cycles a character of converting line N in visual order on MCU, where it fits whole.
cycles_a_character() {
    awk -v line="$2" '$1 == line { exit !($2 == $3) }' "$1.kept" || fail "line $2 is cut on the $1: it cannot be timed"
    awk -v line="$2" '$1 == "#" && $3 == line ":" { printf "%.0f\n", $8 / $6 }' "$1.output"
}
for line in $(line_of 64) $(line_of 256); do
    per=$(cycles_a_character atmega328p "$line") || exit 1
    figure "atmega328p, cycles a character of line $line (${plan[line - 1]} characters)" "$per" "value < limit" \
        "$limit_cycles_a_character"
done
# The long line fits the atmega1284p's RAM only: it costs no more a character there than a
# shorter one does.
long=$(cycles_a_character atmega1284p "$(line_of 1024)") || exit 1
echo "figure: atmega1284p, cycles a character of line $(line_of 1024) (1024 characters): $long"
for line in $(line_of 256); do
    short=$(cycles_a_character atmega1284p "$line") || exit 1
    echo "figure: atmega1284p, cycles a character of line $line (256 characters): $short"
    figure "atmega1284p, cycles a character of the 1024 characters against line $line (256)" \
        "$(awk -v long="$long" -v short="$short" 'BEGIN { printf "%.2f", long / short }')" "value <= limit" "$limit_long_line_ratio"
done

for mcu in atmega328p atmega1284p; do
    stack=$(sed -n 's/^# stack: \([0-9]*\) bytes$/\1/p' "$mcu.output")
    [[ -n $stack ]] || fail "the $mcu does not say the stack it used"
    figure "$mcu, stack the shaper used (painted), bytes" "$stack" "value <= limit" "$limit_stack"
done
avr-objdump -d atmega328p/show_lines >atmega328p.disassembly
read -r static chain < <(awk -v roots="harfcode_codes harfcode_forms harfcode_row" -v return_bytes=2 \
    -f "$here/static_stack.awk" $(find atmega328p -name '*.su') atmega328p.disassembly) ||
    fail "no static stack figure"
echo "figure: atmega328p, the deepest call (.su bytes): $chain"
figure "atmega328p, static stack of the deepest call with its return addresses, bytes" "$static" "value <= limit" "$limit_stack"

# A program that calls the three functions, on the atmega328p build's shaper: its symbols are
# those that the shaper's own object defines; code is code there, tables are read-only data
# (PROGMEM); in the program all of them are in flash.
cat >calls.c <<'EOT'
#include "shaper.h"

int main(void)
{
    static const char text[] = "AB";
    volatile size_t result;
    size_t next;
    char forms[8];
    uint8_t codes[8];
    result = harfcode_codes(text, 2, HARFCODE_TYPING, codes, sizeof codes, 0, 0);
    result = harfcode_forms(text, 2, HARFCODE_TYPING, forms, sizeof forms, 0, 0);
    result = harfcode_row(text, 2, 16, &next);
    (void)result;
    return 0;
}
EOT
shaper_object=$(find atmega328p -name 'shaper.c.obj' -o -name 'shaper.c.o' | head -n 1)
avr-gcc -mmcu=atmega328p -Os -Wall -Wextra -Werror -Iatmega328p calls.c "$shaper_object" -o calls.elf 2>calls.err ||
    fail "the program of the three calls does not build: $(cat calls.err)"
avr-nm --defined-only "$shaper_object" >shaper.symbols
avr-nm --size-sort -S calls.elf >calls.symbols
read -r code tables in_ram < <(awk '
    function hex(digits,  value, i) {
        for (i = 1; i <= length(digits); ++i)
            value = value * 16 + index("0123456789abcdef", substr(digits, i, 1)) - 1
        return value
    }
    FNR == NR { kind[$3] = $2; next }
    $4 in kind {
        if ($3 ~ /^[dDbB]$/) ram = ram " " $4
        else if (kind[$4] ~ /^[tT]$/) code += hex($2)
        else tables += hex($2)
    }
    END { print code + 0, tables + 0, (ram == "" ? "-" : ram) }
' shaper.symbols calls.symbols)
[[ $code -gt 0 && $tables -gt 0 ]] || fail "no code or no tables of the shaper in the program: $(cat shaper.symbols)"
[[ $in_ram == - ]] || fail "the shaper keeps $in_ram in RAM"
echo "figure: atmega328p, the shaper's flash: code $code bytes, tables $tables bytes"
figure "atmega328p, the shaper's flash, code and tables, bytes" $((code + tables)) "value <= limit" "$limit_flash"

[[ ${#exceeded[@]} -eq 0 ]] || fail "over the limits: $(printf '\n  %s' "${exceeded[@]}")"
step_ok "the shaper converts in under $limit_cycles_a_character cycles a character (a long line no dearer than" \
    "$limit_long_line_ratio times), in at most $limit_stack bytes of stack and $limit_flash of flash, none of it in RAM"
