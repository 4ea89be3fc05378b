#!/usr/bin/env bash
# The package and the files it installs, judged by the tools that distributions and software
# centres judge them with: lintian, desktop-file-validate, appstreamcli and man.
#
# Usage: check_package.sh PACKAGE_DIR VERSION APP_ID
set -uo pipefail
package_dir=$1
version=$2
app_id=$3
root=$package_dir/root
share=$root/usr/share

# shellcheck source=../support/build_steps.sh
source "$(dirname "${BASH_SOURCE[0]}")/../support/build_steps.sh"

package=$(echo "$package_dir"/harfcode_*.deb)

# lintian refuses nothing for running as root but says so; its tags are what counts.
lintian_output=$(lintian --tag-display-limit 0 "$package" 2>&1 | grep -v '^running with root privileges')
echo "$lintian_output" | grep -q '^E: ' && fail "lintian reports errors:"$'\n'"$lintian_output"
[[ -n $lintian_output ]] && echo "lintian: $lintian_output"
step_ok "lintian reports no errors"

control=$(dpkg-deb --field "$package")
for field in 'Section: electronics' 'Recommends: fonts-dejavu-core, fonts-wine' 'Maintainer: .+ <.+@.+>'; do
    grep -Eq "^$field\$" <<<"$control" || fail "the control file has no line \"$field\":"$'\n'"$control"
done
# dpkg-shlibdeps found the libraries that the programs link.
for library in libqt6widgets6 libqt6core6 libicu72 libc6; do
    grep -Eq "^Depends: .*\\b$library\\b" <<<"$control" || fail "Depends lacks $library: $(grep '^Depends' <<<"$control")"
done
step_ok "the control file has its section, recommendations, maintainer and found dependencies"

desktop=$share/applications/$app_id.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
for line in "Icon=$app_id" 'StartupWMClass=harfcode' 'Exec=harfcode'; do
    grep -qx "$line" "$desktop" || fail "$desktop has no line $line"
done
[[ -x $root/usr/bin/harfcode && -x $root/usr/bin/harfcode-cli ]] || fail "the programs are not in usr/bin"
step_ok "the desktop entry is valid and starts the installed program with its icon"

metainfo=$share/metainfo/$app_id.metainfo.xml
appstream_output=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1)
grep -Eq '^(E|W):' <<<"$appstream_output" && fail "appstreamcli finds errors or warnings:"$'\n'"$appstream_output"
step_ok "appstreamcli validates the metainfo without errors or warnings"

# One version everywhere: the project's, the newest release of the metainfo and of the changelog.
release=$(grep -o -m 1 '<release version="[^"]*"' "$metainfo" | cut -d '"' -f 2)
changelog_version=$(zcat "$share/doc/harfcode/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[[ $release == "$version" && $changelog_version == "$version" ]] ||
    fail "version $version, newest metainfo release $release, newest changelog entry $changelog_version"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$share/doc/harfcode/copyright" ||
    fail "usr/share/doc/harfcode/copyright is not machine-readable"
step_ok "the metainfo, the changelog and the project agree on version $version"

for size in 16 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$app_id.png
    measured=$(identify -format '%m %wx%h' "$icon" 2>&1)
    [[ $measured == "PNG ${size}x${size}" ]] || fail "$icon is \"$measured\", expected PNG ${size}x${size}"
done
[[ -s $share/icons/hicolor/scalable/apps/$app_id.svg ]] || fail "no scalable icon"
step_ok "the icons are in hicolor at every size and as SVG"

for page in harfcode harfcode-cli; do
    manual=$share/man/man1/$page.1.gz
    # gzip -n stores neither a file name (flag bit 3) nor a time (4 bytes), so builds repeat.
    header=$(od -An -tx1 -j 3 -N 5 "$manual" | xargs)
    [[ $header == "00 00 00 00 00" ]] || fail "$manual was compressed with a name or a time (header: $header)"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
    [[ -z $warnings ]] || fail "man warns about $page(1):"$'\n'"$warnings"
    rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" 2>/dev/null)
    grep -q "^NAME" <<<"$rendered" || fail "$page(1) does not render"
done
grep -q 'takes no options' <(zcat "$share/man/man1/harfcode.1.gz") || fail "harfcode(1) does not say it takes no options"
step_ok "both manual pages render without warnings"
