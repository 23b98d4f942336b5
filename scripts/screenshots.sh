#!/usr/bin/env bash
# Draws the pictures of the documentation. Into docs/ (kept in git, the README shows them): the
# main window with the sample day of tools/report/sample and the settings dialog, both on the X
# test bed, in Chinese (main-window.png, settings-dialog.png) and in English (en/), and the as-run
# report of that day (report.png). Into build/doc/ (or the folder given; not kept): the contact
# sheet of the own components (gallery.png), the main window, the settings dialog, a reminder
# pop-up, the exit question and the open dialog without a skin and with each of our skins
# (skins/<skin>-main.png, ...; in English under en/skins/), and the report as CSV (report.csv).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_TEST_PACKAGES[@]}"
docs="$(realpath -m docs)"
out="$(realpath -m "${1:-build/doc}")"
[ -f build/build.ninja ] || [ -f build/Makefile ] || cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target vardo-gallery vardo-screenshots vardo-skin-screenshots vardo_skins \
    vardo-report -j "$(nproc)"
mkdir -p "$docs" "$out"
sample=tools/report/sample

runtime="$(mktemp -d /tmp/vardo-shots.XXXXXX)"
chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime"
trap 'scripts/xbed.sh stop "$runtime/xbed" || true; rm -rf "$runtime"' EXIT
scripts/xbed.sh start "$runtime/xbed"

QT_QPA_PLATFORM=offscreen timeout 60 build/tools/vardo-gallery "$out/gallery.png"
# The windows in each language: the tools follow the locale as the program does.
shoot_windows() { # locale, docs folder, build folder
    local display; display="$(cat "$runtime/xbed/wm.display")"
    mkdir -p "$2" "$3"
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$1" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
        timeout 60 build/tools/vardo-screenshots "$2" "$sample/Data/星期五.tab" \
        "$sample/History/20240315.txt"
    env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$1" DISPLAY="$display" QT_QPA_PLATFORM=xcb \
        timeout 120 build/tools/vardo-skin-screenshots build/app/Skins "$3/skins" >/dev/null
}
shoot_windows zh_CN.UTF-8 "$docs" "$out"
shoot_windows en_US.UTF-8 "$docs/en" "$out/en"
timeout 60 build/app/vardo-report "$sample" --from 2024-03-15 \
    --png "$docs/report.png" --csv "$out/report.csv"
echo "Written: $docs/main-window.png $docs/settings-dialog.png $docs/en/ $docs/report.png" \
    "$out/gallery.png $out/skins/ $out/en/skins/ $out/report.csv"
