#!/usr/bin/env bash
# Builds what the Windows build needs and Debian does not ship in binary form: Qt 6 for mingw-w64,
# from Debian's own qt6-base source package of the version the host has (the cross build runs the
# host's Qt tools), and GoogleTest from Debian's googletest sources. Both go into a cache folder
# outside the tree (VARDO_WINDOWS_TOOLCHAIN, default /var/cache/vardo/windows-toolchain), reused
# while their inputs are unchanged. The build runs at the lowest priority. Prints the folder last.
#   windows-toolchain.sh [all|googletest]   googletest: only what the Qt-free half's tests need
set -euo pipefail
parts="${1:-all}"
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_WINDOWS_PACKAGES[@]}"

cache="${VARDO_WINDOWS_TOOLCHAIN:-/var/cache/vardo/windows-toolchain}"
jobs="${VARDO_WINDOWS_TOOLCHAIN_JOBS:-$(nproc)}"
toolchain="$PWD/cmake/mingw-w64-x86_64.cmake"
mkdir -p "$cache"

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
compiler_version="$(dpkg-query -W -f='${Version}' g++-mingw-w64-x86-64-posix)"
gtest_version="$(dpkg-query -W -f='${Version}' googletest)"

# Qt's configuration: Core, Gui, Widgets, Test and the windows platform plugin with its style,
# with the third-party libraries the source package keeps built in; the modules Vardo does not use
# are left out. Debian's repack removed wintab, so tablet events are off. The windows plugin uses
# the DirectWrite font database whenever DirectWrite 3 is available but builds it only with
# Direct2D: the patch makes those two places also require Direct2D.
qt_options=(-release -opensource -confirm-license -xplatform win32-g++ -qt-host-path /usr
            -nomake examples -nomake tests -no-pkg-config
            -qt-zlib -qt-pcre -qt-harfbuzz -qt-libpng -no-libjpeg -no-freetype -no-fontconfig
            -no-opengl -no-dbus -no-vulkan -no-feature-sql -no-feature-network -no-feature-xml
            -no-feature-printsupport -no-feature-concurrent -no-feature-tabletevent
            -no-feature-direct2d)
qt_patch() { # source folder
    sed -i 's/QT_CONFIG(directwrite3)/QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
        "$1/src/plugins/platforms/windows/qwindowsintegration.cpp"
}
compilers="$(grep -E '^set\((VARDO_MINGW_PREFIX|CMAKE_SYSTEM_|CMAKE_(C|CXX|RC)_COMPILER)' "$toolchain")"

input_key() { # the inputs of one part, hashed
    printf '%s\n' "$@" | sha256sum | cut -d' ' -f1
}
up_to_date() { # prefix, key
    [ -f "$1/.inputs" ] && [ "$(cat "$1/.inputs")" = "$2" ]
}

# apt-get source needs the deb-src entries of the archive the host's packages come from.
enable_debian_sources() {
    apt-get source --print-uris "qt6-base=$qt_version" >/dev/null 2>&1 && return 0
    [ "$(id -u)" -eq 0 ] || { echo "Enable deb-src for the Debian archive (as root)" >&2; exit 1; }
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            > /etc/apt/sources.list.d/vardo-deb-src.sources
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            > /etc/apt/sources.list.d/vardo-deb-src.list
    fi
    apt-get update -qq
}

build_qt() {
    local prefix="$cache/qt" work="$cache/qt-work"
    local key
    key="$(input_key "$qt_version" "$compilers" "${qt_options[@]}" "$(declare -f qt_patch)")"
    up_to_date "$prefix" "$key" && return 0
    # A build of the same inputs that was stopped goes on where it stood.
    if ! up_to_date "$work" "$key" || [ ! -f "$work/build/build.ninja" ]; then
        enable_debian_sources
        rm -rf "$prefix" "$work"
        mkdir -p "$work"
        (cd "$work" && apt-get source -qq "qt6-base=$qt_version" >/dev/null)
        local source
        source="$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*')"
        qt_patch "$source"
        mkdir -p "$work/build"
        (cd "$work/build" &&
            "$source/configure" -prefix "$prefix" "${qt_options[@]}" -- -G Ninja \
                -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
                -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >configure.log 2>&1 ||
            { tail -40 configure.log >&2; exit 1; })
        echo "$key" >"$work/.inputs"
    fi
    nice -n 19 cmake --build "$work/build" --parallel "$jobs"
    cmake --install "$work/build" >/dev/null
    echo "$key" >"$prefix/.inputs"
    rm -rf "$work"
}

build_googletest() {
    local prefix="$cache/googletest" work="$cache/googletest-work"
    local key
    key="$(input_key "$gtest_version" "$compilers")"
    up_to_date "$prefix" "$key" && return 0
    rm -rf "$prefix" "$work"
    cmake -S /usr/src/googletest -B "$work" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
    nice -n 19 cmake --build "$work" --parallel "$jobs"
    cmake --install "$work" >/dev/null
    echo "$key" >"$prefix/.inputs"
    rm -rf "$work"
}

case "$parts" in
all) build_googletest && build_qt ;;
googletest) build_googletest ;;
*) echo "usage: windows-toolchain.sh [all|googletest]" >&2; exit 2 ;;
esac
echo "$cache"
