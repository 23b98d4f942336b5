#!/usr/bin/env bash
# Builds the Debian package of the installed program in build-package/ and prints the package's
# path on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_PACKAGE_PACKAGES[@]}"

# Debian's hardening flags, as dpkg-buildflags gives them to every package.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
    -DVARDO_INSTALLED=ON -DVARDO_TESTS=OFF -DVARDO_BENCH=OFF >/dev/null
cmake --build build-package --target package_contents -j "$(nproc)"
rm -f build-package/vardo_*.deb
(cd build-package && cpack -G DEB >/dev/null)
package="$(ls "$PWD"/build-package/vardo_*_amd64.deb)"
echo "$package"
