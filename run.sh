#!/usr/bin/env bash
# Installs what is missing, builds, and starts Harfcode. The glyph code table, HexTable.txt,
# lives beside the program in build-run/bin/; the first start writes it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
source scripts/setup.sh

ensure_packages "${BUILD_PACKAGES[@]}"
configure build-run -DCMAKE_BUILD_TYPE=Release \
    -DHARFCODE_TESTS=OFF -DHARFCODE_BENCH=OFF -DHARFCODE_FUZZ=OFF -DHARFCODE_SANITIZE=OFF
build build-run harfcode

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Harfcode is built (build-run/bin/harfcode), but there is no display to show it on." >&2
    echo "Run ./run.sh from a desktop session." >&2
    exit 1
fi
exec build-run/bin/harfcode "$@"
