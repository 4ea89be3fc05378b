#!/usr/bin/env bash
# Runs room_boundaries.sh on a copy of SRC in which the Display window includes the Hex Table
# window, which its room may not: the check must fail (the test expects it to). A copy that
# cannot be made succeeds, so that the test fails too. Usage: forbidden_include.sh README SRC QT
tmp=$(mktemp -d) || exit 0
trap 'rm -rf "$tmp"' EXIT
cp -r "$2" "$tmp/src" && echo '#include "editor/form2.h"' >>"$tmp/src/display/display_window.cpp" || exit 0
bash "$(dirname "${BASH_SOURCE[0]}")/room_boundaries.sh" "$1" "$tmp/src" "$3"
