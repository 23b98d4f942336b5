# Sourced by the cross builds, inside their build root (scripts/buildroot.sh).

# Prepares building for ARCH: builds the tools that draw the icon and the skins natively in
# build-host-tools/ (they run on this machine during the build), exports dpkg-architecture's
# variables (they name the target to the compilers, the toolchain file, dpkg-buildflags,
# dpkg-shlibdeps and the package's architecture), and sets vardo_cross_arguments to the
# arguments that make a CMake configuration a cross build.
vardo_cross_prepare() { # arch
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
    cmake -S . -B build-host-tools -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TESTS=OFF \
        -DVARDO_BENCH=OFF >/dev/null
    cmake --build build-host-tools --target vardo-skingen vardo-skin vardo-icongen -j "$(nproc)"
    eval "$(dpkg-architecture -a "$1" -s 2>/dev/null)"
    vardo_cross_arguments=(--toolchain cmake/debian-cross.cmake
        -DVARDO_HOST_TOOLS="$PWD/build-host-tools/vardo-host-tools.cmake")
}
