#!/usr/bin/env bash
# Builds Vardo and starts it from its build folder (program folder: build/run/, which also gets
# vardo-report).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" libgtest-dev libgmock-dev libbenchmark-dev

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target vardo vardo-report
mkdir -p build/run
cp build/app/vardo build/app/vardo-report build/run/
rm -rf build/run/Skins && cp -r build/app/Skins build/run/Skins
exec build/run/vardo
