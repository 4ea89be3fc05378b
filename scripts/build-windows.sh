#!/usr/bin/env bash
# Cross-builds Harfcode for 64-bit Windows and packages it: build-windows/packages/ then holds
# harfcode-VERSION-windows-x64.zip and harfcode-VERSION-windows-x64-setup.exe.
#
#   scripts/build-windows.sh [--test]
#
# Qt, ICU and FreeType are built from Debian's own source packages the first time (about 35
# minutes on two cores) and kept in ~/.cache/harfcode/windows/ (scripts/windows/). With --test,
# the Windows programs are then tested under Wine (tests/windows/).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
source scripts/setup.sh

run_tests=false
case "${1:-}" in
    --test) run_tests=true ;;
    "") ;;
    *) echo "usage: scripts/build-windows.sh [--test]" >&2; exit 2 ;;
esac

WINDOWS_PACKAGES=(
    g++-mingw-w64-x86-64-posix mingw-w64-tools  # the cross-compiler
    qt6-base-dev qt6-base-dev-tools              # Qt's host tools (moc, rcc, uic) for the Windows Qt
    dpkg-dev                                     # apt-get source
    nsis icoutils                                # the installer, the .ico
    wine64                                       # the tests
)

# `apt-get source` needs deb-src entries; they are made from the machine's own deb entries.
ensure_source_entries() {
    apt-cache showsrc --only-source qt6-base 2>/dev/null | grep -q '^Version:' && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    local entries=/etc/apt/sources.list.d/harfcode-deb-src.sources
    echo "Adding deb-src entries for Debian's mirrors ($entries)"
    {
        shopt -s nullglob
        local file
        for file in /etc/apt/sources.list.d/*.sources; do
            if [ "$file" != "$entries" ]; then
                awk 'BEGIN { RS = ""; ORS = "\n\n" } /(^|\n)Types:[^\n]*deb( |\n|$)/ {
                    sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
            fi
        done
        # One-line entries, as older systems write them; either file may be missing.
        for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            if [ -f "$file" ]; then
                awk '$1 == "deb" { $1 = "Types: deb-src\nURIs:"; suite = $3; $3 = "\nSuites: " suite "\nComponents:"; print; print "" }' "$file"
            fi
        done
    } | "${sudo[@]}" tee "$entries" >/dev/null
    "${sudo[@]}" apt-get update -qq
}

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_PACKAGES[@]}"
ensure_source_entries
source scripts/windows/dependencies.sh
ensure_dependency freetype "$FREETYPE_SOURCE_PACKAGE"
ensure_dependency icu "$ICU_SOURCE_PACKAGE"
ensure_dependency qt "$QT_SOURCE_PACKAGE"
freetype=$(dependency_folder freetype "$FREETYPE_SOURCE_PACKAGE")
icu=$(dependency_folder icu "$ICU_SOURCE_PACKAGE")
qt=$(dependency_folder qt "$QT_SOURCE_PACKAGE")
sources=()
for package in "$QT_SOURCE_PACKAGE" "$ICU_SOURCE_PACKAGE" "$FREETYPE_SOURCE_PACKAGE"; do
    sources+=("$package=$(source_version "$package")")
done

echo "== Cross-building for Windows"
configure build-windows -DCMAKE_TOOLCHAIN_FILE="$WINDOWS_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_FIND_ROOT_PATH="$qt;$icu;$freetype" -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr \
    -DICU_INCLUDE_DIR="$icu/include" -DICU_UC_LIBRARY_RELEASE="$icu/lib/libsicuuc.a" \
    -DICU_DATA_LIBRARY_RELEASE="$icu/lib/libsicudt.a" \
    -DFREETYPE_INCLUDE_DIR_ft2build="$freetype/include/freetype2" \
    -DFREETYPE_INCLUDE_DIR_freetype2="$freetype/include/freetype2" \
    -DFREETYPE_LIBRARY="$freetype/lib/libfreetype.a" \
    -DHARFCODE_WINDOWS_SOURCES="$(IFS=';'; echo "${sources[*]}")" \
    -DHARFCODE_WINDOWS_COMPILER="$(dpkg-query -W -f='${Package} ${Version}' g++-mingw-w64-x86-64-posix)" \
    -DHARFCODE_GUI=ON -DHARFCODE_TESTS=OFF -DHARFCODE_BENCH=OFF -DHARFCODE_FUZZ=OFF -DHARFCODE_SANITIZE=OFF
build build-windows
(cd build-windows && cpack -B packages >/dev/null)
rm -rf build-windows/packages/_CPack_Packages
ls -l build-windows/packages/

if $run_tests; then
    # The Linux converter of the same commit is what the Windows one is compared with; the
    # folder is test.sh's, so that after it nothing is built twice.
    echo "== The Linux harfcode-cli to compare with"
    configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHARFCODE_SANITIZE=OFF \
        -DHARFCODE_GUI=ON -DHARFCODE_TESTS=ON -DHARFCODE_BENCH=ON -DHARFCODE_FUZZ=OFF
    build build harfcode-cli
    echo "== Windows tests under Wine"
    tests/windows/converter_corpus.sh build-windows build/bin/harfcode-cli
    tests/windows/windows_file_cases.sh build-windows
    tests/windows/windows_font_lookup.sh build-windows build/bin/harfcode-cli
    tests/windows/wine_walkthrough.sh build-windows/packages build/bin/harfcode-cli build-windows/screenshots
fi
