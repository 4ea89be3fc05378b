# ICU's common library for Windows, static, from Debian's icu source. Sourced by
# build-windows.sh.
#
# Cross-building ICU needs a host tree, configured only far enough to write
# config/icucross.mk and config/icucross.inc. Of the Windows tree only the common library
# (which holds the bidirectional algorithm and the character properties Harfcode asks for)
# and the stub data (which the link needs) are built.
ICU_SOURCE_PACKAGE=icu

# build_icu SOURCE PREFIX: builds and copies the libraries and headers into PREFIX.
build_icu() {
    local source=$1/source prefix=$2
    local build=$prefix.build
    rm -rf "$build" && mkdir -p "$build/host" "$build/windows"
    (
        cd "$build/host"
        "$source"/configure --disable-tests --disable-samples --disable-extras >/dev/null
        make config/icucross.mk config/icucross.inc >/dev/null

        cd "$build/windows"
        CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
            AR=x86_64-w64-mingw32-ar RANLIB=x86_64-w64-mingw32-ranlib \
            CFLAGS=-O2 CXXFLAGS="-O2 -std=c++17" \
            "$source"/configure --host=x86_64-w64-mingw32 --build=x86_64-linux-gnu \
            --with-cross-build="$build/host" --enable-static --disable-shared \
            --disable-tools --disable-tests --disable-samples --disable-extras \
            --disable-icuio --disable-layoutex --disable-dyload --with-data-packaging=static \
            >/dev/null
        mkdir -p lib
        make -j"$(nproc)" -C stubdata >/dev/null
        make -j"$(nproc)" -C common >/dev/null
    )
    mkdir -p "$prefix/lib" "$prefix/include/unicode"
    cp "$build/windows/lib/libsicuuc.a" "$build/windows/stubdata/libsicudt.a" "$prefix/lib/"
    cp "$source"/common/unicode/*.h "$prefix/include/unicode/"
    rm -rf "$build"
}
