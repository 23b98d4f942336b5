#!/usr/bin/env bash
# Builds the Debian package of the installed program and prints the package's path on its last
# line.
#   package.sh [ARCH]   ARCH: Debian's name of the architecture to build for (default: this
#                       machine's, built in build-package/). Another one (arm64) is cross-built in
#                       a build root of its own (scripts/buildroot.sh, as root) into
#                       build-package-ARCH/, with the drawing tools of a native build in
#                       build-host-tools/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
build_arch="$(dpkg-architecture -qDEB_BUILD_ARCH)"
arch="${1:-$build_arch}"

if [ "$arch" != "$build_arch" ] && [ -z "${VARDO_IN_BUILDROOT:-}" ]; then
    scripts/buildroot.sh run "$arch" env VARDO_IN_BUILDROOT=1 scripts/package.sh "$arch"
    exit
fi

if [ "$arch" = "$build_arch" ]; then
    vardo_require_packages "${VARDO_BUILD_PACKAGES[@]}" "${VARDO_PACKAGE_PACKAGES[@]}"
    build=build-package
    cross=()
else
    source scripts/cross.sh
    vardo_cross_prepare "$arch"
    build="build-package-$arch"
    cross=("${vardo_cross_arguments[@]}")
fi

# Debian's hardening flags, as dpkg-buildflags gives them to every package.
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"; }
cmake -S . -B "$build" -G Ninja "${cross[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_C_FLAGS="$(flags CFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_CXX_FLAGS="$(flags CXXFLAGS) $(flags CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
    -DVARDO_INSTALLED=ON -DVARDO_TESTS=OFF -DVARDO_BENCH=OFF >/dev/null
cmake --build "$build" --target package_contents -j "$(nproc)"
rm -f "$build"/vardo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package_arch="$(dpkg-architecture -a "$arch" -qDEB_HOST_ARCH 2>/dev/null)"
ls "$PWD/$build"/vardo_*_"$package_arch".deb
