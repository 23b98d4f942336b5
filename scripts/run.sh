#!/usr/bin/env bash
# Builds Vardo and starts it from its build folder (program folder: build/run/, which also gets
# vardo-report).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}"

# Only the program: the tests and benchmarks need packages the program does not.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TESTS=OFF -DVARDO_BENCH=OFF \
    >/dev/null
cmake --build build --target vardo vardo-report
mkdir -p build/run
cp build/app/vardo build/app/vardo-report build/run/
rm -rf build/run/Skins && cp -r build/app/Skins build/run/Skins
# The clock's face: the program folder's Digirtu_.ttf, here the free seven-segment one.
cp /usr/share/fonts/truetype/dseg/DSEG7Classic-Italic.ttf build/run/Digirtu_.ttf
exec build/run/vardo
