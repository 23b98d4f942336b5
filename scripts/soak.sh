#!/usr/bin/env bash
# A simulated week of the task runner: 7 days (or DAYS) of a manual clock, every second ticked,
# 500 rows of real short processes, with the test bed's windows and without a display. Prints
# the wall time, resident memory and open descriptors at the end of every day; fails when a row
# did not start and end exactly once a day, a history line was lost, or memory or descriptors
# grew after the first day.
#   scripts/soak.sh [DAYS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
days="${1:-7}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target test_runner_week -j "$(nproc)"

runtime="$(mktemp -d /tmp/vardo-soak.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"' EXIT
scripts/xbed.sh start "$runtime/xbed"
export VARDO_TEST_DISPLAY_WM="$(cat "$runtime/xbed/wm.display")"

VARDO_SOAK_DAYS="$days" build/tests/runner/test_runner_week
