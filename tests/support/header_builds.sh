# What the header build tests share. Sourced with their arguments HARFCODE_CLI SOURCE_DIR: sets
# cli and source_dir, enters a work folder of its own (removed at the end) and gives the compiler
# flags and the checks of builds, programs and symbols that both make.
source "$(dirname "${BASH_SOURCE[0]}")/build_steps.sh"

[[ $# -eq 2 ]] || { echo "usage: $0 HARFCODE_CLI SOURCE_DIR" >&2; exit 2; }
cli=$1 source_dir=$2
require_tools cc:gcc c++:g++ nm:binutils avr-gcc:gcc-avr avr-g++:gcc-avr avr-nm:binutils-avr avr-objdump:binutils-avr

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"
export LC_ALL=C.UTF-8

readonly c_flags=(-std=c99 -Wall -Wextra -Werror -pedantic)
readonly cxx_flags=(-Wall -Wextra -Werror)
readonly avr_flags=(-mmcu=atmega328p -Os -Wall -Wextra -Werror)

# Runs COMMAND...; unless it succeeds, fails saying WHAT and what it printed on standard error.
succeeds() {
    local what=$1
    shift
    "$@" 2>err.txt || fail "$what: $(cat err.txt)"
}

# Writes NAME_main.c, whose main() prints printf's arguments PRINTED after the lines INCLUDES,
# and NAME_probe.c, whose probe() returns PROBE after the lines PROBE_INCLUDES: a program of two
# files, each of which may be built as C or as C++.
write_program() {
    local name=$1 includes=$2 printed=$3 probe_includes=$4 probe=$5
    local declaration=$'#ifdef __cplusplus\nextern "C"\n#endif\nunsigned probe(void);'
    printf '%s\n#include <stdio.h>\n%s\nint main(void)\n{\n    printf(%s);\n    return 0;\n}\n' \
        "$includes" "$declaration" "$printed" >"${name}_main.c"
    printf '%s\n%s\nunsigned probe(void) { return %s; }\n' "$probe_includes" "$declaration" "$probe" >"${name}_probe.c"
}

# Compiles NAME_PART.c as LANGUAGE, c or cpp (C++ of the standard STD), into NAME_PART_LANGUAGE.o.
compiles() {
    local source=$1_$2.c object=$1_$2_$3.o
    if [[ $3 == c ]]; then
        succeeds "$source as C" cc "${c_flags[@]}" -c "$source" -o "$object"
    else
        succeeds "$source as C++ ($4)" c++ -std="$4" "${cxx_flags[@]}" -x c++ -c "$source" -o "$object"
    fi
}

# Builds the program NAME of write_program twice: NAME_c_cpp of its main file as C and its probe
# as C++ of the standard STD, and NAME_cpp_c the other way round; each must print EXPECTED.
builds_both_ways() {
    local name=$1 std=$2 expected=$3 way
    for way in c_cpp cpp_c; do
        compiles "$name" main "${way%_*}" "$std"
        compiles "$name" probe "${way#*_}" "$std"
        succeeds "${name}_$way: link" c++ "${name}_main_${way%_*}.o" "${name}_probe_${way#*_}.o" -o "${name}_$way"
        [[ $(./"${name}_$way") == "$expected" ]] || fail "${name}_$way prints $(./"${name}_$way"), expected $expected"
    done
}

# Each SYMBOL stored once in the data of PROGRAM. Symbol tables are read whole before matching,
# so that no early match can cut a pipe.
stored_once() {
    local program=$1 symbol symbols
    shift
    symbols=$(nm "$program")
    for symbol in "$@"; do
        [[ $(grep -c " [RrDd] $symbol\$" <<<"$symbols") -eq 1 ]] || fail "$program does not hold $symbol once: $(grep "$symbol" <<<"$symbols")"
    done
}

# Each NAME in the flash section .progmem.data of the AVR OBJECT.
in_progmem() {
    local object=$1 name symbols
    shift
    symbols=$(avr-objdump -t "$object")
    for name in "$@"; do
        grep -Eq "[[:space:]]\.progmem\.data[[:space:]].*[[:space:]]$name\$" <<<"$symbols" ||
            fail "$name is not in .progmem.data of $object: $(grep "$name" <<<"$symbols")"
    done
}

# NAME in flash (.text) in the linked AVR PROGRAM.
in_avr_flash() {
    local symbols
    symbols=$(avr-nm "$1")
    grep -Eq "^[0-9a-f]+ T $2\$" <<<"$symbols" || fail "$2 is not in flash (.text) in $1: $(grep "$2" <<<"$symbols")"
}

# The check of flash can fail: SOURCE built for AVR, whose header was written without
# --progmem, keeps NAME in RAM (.rodata).
in_avr_ram() {
    local symbols
    succeeds "avr-gcc without --progmem" avr-gcc "${avr_flags[@]}" -std=c99 -c "$1" -o ram.o
    symbols=$(avr-objdump -t ram.o)
    grep -Eq "\.rodata.*$2\$" <<<"$symbols" || fail "without --progmem $2 is not in .rodata"
}

# The converter with ARGUMENTS fails with 1 and writes nothing: an existing FILE given as
# --output stays as it was, a new one is not made, and standard output stays empty. Standard
# error of the first run is left in err.txt.
writes_nothing() {
    local what=$1 file=$2 status
    shift 2
    cp "$file" before_error
    "$cli" "$@" --output "$file" >out.txt 2>err.txt
    status=$?
    [[ $status -eq 1 && ! -s out.txt ]] || fail "$what: exit $status, standard output: $(head -c 200 out.txt)"
    cmp -s "$file" before_error || fail "$what: the existing output file changed"
    "$cli" "$@" --output new_output 2>/dev/null
    [[ ! -e new_output ]] || fail "$what: the output file was made"
    "$cli" "$@" >out.txt 2>/dev/null
    status=$?
    [[ $status -eq 1 && ! -s out.txt ]] || fail "$what: to standard output, exit $status and $(head -c 200 out.txt)"
}
