#!/usr/bin/env bash
# The installed program as an ordinary user meets it: started from a read-only program folder
# with a fresh home, it writes the default table into the user's data folder and nothing
# beside itself, "Save" writes there, and the installed harfcode-cli converts with that table
# without being told where it is.
#
# Usage: installed_first_start.sh PACKAGE_DIR DEFAULT_TABLE
set -uo pipefail
package_dir=$1
default_table=$2

source "$(dirname "${BASH_SOURCE[0]}")/../support/x_display.sh"

[[ $(id -u) -eq 0 ]] || fail "run as root: the program is started as the user nobody"
require_tools Xvfb:xvfb openbox:openbox xdotool:xdotool xprop:x11-utils xwininfo:x11-utils setpriv:util-linux

# A copy that nobody can reach, since the build folder may be closed to other users.
chmod 755 "$work_dir"
cp -a "$package_dir/root" "$work_dir/root" || fail "cannot copy the unpacked package"
program_dir=$work_dir/root/usr/bin
chmod -R a-w "$program_dir"
home=$work_dir/home
runtime=$work_dir/runtime
mkdir -m 700 "$home" "$runtime" && chown nobody:nogroup "$home" "$runtime"
user_table=$home/.local/share/harfcode/HexTable.txt
listing() { find "$work_dir/root" -printf '%p %s %T@\n' | sort; }
installed_files=$(listing)

# As the user nobody, with nothing of the caller's environment: XDG_DATA_HOME is unset.
as_user() {
    setpriv --reuid=nobody --regid=nogroup --clear-groups \
        env -i HOME="$home" XDG_RUNTIME_DIR="$runtime" DISPLAY="${DISPLAY:-}" PATH=/usr/bin:/bin \
        LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$@"
}

table_line() { tail -c +3 "$1" | iconv -f UTF-16LE -t UTF-8 | tr -d '\r' | sed -n "${2}p"; }

start_display

# --- before the first start the converter has no table, and says how to get one ---
as_user "$program_dir/harfcode-cli" A >/dev/null 2>"$work_dir/cli.err"
status=$?
((status == 2)) || fail "harfcode-cli without a table exits with $status, expected 2"
grep -qF "\"$user_table\": No such file" "$work_dir/cli.err" && grep -q 'start harfcode once' "$work_dir/cli.err" ||
    fail "harfcode-cli without a table says: $(cat "$work_dir/cli.err")"
step_ok "before the first start harfcode-cli names $user_table and says to start harfcode once"

# --- the first start: the default table in the user's data folder ---
as_user "$program_dir/harfcode" >"$app_log" 2>&1 &
app_pid=$!
settled_window editor "Hex Table"
[[ -f $user_table ]] || fail "no table at $user_table after the first start: $(find "$home" | xargs)"
cmp -s "$user_table" "$default_table" || fail "$user_table is not the default table"
[[ $(stat -c %a "$(dirname "$user_table")") == 700 ]] ||
    fail "$(dirname "$user_table") has mode $(stat -c %a "$(dirname "$user_table")"), expected 700"
[[ $(stat -c %U "$user_table") == nobody ]] || fail "$user_table does not belong to the user"
[[ $(listing) == "$installed_files" ]] || fail "the program wrote beside itself: $(diff <(echo "$installed_files") <(listing))"
step_ok "the first start wrote the default table to $user_table, and nothing beside the program"

# The windows carry the class the desktop entry names, and the icon embedded in the program.
# Read whole before matching: grep -q stops reading at the first match, and the icon's dump is
# larger than a pipe holds, so xprop would die of SIGPIPE and fail the pipeline.
class=$(xprop -id "$editor" WM_CLASS)
grep -q '"harfcode"' <<<"$class" || fail "WM_CLASS is $class"
icons=$(xprop -id "$editor" _NET_WM_ICON) || fail "cannot read the window's icons"
grep -q 'Icon (64 x 64)' <<<"$icons" || fail "the window has no 64 x 64 icon: $(grep 'Icon (' <<<"$icons" | xargs)"
step_ok "the window's class is harfcode and its icon 64 x 64"

# --- "Save" writes the user's table: the blank's code 20, in slot 1's field ---
click_at "$editor" 644 28
xdotool key ctrl+a
xdotool type --delay 80 -- 20
click_at "$editor" 64 548   # "Save"
settled_window main Harfcode
[[ $(table_line "$user_table" 1) == "20=" ]] || fail "after Save, line 1 of $user_table is \"$(table_line "$user_table" 1)\""
[[ $(listing) == "$installed_files" ]] || fail "Save wrote beside the program: $(diff <(echo "$installed_files") <(listing))"
step_ok "\"Save\" wrote the user's table"

# --- the installed converter finds the same table by itself ---
codes=$(as_user "$program_dir/harfcode-cli" "A B" 2>"$work_dir/cli.err") || fail "harfcode-cli failed: $(cat "$work_dir/cli.err")"
[[ $codes == "00  20  00" ]] || fail "harfcode-cli converts \"A B\" to \"$codes\", expected \"00  20  00\" (the saved blank)"
help=$(as_user "$program_dir/harfcode-cli" --help)
# The help wraps its lines, inside the path too where it is long.
tr -d ' \n' <<<"$help" | grep -qF "$user_table" ||
    fail "harfcode-cli --help does not name $user_table:"$'\n'"$help"
step_ok "the installed harfcode-cli converts with $user_table and names it in --help"
