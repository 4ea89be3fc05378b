#!/usr/bin/env bash
# Builds the Debian package from a build folder, as `cpack -G DEB` does for a release, and
# unpacks it, for the checks that follow.
#
# Usage: build_package.sh BUILD_DIR PACKAGE_DIR
set -euo pipefail
build_dir=$1
package_dir=$2

rm -rf "$package_dir"
mkdir -p "$package_dir"
if ! cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$package_dir" >"$package_dir/cpack.log" 2>&1; then
    cat "$package_dir/cpack.log"
    exit 1
fi
packages=("$package_dir"/harfcode_*.deb)
if [[ ${#packages[@]} -ne 1 || ! -f ${packages[0]} ]]; then
    echo "FAIL: expected one harfcode_*.deb in $package_dir, found: ${packages[*]}" >&2
    exit 1
fi
dpkg-deb -x "${packages[0]}" "$package_dir/root"
echo "ok: $(basename "${packages[0]}") built and unpacked into $package_dir/root"
