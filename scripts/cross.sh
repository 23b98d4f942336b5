# Sourced by the cross builds and the checks of their packages.

# Lets this machine run ARCH's programs, also in a Debian root of ARCH: qemu user emulation,
# registered with binfmt_misc (mounted when it is not) with the F flag, which keeps the
# interpreter working inside a chroot. Runs as root.
vardo_enable_emulation() { # arch
    local cpu
    [ "$1" = "$(dpkg-architecture -qDEB_BUILD_ARCH)" ] && return 0
    vardo_require_packages "${VARDO_CROSS_HOST_PACKAGES[@]}"
    cpu="$(dpkg-architecture -a "$1" -qDEB_HOST_GNU_CPU 2>/dev/null)"
    [ -e /proc/sys/fs/binfmt_misc/status ] || mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    [ -e "/proc/sys/fs/binfmt_misc/qemu-$cpu" ] || update-binfmts --enable "qemu-$cpu"
    grep -q '^flags: .*F' "/proc/sys/fs/binfmt_misc/qemu-$cpu" || {
        echo "qemu-$cpu is registered without the F flag: it cannot run in a Debian root" >&2
        return 1
    }
}

# Inside a build root (scripts/buildroot.sh):

# Builds the tools that draw the icon and the skins natively in build-host-tools/ (a cross build
# runs them on this machine) and sets vardo_host_tools to the file that names them to CMake.
vardo_build_host_tools() {
    cmake -S . -B build-host-tools -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARDO_TESTS=OFF \
        -DVARDO_BENCH=OFF >/dev/null
    cmake --build build-host-tools --target vardo-skingen vardo-skin vardo-icongen -j "$(nproc)"
    vardo_host_tools="$PWD/build-host-tools/vardo-host-tools.cmake"
}

# Prepares building for ARCH: builds the host tools, exports dpkg-architecture's variables (they
# name the target to the compilers, the toolchain file, dpkg-buildflags, dpkg-shlibdeps and the
# package's architecture), and sets vardo_cross_arguments to the arguments that make a CMake
# configuration a cross build.
vardo_cross_prepare() { # arch
    export CMAKE_CXX_COMPILER_LAUNCHER=ccache CMAKE_C_COMPILER_LAUNCHER=ccache
    vardo_build_host_tools
    eval "$(dpkg-architecture -a "$1" -s 2>/dev/null)"
    vardo_cross_arguments=(--toolchain cmake/debian-cross.cmake -DVARDO_HOST_TOOLS="$vardo_host_tools")
}
