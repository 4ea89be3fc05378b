#!/usr/bin/env bash
# The real program as a person meets it on a first start, on its own X display:
# the default table is written and the editor opens, a few codes are typed and saved,
# Persian text typed into the main window converts with those codes, and the close box
# ends the program.
#
# Usage: first_start_walkthrough.sh HARFCODE HARFCODE_CLI SCREENSHOT_DIR
set -uo pipefail

if [[ $# -ne 3 ]]; then
    echo "usage: $0 HARFCODE HARFCODE_CLI SCREENSHOT_DIR" >&2
    exit 2
fi
harfcode_binary=$1
cli_binary=$2
screenshot_dir=$3

source "$(dirname "${BASH_SOURCE[0]}")/../support/x_display.sh"

require_tools Xvfb:xvfb openbox:openbox xdotool:xdotool xclip:xclip xprop:x11-utils xwininfo:x11-utils \
              xmodmap:x11-xserver-utils import:imagemagick iconv:libc-bin

readonly table_bytes_total=1236
# Codes typed into the editor, by slot: the blank, alef final, seen initial, lam initial,
# meem isolated, which is every slot "سلام" and a following blank use.
declare -A typed_codes=([1]=20 [4]=0B [26]=B3 [52]=C4 [55]=D5)
typed_slots=$(printf '%s\n' "${!typed_codes[@]}" | sort -n | xargs)
readonly greeting="سلام"
readonly greeting_codes="B3  C4  0B  D5"   # seen initial, lam initial, alef final, meem isolated
readonly sentence_rest=" به همه دوستان"

editor='' main=''   # window ids, set by settled_window
isolate_environment
mkdir -p "$screenshot_dir" || fail "cannot create $screenshot_dir"
rm -f "$screenshot_dir/hex-table.png" "$screenshot_dir/main-window.png"

# Saves a picture of window $1 as $2. What the last click changed is painted after the click
# returns; the pause only keeps a stale selection out of the picture, nothing is asserted on it.
screenshot() {
    sleep 0.5
    import -window "$1" "$screenshot_dir/$2" || fail "cannot save a screenshot as $screenshot_dir/$2"
}

# Replaces the whole text of the field under (x, y) of window $1 with $4, as typed.
retype_field() {
    click_at "$1" "$2" "$3"
    xdotool key ctrl+a
    xdotool type --delay 80 -- "$4"
}

# Client-area centre of the code field of slot $1: 7 columns of 15 slots, right to left.
code_field_centre() {
    local slot=$1 column_lefts=(633 533 433 333 233 133 33) left
    left=${column_lefts[(slot - 1) / 15]}
    ((slot == 1)) && left=632
    ((slot >= 101)) && left=32
    echo $((left + 12)) $((16 + 40 * ((slot - 1) % 15) + 12))
}

# Lines of a table file as UTF-8 without CR; the caller has checked the byte-order mark.
table_lines() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r'; }

# --- an X display of our own, with a window manager for real frames and close boxes ---
start_display
bind_keys_for "$greeting$sentence_rest"
step_ok "display $DISPLAY with openbox"

# --- first start in an empty folder: the default table and the editor ---
cp "$harfcode_binary" "$work_dir/harfcode" || fail "cannot copy $harfcode_binary"
table=$work_dir/HexTable.txt
(cd "$work_dir" && exec ./harfcode) >"$app_log" 2>&1 &
app_pid=$!
settled_window editor "Hex Table"
[[ -f $table ]] || fail "no HexTable.txt beside the program after the first start"
size=$(stat -c %s "$table")
((size == table_bytes_total)) || fail "default table is $size bytes, expected $table_bytes_total"
first_bytes=$(head -c 12 "$table" | od -An -tx1 | xargs)
[[ $first_bytes == "ff fe 30 00 30 00 3d 00 0d 00 0a 00" ]] || fail "default table starts with $first_bytes"
last_bytes=$(tail -c 12 "$table" | od -An -tx1 | xargs)
[[ $last_bytes == "30 00 30 00 3d 00 1f 06 0d 00 0a 00" ]] || fail "default table ends with $last_bytes"
default_lines=$(table_lines "$table")
# Line 1 (the blank) is "00=" alone; every other line "00=" and the slot's one glyph.
unlike_glyph_lines=$(grep -n -v -x '00=.' <<<"$default_lines" | tr '\n' ' ')
[[ $unlike_glyph_lines == "1:00= " ]] || fail "default table lines (number:text) not as expected: $unlike_glyph_lines"
(($(wc -l <<<"$default_lines") == 103)) || fail "default table does not have 103 lines"
! has_visible_window Harfcode || fail "the main window is visible beside the editor on a first start"
step_ok "first start wrote the $size-byte default table and shows only \"Hex Table\""

# --- codes typed into the editor and saved ---
for slot in $typed_slots; do
    read -r x y <<<"$(code_field_centre "$slot")"
    retype_field "$editor" "$x" "$y" "${typed_codes[$slot]}"
done
for slot in $typed_slots; do
    read -r x y <<<"$(code_field_centre "$slot")"
    copy_field_until "$editor" "$x" "$y" "${typed_codes[$slot]}" ||
        fail "code field of slot $slot holds \"$copied_text\" after typing ${typed_codes[$slot]}"
done
read -r x y <<<"$(code_field_centre 1)"
click_at "$editor" "$x" "$y"
screenshot "$editor" hex-table.png
click_at "$editor" 64 548   # "Save"
settled_window main Harfcode
! has_visible_window "Hex Table" || fail "the editor is still visible after \"Save\""

mapfile -t expected_lines <<<"$default_lines"
for slot in $typed_slots; do
    expected_lines[slot - 1]=${typed_codes[$slot]}${expected_lines[slot - 1]:2}
done
{ printf '\xff\xfe'; printf '%s\r\n' "${expected_lines[@]}" | iconv -f UTF-8 -t UTF-16LE; } >"$work_dir/expected.txt"
[[ $(head -c 2 "$table" | od -An -tx1 | xargs) == "ff fe" ]] || fail "saved table does not start with FF FE"
saved_lines=$(table_lines "$table")
[[ $(sed -n 1p <<<"$saved_lines") == "20=" ]] || fail "saved line 1 is \"$(sed -n 1p <<<"$saved_lines")\", expected \"20=\""
[[ $(sed -n 52p <<<"$saved_lines") == "C4=ﻟ" ]] || fail "saved line 52 is \"$(sed -n 52p <<<"$saved_lines")\", expected \"C4=ﻟ\" (U+FEDF)"
cmp -s "$table" "$work_dir/expected.txt" ||
    fail "saved table differs from the default one with slots $typed_slots changed: $(diff <(printf '%s\n' "${expected_lines[@]}") <(echo "$saved_lines") | head -n 10)"
cp "$table" "$work_dir/saved.txt"
step_ok "\"Save\" wrote slots $typed_slots and nothing else; the main window is back"

# --- Persian typed into the main window; "English Hex" read through the clipboard ---
input_field=(400 100)     # InkEdit1
english_hex_box=(400 366) # Text2
click_at "$main" "${input_field[@]}"
xdotool type --delay 100 -- "$greeting"
copy_field_until "$main" "${english_hex_box[@]}" "$greeting_codes" ||
    fail "\"English Hex\" for \"$greeting\" is \"$copied_text\", expected \"$greeting_codes\""
step_ok "\"$greeting\" converts to \"$greeting_codes\""

click_at "$main" "${input_field[@]}"
xdotool key ctrl+End
xdotool type --delay 100 -- "$sentence_rest"
sentence=$greeting$sentence_rest
copy_field_until "$main" "${input_field[@]}" "$sentence" ||
    fail "the input field holds \"$copied_text\" after typing \"$sentence\""
sentence_codes=$("$cli_binary" --table "$table" "$sentence") || fail "harfcode-cli failed on \"$sentence\""
[[ $sentence_codes == "$greeting_codes  20  "* ]] ||
    fail "harfcode-cli gives \"$sentence_codes\", which does not start with \"$greeting_codes  20\""
copy_field_until "$main" "${english_hex_box[@]}" "$sentence_codes" ||
    fail "\"English Hex\" for \"$sentence\" is \"$copied_text\", harfcode-cli gives \"$sentence_codes\""
xdotool key ctrl+Home                      # drops the selection made for copying
click_at "$main" "${input_field[@]}"
screenshot "$main" main-window.png
step_ok "\"$sentence\" converts to \"$sentence_codes\", as harfcode-cli does"

# --- the close box ends the program ---
read -r _ frame_right frame_top _ < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r client_x client_y < <(window_origin "$main")
client_width=$(xwininfo -id "$main" | awk '/Width:/ { print $2 }')
# openbox draws the close box at the right end of the title bar, as tall as the bar.
xdotool mousemove $((client_x + client_width + frame_right - frame_top / 2 - 1)) $((client_y - frame_top / 2)) click 1
for ((tries = 50; tries > 0; tries--)); do
    program_running || break
    sleep 0.1
done
! program_running || fail "the program still runs 5 s after its main window's close box was clicked"
wait "$app_pid"
status=$?
app_pid=
((status == 0)) || fail "the program ended with status $status"
cmp -s "$table" "$work_dir/saved.txt" || fail "closing the program changed HexTable.txt"
step_ok "the close box ended the program with status 0; screenshots in $screenshot_dir"
