#!/usr/bin/env bash
# The Display window in the real program, on its own X display: Persian typed into the main
# window, "Show on Display…" chosen from a code box's context menu, the window showing the
# text and changing with the next letter; closing it leaves the program running, closing the
# main window ends it.
#
# Usage: display_window_walkthrough.sh HARFCODE HARFCODE_CLI SCREENSHOT_DIR
set -uo pipefail

if [[ $# -ne 3 ]]; then
    echo "usage: $0 HARFCODE HARFCODE_CLI SCREENSHOT_DIR" >&2
    exit 2
fi
harfcode_binary=$1
cli_binary=$2
screenshot_dir=$3

source "$(dirname "${BASH_SOURCE[0]}")/../support/x_display.sh"

require_tools Xvfb:xvfb openbox:openbox xdotool:xdotool xwininfo:x11-utils xprop:x11-utils \
              xmodmap:x11-xserver-utils import:imagemagick convert:imagemagick

readonly greeting="سلام"
readonly next_letter="ب"

main='' display=''   # window ids, set by settled_window
isolate_environment
mkdir -p "$screenshot_dir" || fail "cannot create $screenshot_dir"
rm -f "$screenshot_dir/display-window.png"

# The pixels of window $1, as raw RGB.
pixels_of() { import -window "$1" rgb:- 2>/dev/null | md5sum; }

start_display
bind_keys_for "$greeting$next_letter"
step_ok "display $DISPLAY with openbox"

# A table with a code for every glyph, so that the main window shows at once.
cp "$harfcode_binary" "$work_dir/harfcode" || fail "cannot copy $harfcode_binary"
"$cli_binary" --new-table "$work_dir/HexTable.txt" >/dev/null 2>&1 || fail "harfcode-cli cannot write a table"
(cd "$work_dir" && exec ./harfcode) >"$app_log" 2>&1 &
app_pid=$!
settled_window main Harfcode
! has_visible_window Display || fail "the Display window opened by itself"

input_field=(400 100)     # InkEdit1
persian_hex_box=(400 233) # Text1
click_at "$main" "${input_field[@]}"
xdotool type --delay 100 -- "$greeting"
step_ok "\"$greeting\" typed into the main window"

# The context menu of "Persian Hex": its last entry is "Show on Display…".
xdotool mousemove --window "$main" "${persian_hex_box[@]}" click 3
sleep 0.5
xdotool key Up Return
settled_window display Display
step_ok "\"Show on Display…\" opened the Display window"

sleep 0.5
before=$(pixels_of "$display")
click_at "$main" "${input_field[@]}"
xdotool key ctrl+End
xdotool type --delay 100 -- "$next_letter"
changed() { [[ $(pixels_of "$display") != "$before" ]]; }
wait_until 10 "the Display window to show \"$next_letter\"" changed
# On top for the picture: X keeps no pixels of what another window covers.
timeout 10 xdotool windowactivate --sync "$display" >/dev/null 2>&1 || fail "cannot activate the Display window"
sleep 0.5
import -window "$display" "$screenshot_dir/display-window.png" || fail "cannot save a screenshot"
step_ok "the Display window changed with \"$next_letter\"; screenshot in $screenshot_dir/display-window.png"

# Alt+F4 is openbox's close.
timeout 10 xdotool windowactivate --sync "$display" >/dev/null 2>&1 || fail "cannot activate the Display window"
xdotool key alt+F4
gone() { ! has_visible_window Display; }
wait_until 10 "the Display window to close" gone
sleep 1
program_running || fail "closing the Display window ended the program"
has_visible_window Harfcode || fail "closing the Display window closed the main window"
step_ok "closing the Display window leaves the program and its main window"

xdotool mousemove --window "$main" "${persian_hex_box[@]}" click 3
sleep 0.5
xdotool key Up Return
settled_window display Display
timeout 10 xdotool windowactivate --sync "$main" >/dev/null 2>&1 || fail "cannot activate the main window"
xdotool key alt+F4
for ((tries = 50; tries > 0; tries--)); do
    program_running || break
    sleep 0.1
done
! program_running || fail "the program still runs 5 s after its main window was closed with the Display window open"
wait "$app_pid"
status=$?
app_pid=
((status == 0)) || fail "the program ended with status $status"
step_ok "closing the main window ended the program with the Display window open"
