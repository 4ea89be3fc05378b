#!/usr/bin/env bash
# Installs what is missing, builds, and starts Harfcode.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
source scripts/dependencies.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build-run -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Release \
    -DHARFCODE_TESTS=OFF -DHARFCODE_BENCH=OFF -DHARFCODE_FUZZ=OFF >/dev/null
cmake --build build-run --target harfcode-cli -- --quiet

# Until the windows exist: the slots of a sample line, from the command-line converter.
echo "سلام دنیا" | build-run/bin/harfcode-cli --slots
