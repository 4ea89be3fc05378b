# Shared by the tests that drive the real program under Xvfb: an X display of its own with a
# window manager, and waiting for and finding the program's windows. Sourced; it sets work_dir
# (a folder of its own, removed at the end) and app_log (where the program's output goes);
# the script sets app_pid once it starts the program.
source "$(dirname "${BASH_SOURCE[0]}")/build_steps.sh"

work_dir=$(mktemp -d)
app_log=$work_dir/harfcode.log
xvfb_pid='' wm_pid='' app_pid=''

# At the end, however it comes: the program, the window manager and the display go, and so
# does the work folder.
cleanup() {
    local pid
    for pid in "$app_pid" "$wm_pid" "$xvfb_pid"; do
        [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work_dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# An ended child stays a zombie until waited for, which kill -0 still finds.
program_running() {
    local stat
    read -r stat 2>/dev/null <"/proc/$app_pid/stat" || return 1
    stat=${stat##*) }   # the state letter follows the parenthesised command name
    [[ $stat != Z* ]]
}

# Polls `condition` (a command) every 0.1 s for up to `seconds`; fails early if the program
# has ended, since nothing it draws can appear any more.
wait_until() {
    local seconds=$1 what=$2 tries
    shift 2
    for ((tries = seconds * 10; tries > 0; tries--)); do
        "$@" && return 0
        if [[ -n ${app_pid:-} ]] && ! program_running; then
            fail "the program ended while waiting for $what"
        fi
        sleep 0.1
    done
    fail "timed out after ${seconds}s waiting for $what"
}

visible_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
has_visible_window() { [[ -n $(visible_window "$1") ]]; }
window_origin() { xwininfo -id "$1" | awk '/Absolute upper-left [XY]/ { printf "%s ", $4 }'; }

# Waits for the window titled $2 to be shown, active and no longer moved by the window
# manager, so that clicks at client-area positions land where they are meant to; stores
# its id in the variable named $1.
settled_window() {
    local -n window_id=$1
    local title=$2 tries before='' after
    wait_until 20 "the \"$title\" window" has_visible_window "$title"
    window_id=$(visible_window "$title")
    timeout 10 xdotool windowactivate --sync "$window_id" >/dev/null 2>&1 ||
        fail "the window manager does not activate the \"$title\" window"
    for ((tries = 25; tries > 0; tries--)); do
        after=$(window_origin "$window_id")
        [[ $after == "$before" ]] && return 0
        before=$after
        sleep 0.2
    done
    fail "the \"$title\" window keeps moving"
}

click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

# Copies the whole text of the field under (x, y) of window $1 through the clipboard
# until it equals $4 (typed keys are handled asynchronously); what was copied last stays
# in copied_text for the failure message.
copied_text=
copy_field_until() {
    local window=$1 x=$2 y=$3 expected=$4 tries
    for ((tries = 30; tries > 0; tries--)); do
        click_at "$window" "$x" "$y"
        xdotool key ctrl+a ctrl+c
        copied_text=$(xclip -o -selection clipboard 2>/dev/null)
        [[ $copied_text == "$expected" ]] && return 0
        sleep 0.2
    done
    return 1
}

# xdotool types a character that is not on the keyboard map by binding it to a spare key for
# that one keystroke and unbinding it at once; a program that reads the key late, as under
# load, then gets another character or none. So each character of $1 that the map lacks is
# bound to a key of its own beforehand, and stays bound.
bind_keys_for() {
    local text=$1 char i next=0 spare_keycodes bindings=()
    local -A bound=()
    # Keys without any keysym: "keycode 200 =" and nothing more.
    mapfile -t spare_keycodes < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
    for ((i = 0; i < ${#text}; i++)); do
        char=${text:i:1}
        [[ $char == [[:ascii:]] || -n ${bound[$char]:-} ]] && continue
        ((next < ${#spare_keycodes[@]})) || fail "no spare key left on the keyboard map for \"$char\""
        bindings+=(-e "keycode ${spare_keycodes[next++]} = $(printf 'U%04X' "'$char")")
        bound[$char]=1
    done
    ((${#bindings[@]} == 0)) || xmodmap "${bindings[@]}" || fail "xmodmap cannot bind the keys for \"$text\""
}

# A clean environment: nothing from the caller's desktop or Qt settings may move a window, and
# xdotool reads the Persian text it types, and grep the glyphs, by the locale's encoding.
isolate_environment() {
    export HOME=$work_dir/home XDG_CONFIG_HOME=$work_dir/home/.config XDG_CACHE_HOME=$work_dir/home/.cache
    export XDG_RUNTIME_DIR=$work_dir/runtime QT_QPA_PLATFORM=xcb
    export LC_ALL=C.UTF-8
    unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI QT_ENABLE_HIGHDPI_SCALING QT_QPA_PLATFORMTHEME
    mkdir -p "$HOME" "$XDG_RUNTIME_DIR" || fail "cannot create the home folders"
    chmod 700 "$XDG_RUNTIME_DIR"
}

# Starts Xvfb and openbox, for real frames and close boxes; exports DISPLAY and sets xvfb_pid
# and wm_pid for the caller's clean-up.
start_display() {
    : >"$work_dir/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work_dir/display" \
        >"$work_dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    display_ready() { [[ -s $work_dir/display ]]; }
    wait_until 20 "Xvfb to start" display_ready
    DISPLAY=:$(head -n 1 "$work_dir/display")
    export DISPLAY
    openbox >"$work_dir/openbox.log" 2>&1 &
    wm_pid=$!
    wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until 20 "the window manager" wm_ready
}
