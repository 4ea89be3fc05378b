#!/usr/bin/env bash
# Runs a test program as an ordinary user. Permissions are not enforced for root, so tests of
# unreadable files and read-only folders only skip when CI runs them as root.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
# A copy in a fresh folder, since 'nobody' may not reach the build folder.
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp "$1" "$folder"/
chmod 755 "$folder"
program=$folder/$(basename "$1")
shift
output=$(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME=/tmp "$program" "$@" 2>&1) ||
    { echo "$output"; exit 1; }
echo "$output"
# Something must run and nothing may skip: either would mean the permissions went untested.
grep -q '^\[  PASSED  \] [1-9]' <<<"$output" && ! grep -q '^\[  SKIPPED \]' <<<"$output"
