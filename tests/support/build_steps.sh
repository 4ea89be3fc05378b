# What the shell tests share: a failure ends the test saying why (and what the program it ran
# printed last, where it sets app_log), a step done says so, and the tools they need are there
# or named with their Debian package. Sourced by header_builds.sh, x_display.sh and the
# install check.

fail() {
    echo "FAIL: $*" >&2
    if [[ -s ${app_log:-} ]]; then
        echo "--- program output ---" >&2
        tail -n 20 "$app_log" >&2
    fi
    exit 1
}
step_ok() { echo "ok: $*"; }

# Each argument TOOL:PACKAGE: fails unless TOOL is on the PATH.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "${tool%%:*}" >/dev/null || fail "${tool%%:*} is missing (Debian package ${tool##*:})"
    done
}
