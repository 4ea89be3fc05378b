#!/usr/bin/env bash
# Mutation check of the test suite: puts one known fault at a time into a copy of the sources
# and tells whether the tests notice it. Run by hand, apart from ./test.sh:
#
#     scripts/mutation-check.sh [FOLDER [PATTERN]]
#
# PATTERN, a shell pattern such as 'font-*', picks the faults by name (all when not given).
# FOLDER holds a worktree of HEAD (FOLDER/tree) and its build (FOLDER/build). A given FOLDER is
# kept, so that the next run builds only what changed since; without one a temporary folder is
# used and removed. The developer's own tree is never touched.
#
# Every fault is a file scripts/mutations/NAME.fault:
#
#     # What the fault does (comment lines, only before "file:")
#     file: src/ROOM/FILE
#     old:
#     the exact text to replace, one or more lines
#     new:
#     the text put in its place, one or more lines, or none
#
# The old text must occur exactly once in FILE. For each fault the test programs of its room and
# of the rooms that build on it are rebuilt, and their tests run (`ctest -L ROOM...`) until the
# first failure; then the file is restored. The end-to-end tests run only for faults in the
# windows' rooms, the long-line memory test only for faults in src/cli; the install tests never
# (they build and install a Debian package). One line a fault:
#
#     caught NAME (TEST)        a test failed or timed out: TEST is the first
#     NOT caught NAME           every test passed
#     invalid NAME              the faulty source does not build
#     error NAME (REASON)       the fault does not apply: FILE or its old text not found once
#
# and at the end "caught N of M". Exits 0 once the faults ran, whatever the count; non-zero when
# the worktree, the build or the tests without faults fail.
set -euo pipefail
# A new text is put in as it is: "&" in it stands for itself, not for the old text.
shopt -u patsub_replacement 2>/dev/null || true

root=$(git -C "$(dirname "${BASH_SOURCE[0]}")" rev-parse --show-toplevel)
head=$(git -C "$root" rev-parse HEAD)

# Rooms whose faults the end-to-end tests, which drive the windows, may show.
window_rooms=" widgets editor display shell "

pattern=${2:-*}
if [ $# -gt 0 ]; then
    work=$(realpath -m "$1")
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'git -C "$root" worktree remove --force "$work/tree" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
fi
tree=$work/tree
build=$work/build

if [ -e "$tree/.git" ]; then
    git -C "$tree" reset --quiet --hard "$head"
else
    git -C "$root" worktree add --quiet --detach "$tree" "$head"
fi

# A fault in a room can only show in its own tests and in those of the rooms built on it.
source "$root/scripts/rooms_table.sh"
read_rooms_table "$tree/README.md"

echo "== Building $head in $work"
if [ ! -f "$build/CMakeCache.txt" ]; then
    launcher=()
    ! command -v ccache >/dev/null || launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$tree" -B "$build" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=Debug "${launcher[@]}" \
        -DHARFCODE_GUI=ON -DHARFCODE_TESTS=ON -DHARFCODE_BENCH=OFF -DHARFCODE_FUZZ=OFF -DHARFCODE_SANITIZE=OFF >/dev/null
fi
# Two jobs at most: the machine is shared.
cmake --build "$build" -j 2 -- --quiet >"$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log"
    echo "The sources without faults do not build."
    exit 1
}

# Runs the tests of the rooms $1 (blank-separated) until the first failure, into log $2.
run_tests() {
    local rooms=$1 log=$2
    local labels="^(${rooms// /|})\$"
    local excluded='^(install|rooms)$'
    local names=(-E '^cli_long_line_memory$')
    [[ " $rooms " == *" cli "* ]] && names=()
    # Without the timings of earlier runs CTest keeps the order of declaration, which puts a
    # room's tests before those of the rooms built on it.
    rm -f "$build/Testing/Temporary/CTestCostData.txt"
    ctest --test-dir "$build" -L "$labels" -LE "$excluded" "${names[@]}" \
        --stop-on-failure --timeout 120 --output-on-failure >"$log" 2>&1
}

# The first test that failed, from a log of run_tests.
first_failure() {
    sed -n '/The following tests FAILED:/{n;p;q}' "$1" | sed -E 's/^[[:space:]]*[0-9]+ - //'
}

echo "== Tests without faults"
all_rooms="${!allowed[*]} e2e"
if ! run_tests "$all_rooms" "$work/clean.log"; then
    echo "A test fails without any fault: $(first_failure "$work/clean.log") (see $work/clean.log)"
    exit 1
fi

echo "== Faults"
caught=0
total=0
for fault in "$root"/scripts/mutations/*.fault; do
    name=$(basename "$fault" .fault)
    # shellcheck disable=SC2053 # the pattern is matched as a pattern
    [[ "$name" == $pattern ]] || continue
    total=$((total + 1))
    file=$(sed -n 's/^file: //p' "$fault" | head -n 1)
    # The blocks keep their text exactly; the command substitutions only drop the last newline.
    old=$(sed -n '/^old:$/,/^new:$/p' "$fault" | sed '1d;$d')
    new=$(sed -n '/^new:$/,$p' "$fault" | sed '1d')
    room=$(cut -d/ -f2 <<<"$file")
    if [[ "$file" != src/* || ! -v allowed[$room] || ! -f "$tree/$file" || -z "$old" ]]; then
        echo "error $name (no file of a room, or no old text)"
        continue
    fi
    source_text=$(cat "$tree/$file"; printf x)
    source_text=${source_text%x}
    after_first=${source_text#*"$old"}
    if [ "$after_first" = "$source_text" ] || [[ "$after_first" == *"$old"* ]]; then
        echo "error $name (the old text does not occur exactly once in $file)"
        continue
    fi
    printf '%s' "${source_text/"$old"/"$new"}" >"$tree/$file"

    rooms="$room $(rooms_above "$room")"
    targets=()
    for tested in $rooms; do
        [ ! -d "$tree/tests/$tested" ] || targets+=("tests/$tested/all")
    done
    if [[ "$window_rooms" == *" $room "* ]]; then
        rooms+=" e2e"
        targets+=(harfcode harfcode-cli)
    fi
    log=$work/$name.log
    if ! cmake --build "$build" -j 2 --target "${targets[@]}" -- --quiet >"$log" 2>&1; then
        echo "invalid $name (does not build)"
    elif run_tests "$rooms" "$log"; then
        echo "NOT caught $name"
    else
        caught=$((caught + 1))
        echo "caught $name ($(first_failure "$log"))"
    fi
    git -C "$tree" checkout -- "$file"
done
echo "caught $caught of $total"
