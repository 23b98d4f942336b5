#!/usr/bin/env bash
# Builds the Windows half that needs no Qt (core, platform, runner and their tests) with mingw-w64
# into build-windows/ and runs the tests under Wine: the unit tests, and the window and monitor
# tests on the two-monitor Wine test bed (scripts/winebed.sh). On a failure the bed's folder, with
# the logs of Xorg and Wine, is kept and named.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_WINDOWS_PACKAGES[@]}"

toolchain="$(scripts/windows-toolchain.sh googletest | tail -1)"
export VARDO_WINDOWS_GTEST="$toolchain/googletest"

echo "== Windows build (Qt-free layers)"
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_GUI=OFF -DVARDO_TESTS=ON -DVARDO_BENCH=OFF >/dev/null
cmake --build build-windows -j "$(nproc)"

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
# The compiler's runtime libraries, for the programs linked against them.
export WINEPATH="/usr/lib/gcc/x86_64-w64-mingw32/12-posix;/usr/x86_64-w64-mingw32/lib"

echo "== tests under Wine"
ctest --test-dir build-windows --output-on-failure --timeout 300
