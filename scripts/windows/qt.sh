# Qt Core, Gui and Widgets for Windows, static, from Debian's qt6-base source, with Debian's own
# Qt as the host tools (moc, rcc, uic). Sourced by build-windows.sh.
#
# Direct2D stays on: Qt builds its DirectWrite font engine only beside it, and without that
# engine the GDI one would be the only one. Debian's repacked source lacks
# src/3rdparty/wintab, hence no tablet events. Qt's own copies of zlib, libpng, HarfBuzz and
# PCRE are used; fonts and text go through Windows (GDI and DirectWrite), not FreeType or ICU.
QT_SOURCE_PACKAGE=qt6-base

# build_qt SOURCE PREFIX TOOLCHAIN: configures, builds and installs into PREFIX.
build_qt() {
    local source=$1 prefix=$2 toolchain=$3
    local build=$prefix.build
    rm -rf "$build" && mkdir -p "$build"
    (
        cd "$build"
        "$source"/configure -prefix "$prefix" -xplatform win32-g++ -qt-host-path /usr \
            -release -static -static-runtime -nomake examples -nomake tests \
            -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-testlib \
            -no-feature-concurrent -no-feature-xml -no-feature-settings -no-dbus -no-opengl \
            -no-feature-vulkan -no-icu -no-freetype -no-gif -no-ico -no-libjpeg \
            -qt-zlib -qt-libpng -qt-harfbuzz -qt-pcre -no-feature-tabletevent \
            -- -G Ninja -Wno-dev -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            -DCMAKE_TOOLCHAIN_FILE="$toolchain"
        cmake --build . --parallel
        cmake --install .
    )
    rm -rf "$build"
}
