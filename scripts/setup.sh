# What the two README commands share: the Debian packages they need and quiet build steps.
# Sourced by run.sh and test.sh.

BUILD_PACKAGES=(
    cmake ninja-build g++
    qt6-base-dev qt6-qpa-plugins libgl-dev
    fonts-wine                   # Wine's Tahoma: Tahoma's metrics, which Linux lacks
    fonts-dejavu-core            # the glyphs that Wine's Tahoma lacks
    libicu-dev                   # the bidirectional algorithm of the display orders
    libfreetype-dev libfontconfig-dev  # the display's font: glyph bitmaps, fonts by family name
    librsvg2-bin scdoc           # the icons rendered from their SVG, the manual pages
)

TEST_PACKAGES=(
    libgtest-dev libgmock-dev    # unit and widget tests
    libbenchmark-dev             # benchmark
    clang libclang-rt-14-dev     # libFuzzer
    xvfb openbox xdotool xclip imagemagick x11-utils x11-xserver-utils  # end-to-end test of the real program
    gcc-avr avr-libc             # the strings header built for AVR firmware
    simavr                       # the shaper's example firmware run on a simulated AVR
    gcc-arm-none-eabi            # the shaper built for a Cortex-M0 without a C library
    unifont fonts-unifont xfonts-utils  # the display's font against Unifont's own bitmaps; bdftopcf
    dpkg-dev lintian appstream desktop-file-utils man-db  # the package and what it installs
)

# Installs whichever of the given packages are missing; silent when none is.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0

    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures build folder $1 with the given options; quiet unless something fails.
configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
}

# Builds folder $1 (optionally only the targets that follow); quiet when nothing is to do.
build() {
    local dir=$1
    shift
    local targets=()
    [ $# -eq 0 ] || targets=(--target "$@")
    cmake --build "$dir" "${targets[@]}" -- --quiet | { grep -v '^ninja: no work to do\.$' || true; }
}
