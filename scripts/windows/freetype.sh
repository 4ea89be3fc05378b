# FreeType for Windows, static, from Debian's freetype source: the same version and security
# fixes as Linux's, since --font reads font files the user picks. Sourced by build-windows.sh.
FREETYPE_SOURCE_PACKAGE=freetype

# build_freetype SOURCE PREFIX TOOLCHAIN: configures, builds and installs into PREFIX.
build_freetype() {
    local source=$1 prefix=$2 toolchain=$3
    local build=$prefix.build
    cmake -S "$source" -B "$build" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
        -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
        -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON >/dev/null
    cmake --build "$build" >/dev/null
    cmake --install "$build" >/dev/null
    rm -rf "$build"
}
