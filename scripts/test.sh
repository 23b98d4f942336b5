#!/usr/bin/env bash
# Builds Vardo and runs every test on the X test bed, once under AddressSanitizer and UBSan and once
# in the ordinary build, and runs the fuzz targets for a short bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"

jobs="$(nproc)"
fuzz_seconds="${VARDO_FUZZ_SECONDS:-15}"

echo "== build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"

echo "== build with sanitizers"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVARDO_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"

echo "== build fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVARDO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"

runtime="$(mktemp -d /tmp/vardo-test.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
cleanup() { scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"; }
trap cleanup EXIT

echo "== X test bed"
scripts/xbed.sh start "$runtime/xbed"
export VARDO_TEST_DISPLAY_WM="$(cat "$runtime/xbed/wm.display")"
export VARDO_TEST_DISPLAY_BARE="$(cat "$runtime/xbed/bare.display")"
export DISPLAY="$VARDO_TEST_DISPLAY_WM"
export QT_QPA_PLATFORM=offscreen

echo "== all tests under sanitizers"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" timeout 1500 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 300

echo "== fuzz (${fuzz_seconds}s each)"
for target in build-fuzz/fuzz/fuzz_*; do
    [ -f "$target" ] && [ -x "$target" ] || continue
    corpus="$runtime/corpus-$(basename "$target")"
    mkdir -p "$corpus"
    "$target" -max_total_time="$fuzz_seconds" -rss_limit_mb=2048 "$corpus" 2>"$runtime/fuzz.log" \
        || { tail -50 "$runtime/fuzz.log"; exit 1; }
    echo "$(basename "$target"): $(grep -o 'Done [0-9]* runs' "$runtime/fuzz.log" || echo done)"
done

echo "== all tests"
timeout 1500 ctest --test-dir build --output-on-failure -j "$jobs" --timeout 300
