# What the build tests of generated headers share: a failure ends the test saying why, a step
# done says so, and the tools they need are there or named with their Debian package.
# Sourced by tests/cli/header_builds_test.sh and tests/font/font_header_builds_test.sh.

fail() {
    echo "FAIL: $*" >&2
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
