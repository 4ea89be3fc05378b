#!/usr/bin/env bash
# The Windows packages under Wine, on an X display of their own, as a person meets them:
# - the portable zip: the first start writes the table beside the programs and shows
#   "Hex Table"; Persian pasted into the main window shows in "Persian Hex" and "English Hex"
#   the codes the Linux harfcode-cli gives; "Show on Display…" opens the Display window;
# - the installer, run silently: both programs start from the installed folder, the table
#   goes to %LOCALAPPDATA%\harfcode, and the silent uninstaller removes the programs and
#   leaves the table.
#
# Usage: wine_walkthrough.sh PACKAGES_DIR LINUX_HARFCODE_CLI SCREENSHOT_DIR
set -uo pipefail

if [[ $# -ne 3 ]]; then
    echo "usage: $0 PACKAGES_DIR LINUX_HARFCODE_CLI SCREENSHOT_DIR" >&2
    exit 2
fi
packages=$(realpath "$1")
cli_binary=$(realpath "$2")
screenshot_dir=$(realpath -m "$3")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

source "$here/../support/x_display.sh"
source "$here/wine.sh"
require_tools Xvfb:xvfb openbox:openbox xdotool:xdotool xclip:xclip xprop:x11-utils xwininfo:x11-utils \
              import:imagemagick unzip:unzip iconv:libc-bin

readonly text="سلام دنیا ۱۴۰۳"
readonly table_bytes_total=1236
zip=$(ls "$packages"/harfcode-*-windows-x64.zip 2>/dev/null | head -n 1)
installer=$(ls "$packages"/harfcode-*-windows-x64-setup.exe 2>/dev/null | head -n 1)
[[ -f $zip && -f $installer ]] || fail "no zip or installer in $packages"

isolate_environment
mkdir -p "$screenshot_dir" || fail "cannot create $screenshot_dir"
start_display
start_wine "$work_dir"
trap '"$WINESERVER" -k 2>/dev/null; cleanup' EXIT
drive_c=$WINEPREFIX/drive_c
step_ok "display $DISPLAY with openbox; Wine prefix made"

# Starts the Windows program $1 (a path under drive_c) in its own folder.
start_program() {
    (cd "$(dirname "$1")" && exec "$WINE" "$(basename "$1")") >"$app_log" 2>&1 &
    app_pid=$!
}
# The Windows process is the one Wine started: it is gone once waited for.
stop_program() {
    kill "$app_pid" 2>/dev/null
    wait "$app_pid" 2>/dev/null
    app_pid=
}
screenshot() {
    sleep 0.5
    import -window "$1" "$screenshot_dir/$2" || fail "cannot save a screenshot as $screenshot_dir/$2"
}

# --- the portable zip: the first start ---
unzip -q "$zip" -d "$drive_c/portable" || fail "cannot unzip $zip"
portable_bin=$(dirname "$(find "$drive_c/portable" -name harfcode.exe | head -n 1)")
[[ -f $portable_bin/harfcode-cli.exe && -f $portable_bin/portable.txt ]] ||
    fail "the zip lacks harfcode-cli.exe or portable.txt beside harfcode.exe"
start_program "$portable_bin/harfcode.exe"
settled_window editor "Hex Table"
table=$portable_bin/HexTable.txt
[[ -f $table ]] || fail "no HexTable.txt beside the portable programs after the first start"
size=$(stat -c %s "$table")
((size == table_bytes_total)) || fail "the first start's table is $size bytes, expected $table_bytes_total"
[[ $(head -c 2 "$table" | od -An -tx1 | xargs) == "ff fe" ]] || fail "the first start's table does not start with FF FE"
! has_visible_window Harfcode || fail "the main window is visible beside the editor on a first start"
screenshot "$editor" hex-table.png
stop_program
step_ok "the portable copy's first start wrote the $size-byte table beside it and shows \"Hex Table\""

# --- Persian pasted into the main window, with a table of a code for every glyph ---
"$cli_binary" --new-table "$work_dir/filled.txt" >/dev/null 2>&1 || fail "harfcode-cli cannot write a table"
cp "$work_dir/filled.txt" "$table"
start_program "$portable_bin/harfcode.exe"
settled_window main Harfcode
input_field=(400 100)      # InkEdit1
persian_hex_box=(400 233)  # Text1
english_hex_box=(400 366)  # Text2
printf '%s' "$text" | xclip -selection clipboard
click_at "$main" "${input_field[@]}"
xdotool key ctrl+a ctrl+v
english=$("$cli_binary" --table "$table" --order typing "$text") || fail "harfcode-cli failed on \"$text\""
persian=$("$cli_binary" --table "$table" --order reverse "$text") || fail "harfcode-cli failed on \"$text\""
copy_field_until "$main" "${english_hex_box[@]}" "$english" ||
    fail "\"English Hex\" shows \"$copied_text\"; the Linux harfcode-cli gives \"$english\""
copy_field_until "$main" "${persian_hex_box[@]}" "$persian" ||
    fail "\"Persian Hex\" shows \"$copied_text\"; the Linux harfcode-cli gives \"$persian\""
click_at "$main" "${input_field[@]}"
xdotool key ctrl+End
screenshot "$main" main-window.png
step_ok "\"$text\" pasted shows \"$persian\" and \"$english\", as on Linux"

# The context menu of "Persian Hex": its last entry is "Show on Display…".
xdotool mousemove --window "$main" "${persian_hex_box[@]}" click 3
sleep 1
xdotool key Up Return
settled_window display Display
screenshot "$display" display-window.png
stop_program
step_ok "\"Show on Display…\" opened the Display window"

# --- the installer, silently; both programs from the installed folder ---
"$WINE" "$installer" /S >/dev/null 2>&1 || fail "the installer failed"
installed=$drive_c/Program\ Files/Harfcode
for file in bin/harfcode.exe bin/harfcode-cli.exe doc/THIRD-PARTY.txt doc/licenses/LGPL-3.0.txt Uninstall.exe; do
    [[ -f $installed/$file ]] || fail "the installer did not install $file"
done
[[ ! -e $installed/bin/portable.txt ]] || fail "the installer installed the portable copy's marker"
user_table=$(find "$drive_c/users" -path '*/AppData/Local/harfcode/HexTable.txt' 2>/dev/null | head -n 1)
[[ -z $user_table ]] || fail "a table is in the user's folder before any program ran"
(cd "$installed/bin" && "$WINE" harfcode-cli.exe --new-table) >"$app_log" 2>&1 ||
    fail "the installed harfcode-cli.exe cannot write the default table"
user_table=$(find "$drive_c/users" -path '*/AppData/Local/harfcode/HexTable.txt' | head -n 1)
[[ -n $user_table ]] || fail "the installed harfcode-cli.exe did not write its table to %LOCALAPPDATA%\\harfcode"
[[ ! -e $installed/bin/HexTable.txt ]] || fail "the installed harfcode-cli.exe wrote a table beside itself"
codes=$(cd "$installed/bin" && "$WINE" harfcode-cli.exe --order reverse "$text" 2>/dev/null)
[[ $codes == "$persian" ]] || fail "the installed harfcode-cli.exe gives \"$codes\", expected \"$persian\""
start_program "$installed/bin/harfcode.exe"
settled_window main Harfcode
stop_program
[[ ! -e $installed/bin/HexTable.txt ]] || fail "the installed harfcode.exe wrote a table beside itself"
step_ok "installed silently; both programs start and use %LOCALAPPDATA%\\harfcode\\HexTable.txt"

# The uninstaller runs a copy of itself and returns at once; the wineserver is kept for the
# whole run, so waiting for it would never end: the programs' going is awaited instead.
"$WINE" "$installed/Uninstall.exe" /S >/dev/null 2>&1 || fail "the uninstaller failed"
programs_removed() { [[ ! -e $installed/bin/harfcode.exe && ! -e $installed/bin/harfcode-cli.exe ]]; }
wait_until 60 "the uninstaller to remove the programs" programs_removed
[[ -f $user_table ]] || fail "the uninstaller removed the user's table"
step_ok "uninstalled silently: the programs are gone, the table stays; screenshots in $screenshot_dir"
