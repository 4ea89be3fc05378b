#!/usr/bin/env bash
# Runs a test program as an ordinary user. Permissions are not enforced for root, so tests of
# unreadable files and read-only folders only skip when CI runs them as root.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
as_nobody=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
if ! "${as_nobody[@]}" test -x "$1"; then
    echo "note: 'nobody' cannot reach $1 from here; running as root, where these tests skip"
    exec "$@"
fi
# As an ordinary user nothing may skip: a skip would mean the permissions were not tested.
output=$("${as_nobody[@]}" env HOME=/tmp "$@" 2>&1) || { echo "$output"; exit 1; }
echo "$output"
! grep -q '^\[  SKIPPED \]' <<<"$output"
