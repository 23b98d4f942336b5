#!/usr/bin/env bash
# Builds the Windows half with mingw-w64 and runs its tests under Wine on the two-monitor Wine
# test bed (scripts/winebed.sh): the unit tests, the window and monitor tests, and the Qt tests
# (components, skins, the program's Windows pieces) drawn by the windows platform on the bed.
#   windows-test.sh [all|qt-free]
# all (the default) builds build-windows-release/, the Release build scripts/windows.sh packages:
# the program (vardo.exe, vardo-skin.exe, vardo-report.exe) and every test, against the Qt of scripts/windows-toolchain.sh (built first
# when its cache is empty), with the drawing tools of a native build in build-host-tools/.
# qt-free builds build-windows/, the layers without Qt and their tests, which need GoogleTest alone.
# On a failure the bed's folder, with the logs of Xorg and Wine, is kept and named.
set -euo pipefail
parts="${1:-all}"
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/cross.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_WINDOWS_PACKAGES[@]}"

windows_build=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
    -DVARDO_TESTS=ON -DVARDO_BENCH=OFF)
case "$parts" in
all)
    toolchain="$(scripts/windows-toolchain.sh all | tail -1)"
    export VARDO_WINDOWS_GTEST="$toolchain/googletest"
    export VARDO_WINDOWS_QT="$toolchain/qt"
    echo "== host tools"
    vardo_build_host_tools
    build=build-windows-release
    echo "== Windows build (the program and its tests)"
    cmake -S . -B "$build" "${windows_build[@]}" -DCMAKE_BUILD_TYPE=Release -DVARDO_GUI=ON -DCMAKE_PREFIX_PATH="$VARDO_WINDOWS_QT" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DVARDO_HOST_TOOLS="$vardo_host_tools" >/dev/null
    ;;
qt-free)
    toolchain="$(scripts/windows-toolchain.sh googletest | tail -1)"
    export VARDO_WINDOWS_GTEST="$toolchain/googletest"
    build=build-windows
    echo "== Windows build (Qt-free layers)"
    cmake -S . -B "$build" "${windows_build[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_GUI=OFF \
        >/dev/null
    ;;
*) echo "usage: windows-test.sh [all|qt-free]" >&2; exit 2 ;;
esac
cmake --build "$build" -j "$(nproc)"

state="$(mktemp -d /tmp/vardo-winebed.XXXXXX)"
cleanup() {
    local status=$?
    scripts/winebed.sh stop "$state" || true
    if [ "$status" -eq 0 ]; then
        rm -rf "$state"
    else
        echo "== FAILED: the logs are kept in $state" >&2
    fi
}
trap cleanup EXIT

echo "== Wine test bed"
scripts/winebed.sh start "$state"
export DISPLAY; DISPLAY="$(cat "$state/display")"
export WINEPREFIX; WINEPREFIX="$(cat "$state/wineprefix")"
export WINEDEBUG=-all
# The compiler's runtime libraries and Qt's, for the programs linked against them.
export WINEPATH="/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib;$toolchain/qt/bin"

echo "== tests under Wine"
ctest --test-dir "$build" --output-on-failure --timeout 300
