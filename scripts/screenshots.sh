#!/usr/bin/env bash
# Builds vardo and writes screenshots of the main window, the settings dialog and a reminder
# pop-up, without a skin and with each of our skins, taken on the X test bed under openbox:
#   scripts/screenshots.sh [OUTPUT_FOLDER]      (default docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
output="${1:-docs/screenshots}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target vardo-screenshots vardo_skins

runtime="$(mktemp -d /tmp/vardo-shots.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"' EXIT
scripts/xbed.sh start "$runtime/xbed"
DISPLAY="$(cat "$runtime/xbed/wm.display")" QT_QPA_PLATFORM=xcb \
    timeout 120 build/tools/vardo-screenshots build/app/Skins "$output"
