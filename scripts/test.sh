#!/usr/bin/env bash
# Builds Vardo and runs every test on the X test bed and the Wayland test bed, once under
# AddressSanitizer and UBSan and once in the ordinary build, and runs the fuzz targets for a short
# bounded time; then builds the Windows zip and installer and runs the Windows tests under Wine. A
# skipped test fails the run like a failed one. On a failure the run's folder, with the logs of the
# test beds, the window manager, the tests and the fuzzers, is kept and named.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
source scripts/fuzz-seeds.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}" \
    "${VARDO_WINDOWS_PACKAGES[@]}" "${VARDO_WINDOWS_PACKAGE_PACKAGES[@]}"

jobs="$(nproc)"
fuzz_seconds="${VARDO_FUZZ_SECONDS:-15}"

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TESTS=ON -DVARDO_BENCH=ON >/dev/null
cmake --build build -j "$jobs"

echo "== build with sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDO_SANITIZE=ON -DVARDO_TESTS=ON \
    >/dev/null
cmake --build build-asan -j "$jobs"

echo "== build fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"

runtime="$(mktemp -d /tmp/vardo-test.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
toolchain_pid=
cleanup() {
    local status=$?
    [ -z "$toolchain_pid" ] || kill -- "-$toolchain_pid" 2>/dev/null || true
    scripts/wlbed.sh stop "$runtime/wlbed" || true
    scripts/wlbed.sh stop "$runtime/kwinbed" || true
    scripts/wlbed.sh stop "$runtime/swaybed" || true
    scripts/xbed.sh stop "$runtime/xbed" || true
    if [ "$status" -eq 0 ]; then
        rm -rf "$runtime"
    else
        echo "== FAILED: the logs are kept in $runtime" >&2
    fi
}
trap cleanup EXIT

# The Windows toolchain (Qt for Windows, built once into its cache) builds at the lowest priority
# beside the Linux tests, which leave the processor idle while they wait on timers and windows.
setsid scripts/windows-toolchain.sh all >"$runtime/windows-toolchain.log" 2>&1 &
toolchain_pid=$!

# ctest, failing also when a test was skipped: a test that cannot run has not passed.
run_ctest() { # log, ctest arguments...
    local log="$1"
    shift
    timeout 1500 ctest "$@" 2>&1 | tee "$log"
    if grep -q -e '(Skipped)' -e '(Disabled)' "$log"; then
        echo "skipped tests count as failures" >&2
        return 1
    fi
}

echo "== X test bed"
scripts/xbed.sh start "$runtime/xbed"
export VARDO_TEST_DISPLAY_WM="$(cat "$runtime/xbed/wm.display")"
export VARDO_TEST_DISPLAY_BARE="$(cat "$runtime/xbed/bare.display")"
export DISPLAY="$VARDO_TEST_DISPLAY_WM"
export QT_QPA_PLATFORM=offscreen
# The program's own language whatever the machine's locale: the tests that want English ask for it.
export LANG=C.UTF-8
unset LC_ALL LC_MESSAGES LANGUAGE

echo "== Wayland test beds (mutter, kwin, sway)"
scripts/wlbed.sh start "$runtime/wlbed" mutter
export VARDO_TEST_WAYLAND_DISPLAY="$(cat "$runtime/wlbed/wayland.display")"
export VARDO_TEST_WAYLAND_X_DISPLAY="$(cat "$runtime/wlbed/x.display")"
export VARDO_TEST_WAYLAND_XAUTHORITY="$(cat "$runtime/wlbed/xauthority")"
scripts/wlbed.sh start "$runtime/kwinbed" kwin
export VARDO_TEST_KWIN_DISPLAY="$(cat "$runtime/kwinbed/wayland.display")"
export VARDO_TEST_KWIN_X_DISPLAY="$(cat "$runtime/kwinbed/x.display")"
export VARDO_TEST_KWIN_XAUTHORITY="$(cat "$runtime/kwinbed/xauthority")"
scripts/wlbed.sh start "$runtime/swaybed" sway
export VARDO_TEST_SWAY_DISPLAY="$(cat "$runtime/swaybed/wayland.display")"
export VARDO_TEST_SWAY_X_DISPLAY="$(cat "$runtime/swaybed/x.display")"
export VARDO_TEST_SWAY_XAUTHORITY="$(cat "$runtime/swaybed/xauthority")"
export VARDO_TEST_SWAY_SWAYSOCK="$(cat "$runtime/swaybed/swaysock")"

echo "== all tests under sanitizers"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
    run_ctest "$runtime/ctest-asan.log" --test-dir build-asan --output-on-failure -j "$jobs" \
    --timeout 300

echo "== fuzz (${fuzz_seconds}s each)"
fuzzed=0
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    name="$(basename "$target")"
    seeds="fuzz/corpus/$name"
    [ -d "$seeds" ] || { echo "$name has no seed corpus in $seeds" >&2; exit 1; }
    corpus="$runtime/corpus-$name"
    log="$runtime/$name.log"
    mkdir -p "$corpus"
    vardo_fuzz_seeds "$name" "$corpus" build-fuzz
    # New inputs go to the run's own corpus, crash files to the run's folder.
    "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 -artifact_prefix="$runtime/$name-" \
        "$corpus" "$seeds" 2>"$log" || { tail -50 "$log"; exit 1; }
    echo "$name: $(grep -o 'Done [0-9]* runs' "$log" || echo done)"
    fuzzed=$((fuzzed + 1))
done
[ "$fuzzed" -gt 0 ] || { echo "no fuzz target was found in build-fuzz/fuzz" >&2; exit 1; }

echo "== all tests"
run_ctest "$runtime/ctest.log" --test-dir build --output-on-failure -j "$jobs" --timeout 300

# The Windows half: the zip and the installer (building the toolchain when its cache is empty),
# then the Windows build's tests under Wine on the two-monitor Wine bed, the shipped program
# folder and the installer among them. Outside the X test bed's session: the Windows program
# finds its own platform. A failure names the test, and windows-test.sh keeps the bed's logs.
echo "== Windows toolchain"
wait "$toolchain_pid" || {
    tail -40 "$runtime/windows-toolchain.log"
    echo "the Windows toolchain did not build (log: $runtime/windows-toolchain.log)" >&2
    exit 1
}
toolchain_pid=
echo "== Windows: zip and installer"
scripts/windows.sh 2>&1 | tee "$runtime/windows.log"
(
    unset QT_QPA_PLATFORM DISPLAY
    export VARDO_WINDOWS_PROGRAM="$PWD/build-windows-release/stage"
    VARDO_WINDOWS_SETUP="$(tail -1 "$runtime/windows.log")"
    export VARDO_WINDOWS_SETUP
    echo "== Windows: tests under Wine"
    scripts/windows-test.sh
)
