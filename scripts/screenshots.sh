#!/usr/bin/env bash
# Draws the pictures the README shows into build/doc/ (or the folder given): the contact sheet of
# the own components (gallery.png), the main window and the settings dialog on the X test bed
# (main-window.png, settings-dialog.png), and the main window, the settings dialog and a reminder
# pop-up, the exit question and the open dialog without a skin and with each of our skins
# (skins/<skin>-main.png, ..., <skin>-message.png, <skin>-open.png), and the as-run report of the
# sample program folder tools/report/sample (report.png, report.csv). The windows are taken in
# Chinese and, into en/, in English.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
out="$(realpath -m "${1:-build/doc}")"
[ -f build/build.ninja ] || [ -f build/Makefile ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target vardo-gallery vardo-screenshots vardo-skin-screenshots vardo_skins \
    vardo-report -j "$(nproc)"
mkdir -p "$out"

runtime="$(mktemp -d /tmp/vardo-shots.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"' EXIT
scripts/xbed.sh start "$runtime/xbed"

QT_QPA_PLATFORM=offscreen timeout 60 build/tools/vardo-gallery "$out/gallery.png"
# The windows in each language: the tools follow the locale as the program does.
shoot_windows() { # locale, output folder
    mkdir -p "$2"
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$1" DISPLAY="$(cat "$runtime/xbed/wm.display")" \
        QT_QPA_PLATFORM=xcb timeout 60 build/tools/vardo-screenshots "$2"
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$1" DISPLAY="$(cat "$runtime/xbed/wm.display")" \
        QT_QPA_PLATFORM=xcb timeout 120 build/tools/vardo-skin-screenshots build/app/Skins \
        "$2/skins" >/dev/null
}
shoot_windows zh_CN.UTF-8 "$out"
shoot_windows en_US.UTF-8 "$out/en"
timeout 60 build/app/vardo-report tools/report/sample --from 2024-03-15 \
    --png "$out/report.png" --csv "$out/report.csv"
echo "Written: $out/gallery.png $out/main-window.png $out/settings-dialog.png $out/skins/" \
    "$out/en/ $out/report.png $out/report.csv"

