#!/usr/bin/env bash
# What only Windows does to the converter's files, tested on harfcode-cli.exe under Wine: an
# output that is an input under another spelling (case, short name, full path, hard link) is
# refused; a device's name is refused at once, in any folder and with any extension, while NUL
# takes an output and keeps nothing; and a program killed while it writes leaves no temporary
# file and the old output whole. Usage: windows_file_cases.sh BUILD_DIR (the cross-build).
set -euo pipefail
cli=$(cd "$1" && pwd)/bin/harfcode-cli.exe
[ -f "$cli" ] || { echo "no $cli: cross-build first (scripts/build-windows.sh)"; exit 1; }
source "$(dirname "${BASH_SOURCE[0]}")/wine.sh"

tmp=$(mktemp -d)
start_wine "$tmp"

failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# run ARGUMENTS...: the converter in the work folder; its exit status in $status (124 where it
# waited 20 seconds, as on a console), what it printed in $tmp/out and $tmp/err (without
# Windows' CRs).
run() {
    status=0
    timeout 20 "$WINE" "$cli" "$@" >"$tmp/out" 2>"$tmp/err" </dev/null || status=$?
    sed -i 's/\r$//' "$tmp/out" "$tmp/err"
}

# check NAME STATUS MESSAGE ARGUMENTS...: the exit status, and MESSAGE as one line of standard
# error after the program's name (no message: standard error is empty). Nothing goes to
# standard output: every case writes a file or fails.
check() {
    local name=$1 expected=$2 message=$3
    shift 3
    run "$@"
    [ "$status" = "$expected" ] || fail "$name: exit status $status, not $expected ($(head -c 300 "$tmp/err"))"
    [ ! -s "$tmp/out" ] || fail "$name: standard output is not empty: $(head -c 300 "$tmp/out")"
    if [ -n "$message" ]; then
        grep -qxF -- "harfcode-cli: $message" "$tmp/err" \
            || fail "$name: standard error is not \"harfcode-cli: $message\" but: $(head -c 300 "$tmp/err")"
    elif [ -s "$tmp/err" ]; then
        fail "$name: standard error is not empty: $(head -c 300 "$tmp/err")"
    fi
}

work=$tmp/work
mkdir -p "$work/sub"
cd "$work"
# The folder as Windows names it from Wine's drive Z:, the root of the file system.
windows_work="Z:${work//\//\\}"

run --new-table table.txt
[ "$status" = 0 ] || { echo "cannot make a table: $(cat "$tmp/err")"; exit 1; }
printf 'GREETING=\xd8\xb3\xd9\x84\xd8\xa7\xd9\x85\n' >greeting-strings.txt
ln table.txt table-hard-link.h
printf 'old\n' >readonly.h
chmod a-w readonly.h
# Wine makes up the short name of a long one; its dir /x shows it.
short=$("$WINE" cmd /c dir /x 2>/dev/null | tr -d '\r' | awk '$NF == "greeting-strings.txt" { print $(NF - 1) }')
[[ $short == *~* ]] || { echo "no short name for greeting-strings.txt: \"$short\""; exit 1; }
cp table.txt "$tmp/table-before"
cp greeting-strings.txt "$tmp/strings-before"
longest=$(printf 'h%.0s' {1..251}).h  # the longest name a folder takes: 255 characters

header=(--header greeting-strings.txt --table table.txt)
same_strings='it is the same file as "greeting-strings.txt", which is read to make it.'
device='it is a device, not a file.'
check "the output is the strings file in other letters" 1 \
    "cannot write the header \"GREETING-STRINGS.TXT\": $same_strings" "${header[@]}" --output GREETING-STRINGS.TXT
check "the output is the strings file by its short name $short" 1 \
    "cannot write the header \"$short\": $same_strings" "${header[@]}" --output "$short"
check "the output is the strings file by its full path" 1 \
    "cannot write the header \"$windows_work\\greeting-strings.txt\": $same_strings" \
    "${header[@]}" --output "$windows_work\\greeting-strings.txt"
check "the output is the table through a hard link" 1 \
    'cannot write the header "table-hard-link.h": it is the same file as "table.txt", which is read to make it.' \
    "${header[@]}" --output table-hard-link.h
check "the output is the null device" 0 "" "${header[@]}" --output NUL
check "the output is the null device with an extension in a folder" 0 "" "${header[@]}" --output 'sub\nul.h'
check "the output is the console with an extension" 1 "cannot write the header \"con.h\": $device" \
    "${header[@]}" --output con.h
check "the output is a serial port" 1 "cannot write the header \"COM1\": $device" "${header[@]}" --output COM1
check "the output is read-only" 1 'cannot write the header "readonly.h": Access denied.' \
    "${header[@]}" --output readonly.h
check "the table is the console" 2 "Could not read the glyph code table \"CON\": $device" --table CON A
check "the table is the console in a folder" 2 "Could not read the glyph code table \"sub\\con.h\": $device" \
    --table sub/con.h A
check "the table is a printer port with blanks and dots after it" 2 "Could not read the glyph code table \"lpt1 . .\": $device" \
    --table 'lpt1 . .' A
check "the strings file is the console" 1 "cannot read the strings file \"CON\": $device" \
    --header CON --table table.txt
check "a new output" 0 "" "${header[@]}" --output out.h
check "an output replaced" 0 "" "${header[@]}" --output out.h
check "an output of the longest name" 0 "" "${header[@]}" --output "$longest"

grep -q '^#define GREETING_LENGTH 4$' out.h || fail "out.h is not the header: $(head -c 300 out.h)"
[ -f "$longest" ] || fail "the output of the longest name is not there"
cmp -s table.txt "$tmp/table-before" || fail "the table has changed"
cmp -s greeting-strings.txt "$tmp/strings-before" || fail "the strings file has changed"
[ "$(cat readonly.h)" = old ] || fail "the read-only output has changed"
for name in NUL nul nul.h con.h COM1 com1; do
    [ ! -e "$name" ] && [ ! -e "sub/$name" ] || fail "a file \"$name\" was made for a device"
done

# Killed while it writes a large header over the old one: the new file, marked for deletion
# while it is written, goes with the program. The text is long enough for the write to be seen.
awk 'BEGIN { text = "\330\250"; for (i = 0; i < 23; ++i) text = text text; print "LONG=" text }' >long-strings.txt
before=$(md5sum <out.h)
"$WINE" "$cli" --header long-strings.txt --table table.txt --output out.h >/dev/null 2>&1 </dev/null &
program=$!
seen=
deadline=$((SECONDS + 300))
while [ -z "$seen" ] && ((SECONDS < deadline)) && kill -0 "$program" 2>/dev/null; do
    for temporary in .out.h.??????; do
        [ -e "$temporary" ] && seen=$temporary
    done
done
kill -KILL "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
if [ -z "$seen" ]; then
    fail "the program ended before its temporary file was seen: give it a longer text"
else
    for ((i = 0; i < 100; ++i)); do
        [ -e "$seen" ] && sleep 0.1
    done
    [ ! -e "$seen" ] || fail "killed while it wrote, the program left its temporary file $seen"
    [ "$(md5sum <out.h)" = "$before" ] || fail "killed while it wrote, the program changed out.h"
fi

leftovers=$(find . -name '.*.??????')
[ -z "$leftovers" ] || fail "temporary files are left: $leftovers"
if [ $failures -gt 0 ]; then
    echo "$failures Windows file cases failed"
    exit 1
fi
echo "every Windows file case passed"
