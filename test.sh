#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: a short bounded run of each fuzzer,
# the tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole suite
# (unit, widget and end-to-end tests) on the ordinary build.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
source scripts/setup.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

echo "== Fuzzing (bounded)"
configure build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHARFCODE_FUZZ=ON -DHARFCODE_GUI=OFF -DHARFCODE_TESTS=OFF -DHARFCODE_BENCH=OFF -DHARFCODE_SANITIZE=OFF
build build-fuzz
# Each fuzzer works on a copy of its seeds, so that the corpus in the repository stays as it is;
# a finding is saved in build-fuzz/ and fails the run. -max_len lets table inputs cross the
# reader's 16 KiB pieces.
for target in harfcode_fuzz_table_reader harfcode_fuzz_conversion harfcode_fuzz_firmware harfcode_fuzz_font harfcode_fuzz_shaper; do
    corpus=build-fuzz/corpus/$target
    rm -rf "$corpus" && mkdir -p "$corpus" && cp fuzz/corpus/"$target"/* "$corpus"/
    log=build-fuzz/$target.log
    if ! build-fuzz/bin/"$target" -max_total_time=30 -max_len=40000 -timeout=10 \
        -artifact_prefix=build-fuzz/ "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$target found a failure; the input is saved in build-fuzz/"
        exit 1
    fi
    echo "$target: $(grep -o 'Done [0-9]* runs' "$log") without failure"
done

echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DCMAKE_BUILD_TYPE=Debug -DHARFCODE_SANITIZE=ON \
    -DHARFCODE_GUI=ON -DHARFCODE_TESTS=ON -DHARFCODE_BENCH=OFF -DHARFCODE_FUZZ=OFF
build build-asan
ctest --test-dir build-asan --label-exclude e2e --parallel 2 --output-on-failure

echo "== All tests"
configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHARFCODE_SANITIZE=OFF \
    -DHARFCODE_GUI=ON -DHARFCODE_TESTS=ON -DHARFCODE_BENCH=ON -DHARFCODE_FUZZ=OFF
build build
ctest --test-dir build --parallel 2 --output-on-failure
