# Runs Windows programs under Wine for the tests of tests/windows/; sourced by them.
#
# start_wine FOLDER: a Wine prefix of the test's own in FOLDER (a temporary folder, removed with
# everything in it when the test ends), made first, with Wine's Tahoma in C:\windows\Fonts
# (where GDI finds it, as Windows' own), and one wineserver kept for the run and stopped at
# the end.
# start_wine_against_linux WINDOWS_BUILD LINUX_HARFCODE_CLI: for a test that compares the two
# builds: $windows_cli and $linux_cli are their converters, and Wine starts as above in a new
# temporary folder, $work.
# wine_run PROGRAM ARGUMENTS...: runs PROGRAM (a Windows .exe) in the current folder.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver

start_wine() {
    export WINEPREFIX=$1/wine LANG=C.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    trap '"$WINESERVER" -k 2>/dev/null || true; rm -rf "'"$1"'"' EXIT
    "$WINE" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
    cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    "$WINESERVER" -p
}

start_wine_against_linux() {
    windows_cli=$(realpath "$1")/bin/harfcode-cli.exe
    linux_cli=$(realpath "$2")
    work=$(mktemp -d)
    start_wine "$work"
}

wine_run() {
    "$WINE" "$@"
}
