# The libraries the Windows programs link, each built once from Debian's source and kept in
# a cache. Sourced by build-windows.sh.
#
# A library's folder is named for a key over everything that decides its bytes: the source
# package's version, the compilers' and the host Qt's versions, its recipe, the toolchain file
# and its patches. It is built under a temporary name and renamed when complete, so that a run
# stopped halfway leaves nothing that looks whole.

WINDOWS_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WINDOWS_TOOLCHAIN=$WINDOWS_SCRIPTS/mingw-w64-x86_64.cmake
WINDOWS_CACHE=${HARFCODE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/harfcode/windows}

source "$WINDOWS_SCRIPTS/qt.sh"
source "$WINDOWS_SCRIPTS/icu.sh"
source "$WINDOWS_SCRIPTS/freetype.sh"

# The version `apt-get source` fetches: the highest the deb-src entries offer.
source_version() {
    apt-cache showsrc --only-source "$1" | awk '/^Version:/ { print $2 }' | sort -V | tail -n 1
}

# dependency_folder NAME PACKAGE: the cache folder of library NAME (qt, icu, freetype) built
# from Debian source package PACKAGE, as its inputs are now.
dependency_folder() {
    local name=$1 package=$2
    local version key
    version=$(source_version "$package")
    [ -n "$version" ] || { echo "No source package $package: is the deb-src entry there?" >&2; return 1; }
    key=$({
        echo "$package $version"
        dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix \
            mingw-w64-x86-64-dev qt6-base-dev-tools
        cat "$WINDOWS_SCRIPTS/$name.sh" "$WINDOWS_TOOLCHAIN"
        cat "$WINDOWS_SCRIPTS"/patches/"$name"-*.patch 2>/dev/null || true
    } | sha256sum | cut -c1-16)
    echo "$WINDOWS_CACHE/$name-$version-$key"
}

# ensure_dependency NAME PACKAGE: builds library NAME into its cache folder when the cache
# lacks it. Call it as a command of its own under `set -e` (not inside $(...), which drops
# it): then the first step that fails stops the run before the folder is renamed as whole.
ensure_dependency() {
    local name=$1 package=$2
    local folder
    folder=$(dependency_folder "$name" "$package")
    [ -d "$folder" ] && return 0
    echo "Building $name for Windows (once; kept in $folder)"
    local partial=$folder.partial
    rm -rf "$partial" "$partial.source"
    mkdir -p "$partial.source"
    local said  # apt-get's words, of use only when it fails (as root it warns of its sandbox)
    said=$(cd "$partial.source" && apt-get source -qq "$package=$(source_version "$package")" 2>&1) ||
        { echo "apt-get source $package failed: $said" >&2; return 1; }
    local source
    source=$(find "$partial.source" -mindepth 1 -maxdepth 1 -type d)
    local patch
    for patch in "$WINDOWS_SCRIPTS"/patches/"$name"-*.patch; do
        if [ -e "$patch" ]; then
            patch -d "$source" -p1 --quiet <"$patch"
        fi
    done
    "build_$name" "$source" "$partial" "$WINDOWS_TOOLCHAIN"
    rm -rf "$partial.source"
    mv "$partial" "$folder"
}
