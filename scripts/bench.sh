#!/usr/bin/env bash
# Builds and runs the benchmarks (needs the X test bed for the window and start-up benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench -j "$(nproc)"

runtime="$(mktemp -d /tmp/vardo-bench.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"' EXIT
scripts/xbed.sh start "$runtime/xbed"
export DISPLAY="$(cat "$runtime/xbed/wm.display")"
export VARDO_TEST_DISPLAY_WM="$DISPLAY"
export VARDO_TEST_DISPLAY_BARE="$(cat "$runtime/xbed/bare.display")"
# Every benchmark runs; one that fails (no figure, or a missed target) fails the command at the end.
failed=()
for bench in $(find build-bench/bench -type f -perm -u+x -name 'bench_*' | sort); do
    echo "== $(basename "$bench")"
    "$bench" "$@" || failed+=("$(basename "$bench")")
done
if ((${#failed[@]})); then
    echo "FAILED: ${failed[*]}" >&2
    exit 1
fi
