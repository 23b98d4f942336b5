#!/usr/bin/env bash
# Cross-builds Vardo and its tests for arm64 in the build root of scripts/buildroot.sh (in
# build-arm64/) and runs the unit, widget, X11 and end-to-end tests there under qemu user
# emulation, against the X test bed of this machine. Not run: the wayland tests (their
# compositors run on this machine, not in the root; the code they test is the X11 one tested
# here) and the check of the shipped alert rules (promtool, no arm64 code). Timings under
# emulation say nothing about a real arm64 machine. A skipped test fails the run. Runs as root.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=arm64
[ "$(id -u)" -eq 0 ] || { echo "test-arm64.sh builds in a Debian root: run it as root" >&2; exit 1; }

if [ -z "${VARDO_IN_BUILDROOT:-}" ]; then
    source scripts/deps.sh
    vardo_require_packages xvfb xauth x11-xserver-utils x11-utils openbox
    runtime="$(mktemp -d /tmp/vardo-test-arm64.XXXXXX)"
    cleanup() {
        local status=$?
        scripts/xbed.sh stop "$runtime/xbed" || true
        if [ "$status" -eq 0 ]; then rm -rf "$runtime"; else echo "== FAILED: logs in $runtime" >&2; fi
    }
    trap cleanup EXIT
    echo "== X test bed"
    scripts/xbed.sh start "$runtime/xbed"
    scripts/buildroot.sh run "$arch" env VARDO_IN_BUILDROOT=1 \
        VARDO_TEST_DISPLAY_WM="$(cat "$runtime/xbed/wm.display")" \
        VARDO_TEST_DISPLAY_BARE="$(cat "$runtime/xbed/bare.display")" \
        DISPLAY="$(cat "$runtime/xbed/wm.display")" scripts/test-arm64.sh 2>&1 | tee "$runtime/test.log"
    exit "${PIPESTATUS[0]}"
fi

source scripts/cross.sh
echo "== build for $arch"
vardo_cross_prepare "$arch"
cmake -S . -B "build-$arch" -G Ninja "${vardo_cross_arguments[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDO_TESTS=ON -DVARDO_BENCH=OFF >/dev/null
cmake --build "build-$arch" -j "$(nproc)"

echo "== tests under emulation"
runtime="$(mktemp -d /tmp/vardo-test.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=offscreen
log="$runtime/ctest.log"
status=0
timeout 5400 ctest --test-dir "build-$arch" --output-on-failure -j "$(nproc)" --timeout 900 \
    --label-exclude wayland --exclude-regex '^alert_rules_' 2>&1 | tee "$log" || status=1
if grep -q -e '(Skipped)' -e '(Disabled)' "$log"; then
    echo "skipped tests count as failures" >&2
    status=1
fi
rm -rf "$runtime"
exit "$status"
