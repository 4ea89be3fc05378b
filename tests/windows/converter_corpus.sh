#!/usr/bin/env bash
# harfcode-cli.exe under Wine against the Linux harfcode-cli of the same commit, on every run of
# converter_corpus.tsv: the same standard output, exit status and written files byte for byte,
# and the same standard error once the system's reasons for a failure are a placeholder (each
# system words them its own way).
#
#   tests/windows/converter_corpus.sh WINDOWS_BUILD LINUX_HARFCODE_CLI
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/wine.sh"
start_wine_against_linux "$@"

# The inputs, made once and copied for each side, so that neither sees what the other wrote.
fixtures=$work/fixtures
mkdir -p "$fixtures/folder"
(
    cd "$fixtures"
    "$linux_cli" --new-table table.txt 2>/dev/null
    sed 's/^[0-9A-F][0-9A-F]/00/' table.txt >unfilled.txt
    sed '3s/^[0-9A-F][0-9A-F]/00/' table.txt >zero-code.txt
    sed '3s/^[0-9A-F][0-9A-F]/G7/' table.txt >bad-code.txt
    printf 'not a table\n' >bad-table.txt
    printf 'GREETING=سلام دنیا\nPRICE=قیمت ۱۲۰ تومان\n# a comment\n\nMIXED=(ABC) و 12!\n' >strings.txt
    printf 'GREETING=سلام\r\nPRICE=قیمت 120\r\n' >crlf-strings.txt
    printf 'int=سلام\n2ND=دو\nA__B=x\nGREETING=a\nGREETING=b\n' >bad-strings.txt
    printf 'GOOD=سلام\nBROKEN=\xD8\n' >invalid-strings.txt
    printf 'سلام دنیا\nABC ۱۲۳ کتاب‌ها\n\n(گل) و «بلبل»\n' >lines.txt
    printf 'سلام\n\xFF\xFEبد\nدنیا\n' >invalid-lines.txt
    printf 'سلام\r\nدنیا\r\n' >crlf-lines.txt
    : >empty.txt
    printf 'not a font\n' >not-a-font.ttf
    cp /usr/share/wine/fonts/tahoma.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
        /usr/share/fonts/opentype/unifont/unifont.otf .
)
cp -r "$fixtures" "$work/linux"
cp -r "$fixtures" "$work/windows"

# The system's reason at the end of a message: Linux's, Windows' and Wine's words for it.
normalize() {
    sed -E -e 's/: (No such file or directory|Is a directory|Not a directory|Permission denied)\.$/: <reason>./' \
        -e 's/: (The system cannot find the (file|path) specified|Access is denied)\.$/: <reason>./' \
        -e 's/: (File not found|Path not found|Access denied)\.$/: <reason>./' "$1"
}

failures=0
count=0
while IFS=$'\t' read -r name input arguments; do
    [[ -z $name || $name == \#* ]] && continue
    eval "arguments=($arguments)"
    standard_input=/dev/null
    [ "$input" = - ] || standard_input=$fixtures/$input
    linux_status=0
    (cd "$work/linux" && "$linux_cli" "${arguments[@]}") <"$standard_input" >"$work/linux.out" 2>"$work/linux.err" ||
        linux_status=$?
    windows_status=0
    (cd "$work/windows" && wine_run "$windows_cli" "${arguments[@]}") <"$standard_input" >"$work/windows.out" \
        2>"$work/windows.err" || windows_status=$?
    count=$((count + 1))

    problems=()
    [ "$linux_status" = "$windows_status" ] || problems+=("exit status $windows_status, on Linux $linux_status")
    cmp -s "$work/linux.out" "$work/windows.out" || problems+=("standard output differs")
    diff <(normalize "$work/linux.err") <(normalize "$work/windows.err") >"$work/err.diff" ||
        problems+=("standard error differs:"$'\n'"$(cat "$work/err.diff")")
    for written in "$work"/linux/out.* "$work"/windows/out.*; do
        [ -e "$written" ] || continue
        other=${written/\/linux\//\/windows\/}
        [ "$other" != "$written" ] || other=${written/\/windows\//\/linux\/}
        cmp -s "$written" "$other" 2>/dev/null || problems+=("$(basename "$written") differs or is missing")
    done
    rm -f "$work"/linux/out.* "$work"/windows/out.*
    if [ ${#problems[@]} -gt 0 ]; then
        failures=$((failures + 1))
        printf 'FAIL %s:\n' "$name"
        printf '  %s\n' "${problems[@]}"
    fi
done <"$here/converter_corpus.tsv"

echo "converter corpus: $((count - failures)) of $count runs as on Linux"
[ "$failures" -eq 0 ]
