# Sourced by the run and test commands: makes sure the Debian packages they need are installed.
# As root the missing ones are installed; otherwise the one apt-get line to run is printed.

vardo_require_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
    else
        echo "Missing Debian packages. Run as root:"
        echo "  apt-get install -y ${missing[*]}"
        exit 1
    fi
}

# qt6-l10n-tools: lrelease compiles the translations, lupdate extracts the texts for translators.
VARDO_BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev libx11-dev libxrandr-dev libxres-dev
                      libgl-dev fonts-wqy-microhei fonts-dseg qt6-l10n-tools)
# qt6-translations-l10n: Qt's own texts (a box's buttons) in Chinese, as the package recommends.
VARDO_TEST_PACKAGES=(libgtest-dev libgmock-dev librapidcheck-dev libbenchmark-dev clang
                     libclang-rt-14-dev xvfb xauth
                     x11-xserver-utils x11-utils openbox x11-apps xterm libxtst-dev
                     mutter kwin-wayland sway xwayland dbus-daemon zenity qt6-wayland
                     prometheus prometheus-node-exporter
                     qt6-translations-l10n)
# The package build (dpkg-shlibdeps computes the dependencies; CPack finds the binaries with file).
VARDO_PACKAGE_PACKAGES=(dpkg-dev file)
# The package's checks: validators, and a fresh Debian root to install it into.
VARDO_PACKAGE_CHECK_PACKAGES=(desktop-file-utils appstream lintian mmdebstrap)
# The build root of a cross build for ARCH (scripts/buildroot.sh): the build machine's compilers,
# CMake and Qt (for the tools that draw the icon and the skins, and lrelease for the translations,
# during the build), the cross compilers, and ARCH's development packages beside them (Debian's
# multiarch).
vardo_cross_packages() { # arch
    local arch="$1"
    echo cmake ninja-build pkg-config g++ ccache dpkg-dev file qt6-base-dev libx11-dev libxrandr-dev \
        libxres-dev qt6-l10n-tools "crossbuild-essential-$arch"
    echo "qt6-base-dev:$arch libx11-dev:$arch libxrandr-dev:$arch libxres-dev:$arch libgl-dev:$arch"
    # The tests, and the programs they start as tasks.
    echo "libgtest-dev:$arch libgmock-dev:$arch librapidcheck-dev:$arch libxtst-dev:$arch"
    echo fonts-wqy-microhei fonts-dseg xvfb xauth x11-xserver-utils x11-utils x11-apps xterm dbus-daemon \
        prometheus-node-exporter
}
# Running another architecture's programs, and making Debian roots of it.
VARDO_CROSS_HOST_PACKAGES=(mmdebstrap qemu-user-static binfmt-support arch-test)
# The Windows build: mingw-w64 compilers, Wine for its tests, and the sources of the toolchain
# scripts/windows-toolchain.sh builds (the host's Qt tools, dpkg-source for Qt's source package,
# googletest's sources); the libraries of the Xorg that scripts/winebed.sh unpacks (not installs).
VARDO_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64
                        dpkg-dev qt6-base-dev qt6-base-dev-tools googletest xvfb x11-xserver-utils
                        libaudit1 libbsd0 libdbus-1-3 libdrm2 libegl1 libepoxy0 libgbm1 libgcrypt20
                        libgl1 libpciaccess0 libpixman-1-0 libselinux1 libsystemd0 libunwind8
                        libxau6 libxcvt0 libxdmcp6 libxfont2 libxshmfence1)
# The Windows zip and installer (scripts/windows.sh): makensis, icotool for the icon, and zip.
VARDO_WINDOWS_PACKAGE_PACKAGES=(nsis icoutils zip)
